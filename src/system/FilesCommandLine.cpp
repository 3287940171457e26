// The command line and the existence test it is split by.
#include "system/FilesUt.h"

#include "system/Memory.h"

namespace {

constexpr std::string_view BLANK_OR_QUOTE = " \"";

// First position at or after from that holds neither a blank nor a double quote, or npos.
size_t SkipBlanksAndQuotes(std::string_view line, size_t from) {
  return line.find_first_not_of(BLANK_OR_QUOTE, from);
}

}  // namespace

void SplitCommandLine(std::string_view line, std::string& program, std::string& parameter) {
  // The line may view one of the outputs: work on a copy.
  const std::string source(line);
  const std::string_view text = source;
  program.clear();
  parameter.clear();
  const size_t start = SkipBlanksAndQuotes(text, 0);
  if (start == std::string_view::npos) return;

  // Each candidate runs from start to the next blank or quote; the scan goes on past an
  // existing shorter candidate and stops at the first failing one after a success, at a quote,
  // or at the end of the line. A step that adds only a blank is not asked about: the system
  // ignores trailing blanks, so it would name the same file and end the path with blanks.
  size_t last = std::string_view::npos;
  for (size_t i = start; i < text.size();) {
    size_t end = text.find_first_of(BLANK_OR_QUOTE, i);
    if (end == std::string_view::npos) end = text.size();
    if (end > i) {
      if (FileExistsAttr(text.substr(start, end - start), FA_ANYFILE)) {
        last = end;
      } else if (last != std::string_view::npos) {
        break;
      }
    }
    if (end == text.size() || text[end] == '"') break;
    i = end + 1;
  }
  if (last == std::string_view::npos) return;

  program.assign(text.substr(start, last - start));
  const size_t rest = SkipBlanksAndQuotes(text, last);
  if (rest != std::string_view::npos) parameter.assign(text.substr(rest));
}

void GetParameters(std::string& program, std::string& parameter) {
  const char* line = GetCommandLineA();
  SplitCommandLine(line ? line : "", program, parameter);
}

bool FileExistsAttr(std::string_view path, uint32_t mask) {
  const SystemText name(path);
  if (!name) return false;
  const BlockPtr<WIN32_FIND_DATAA> data(
      static_cast<WIN32_FIND_DATAA*>(BlockAlloc(MEM_DEFAULT, sizeof(WIN32_FIND_DATAA))));
  if (!data) return false;
  const FindHandle search(FindFirstFileA(name.c_str(), data.get()));
  if (!search.IsOpen()) return false;
  const DWORD attributes = data->dwFileAttributes != 0 ? data->dwFileAttributes : FA_NONE;
  return (attributes & mask) != 0;
}
