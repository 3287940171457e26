// Taking paths apart, and pruning emptied directories.
#include "system/FilesUt.h"

#include "text/Strut.h"

namespace {

constexpr DelimSet PATH_DELIM{"\\"};

// Position of the last byte of path that is in separators, or a negative code.
int32_t LastOf(std::string_view path, std::string_view separators) {
  return TextFindAny(path, 0, -1, separators, TF_BACKWARD | TF_FROMEND);
}

// True when directory is stop itself or lies below it: stop's bytes exactly, then the end or a
// '\'. ('C:\PX\a' does not lie below 'C:\P'; 'c:\p' is not 'C:\P'.) A component after stop
// made only of full stops and blanks ('..', '.') fails too: the system resolves it, and
// 'C:\P\a\..\..\X' names 'C:\X'.
bool IsAtOrBelow(std::string_view directory, std::string_view stop) {
  if (TextFind(directory, 0, 1, stop, 0) != 0) return false;
  if (directory.size() != stop.size() && directory[stop.size()] != '\\') return false;
  const std::string_view rest = directory.substr(stop.size());
  for (size_t start = 0; start < rest.size();) {
    size_t end = rest.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view part = rest.substr(start, end - start);
    if (!part.empty() && part.find_first_not_of(" .") == std::string_view::npos) return false;
    start = end + 1;
  }
  return true;
}

// Removes the run of '\', blanks and control bytes that ends path.
void DropTrailingSeparators(std::string& path) {
  TextDeleteRun(path, -1, '\\', TF_WRAP | TF_BLANKS);
}

}  // namespace

const std::string& FileNamePart(std::string_view path, std::string& name) {
  const int32_t separator = LastOf(path, "\\/");
  const std::string_view part = separator >= 0 ? path.substr(separator + 1) : path;
  name = IsValidFileName(part) ? std::string(part) : std::string();
  return name;
}

bool IsValidFileName(std::string_view name) {
  constexpr std::string_view FORBIDDEN = "<>/|\"*?:\\";
  if (name.empty()) return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || FORBIDDEN.find(c) != std::string_view::npos) {
      return false;
    }
  }
  return name.find_first_not_of(" .") != std::string_view::npos;
}

const std::string& DirectoryPart(std::string_view path, std::string& dir) {
  const int32_t last = LastOf(path, "\\:");
  if (last < 0) {
    dir.clear();
    return dir;
  }
  const size_t i = static_cast<size_t>(last);
  // A '\' that follows a drive or another '\' (or starts the path) names a root: keep it.
  const bool keepSeparator = path[i] == ':' || i == 0 || path[i - 1] == '\\' || path[i - 1] == ':';
  dir = std::string(path.substr(0, keepSeparator ? i + 1 : i));
  return dir;
}

void PruneDirectories(std::string_view directory, std::string_view stop) {
  std::string dir(directory);
  std::string top(stop);
  if (!SystemText(dir) || !SystemText(top)) return;
  DropTrailingSeparators(dir);
  DropTrailingSeparators(top);
  if (!top.empty() && !IsAtOrBelow(dir, top)) return;
  std::string component;
  while (!dir.empty()) {
    RemoveDirectoryA(dir.c_str());  // a directory that still holds anything stays
    if (TextSame(dir, top, 0)) return;
    ListTake(dir, component, PATH_DELIM, 0, LT_REMOVE | LT_FROMEND);
  }
}
