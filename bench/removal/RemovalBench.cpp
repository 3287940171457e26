// How much the removal engine adds to the system calls it must make anyway.
//
// Installs a synthetic product (files in many folders, help files with their index files,
// shared files with use counts, registry values under many keys, shortcuts), writes its log,
// and times RunRemoval over it. Then installs the same product again and times a plain loop
// that makes the same file and registry calls from arrays prepared before the clock starts.
// Both go through the same thin file and registry wrappers, so the ratio is the engine's own
// work (reading the log, walking and collecting, sorting) on top of the system's.
//
//   RemovalBench.exe            both sizes (20,000 and 2,000 files)
//   RemovalBench.exe --small    2,000 files only
// The last line reads "removal-ratio R", R being the larger ratio measured.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "support/Scratch.h"
#include "system/FilesUt.h"
#include "system/RegUt.h"
#include "text/Strut.h"
#include "uninstaller/Uuninst.h"

namespace {

constexpr char SHARED_DLLS[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr int ROUNDS = 6;  // even: each order runs as often

struct Size {
  int Files, Dirs, Values, Keys, Links;
};

struct RegItem {
  HKEY Root;
  std::string RootName, Subkey, Name;
};

// One installed product and everything the plain loop needs to remove it.
struct Product {
  std::string Root;     // scratch folder holding everything
  std::string Install;  // the install path
  std::string LogPath;
  std::string LogText;
  std::string KeyBase;  // 'Software\...' under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
  std::vector<std::string> Files;
  std::vector<int> SharedCounts;  // per file; 0: not shared
  std::vector<std::string> Links;
  std::vector<RegItem> Registers;
  std::vector<RegItem> RegistersWithAll;  // removed only with everything
};

void WriteSmallFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, "data", 4, &written, nullptr);
  CloseHandle(file);
}

void SetValue(HKEY root, const std::string& subkey, const std::string& name) {
  RegKey key;
  if (OpenRegKey(root, subkey, key, RK_CREATE))
    WriteRegValue(std::move(key), name, "x", REG_SZ, 2);
}

std::string Item(const std::string& fields) { return "\r\n\"" + fields; }

std::string RegField(const RegItem& r) {
  return "Key=" + r.RootName + "\\" + r.Subkey + "\xF7\xF7Name=" + r.Name;
}

Product Describe(const Size& size, const std::string& root) {
  Product p;
  p.Root = root;
  p.Install = root + "\\Product";
  p.LogPath = p.Install + "\\install.log";
  p.KeyBase = "Software\\unins bench " + std::to_string(GetCurrentProcessId());
  for (int i = 0; i < size.Files; ++i) {
    const int dir = i % size.Dirs;
    const std::string folder = p.Install + "\\group" + std::to_string(dir / 50) + "\\dir" +
                               std::to_string(dir);
    const bool help = i % 100 == 7;
    p.Files.push_back(folder + "\\file" + std::to_string(i) + (help ? ".hlp" : ".dat"));
    // One in 50 is shared and stays used by others; one in 1,000 loses its last user, and the
    // question whether to remove it is answered Yes.
    p.SharedCounts.push_back(i % 50 == 3 ? 3 : i % 1000 == 28 ? 1 : 0);
  }
  for (int i = 0; i < size.Links; ++i)
    p.Links.push_back(root + "\\Menu\\Programs\\Product\\L" + std::to_string(i / 50) +
                      "\\link" + std::to_string(i) + ".lnk");
  for (int i = 0; i < size.Values; ++i) {
    const int key = i % size.Keys;
    p.Registers.push_back({HKEY_CURRENT_USER, "HKEY_CURRENT_USER",
                           p.KeyBase + "\\App\\K" + std::to_string(key / 10) + "\\Key" +
                               std::to_string(key),
                           "Value" + std::to_string(i)});
  }
  for (int i = 0; i < 10; ++i)
    p.RegistersWithAll.push_back({HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE",
                                  p.KeyBase + "\\Uninstall\\Product", "V" + std::to_string(i)});

  std::string log = "[UNINSTALL]\r\nFiles=";
  for (const auto& f : p.Files) log += Item("Name=" + f + "\xF7\xF7Size=4");
  log += "\r\nLinks=";
  for (const auto& l : p.Links) log += Item("Name=" + l);
  log += "\r\nRegisters=";
  for (const auto& r : p.Registers) log += Item(RegField(r));
  log += "\r\n\r\n[UNINSTALLREG]\r\nRegisters=";
  for (const auto& r : p.RegistersWithAll) log += Item(RegField(r));
  log += "\r\n\r\n[UNINSTALLCMD]\r\nInstall path=" + p.Install +
         "\r\nTitle=Bench\r\nDLGDLLREMOVE=Remove %FILE%?\r\nDLGENDOK=Done.\r\n";
  p.LogText = log;
  return p;
}

void Install(const Product& p) {
  std::set<std::string> folders;
  for (const auto& f : p.Files) folders.insert(f.substr(0, f.rfind('\\')));
  for (const auto& l : p.Links) folders.insert(l.substr(0, l.rfind('\\')));
  for (const auto& folder : folders) MakeDirs(folder);
  for (size_t i = 0; i < p.Files.size(); ++i) {
    WriteSmallFile(p.Files[i]);
    if (p.Files[i].ends_with(".hlp")) {
      const std::string base = p.Files[i].substr(0, p.Files[i].size() - 4);
      for (const char* companion : {".gid", ".fts", ".ftg"}) WriteSmallFile(base + companion);
    }
    if (p.SharedCounts[i]) WriteRegDword(HKEY_LOCAL_MACHINE, SHARED_DLLS, p.Files[i], RK_CREATE,
                                         p.SharedCounts[i]);
  }
  for (const auto& l : p.Links) WriteSmallFile(l);
  for (const auto& r : p.Registers) SetValue(r.Root, r.Subkey, r.Name);
  for (const auto& r : p.RegistersWithAll) SetValue(r.Root, r.Subkey, r.Name);
  WriteWholeFile(p.LogPath, p.LogText, FM_READ | FM_WRITE | FM_OPENALWAYS);
}

int AnswerYes(HWND, const std::string&, const std::string&, UINT style) {
  return (style & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double TimeEngine(const Product& p) {
  Uninstall = {};
  Uninstall.LogPath = p.LogPath;
  ReadWholeFile(p.LogPath, FM_LOGREAD, Uninstall.LogText);
  const auto start = std::chrono::steady_clock::now();
  Uninstall.RemoveText = Uninstall.LogText;
  KeyTextGet(Uninstall.RemoveText, "", "Install path", &SyntaxRaw, Uninstall.InstallPath);
  TWizardState wizard;
  wizard.AllRemoved = true;
  RunRemoval(wizard);
  return Seconds(std::chrono::steady_clock::now() - start);
}

// The distinct folders of paths, deepest first (the order the engine prunes them in).
std::vector<std::string> FoldersDeepestFirst(const std::vector<std::string>& paths) {
  std::set<std::string> folders;
  for (const auto& path : paths) folders.insert(path.substr(0, path.rfind('\\')));
  return {folders.rbegin(), folders.rend()};
}

void PruneKeys(const std::vector<RegItem>& items) {
  std::set<std::string> keys;
  for (const auto& r : items) keys.insert(r.Subkey);
  const HKEY root = items.front().Root;
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    std::string path = *it;
    while (!path.empty()) {
      if (IsRegKeyEmpty(root, path)) RegDeleteKeyA(root, path.c_str());
      const size_t cut = path.rfind('\\');
      path.resize(cut == std::string::npos ? 0 : cut);
    }
  }
}

double TimePlain(const Product& p) {
  const std::vector<std::string> fileFolders = FoldersDeepestFirst(p.Files);
  const std::vector<std::string> linkFolders = FoldersDeepestFirst(p.Links);
  const auto start = std::chrono::steady_clock::now();
  for (const auto& r : p.Registers) DeleteRegValue(r.Root, r.Subkey, r.Name);
  PruneKeys(p.Registers);
  for (const auto& file : p.Files) {
    int32_t count = 0;
    ReadRegDword(HKEY_LOCAL_MACHINE, SHARED_DLLS, file, 0, count);
    if (count > 1) {
      WriteRegDword(HKEY_LOCAL_MACHINE, SHARED_DLLS, file, RK_CREATE, count - 1);
      continue;
    }
    if (count == 1) DeleteRegValue(HKEY_LOCAL_MACHINE, SHARED_DLLS, file);
    DeleteFileForced(file);
    if (file.ends_with(".hlp")) {
      const std::string base = file.substr(0, file.size() - 4);
      for (const char* companion : {".gid", ".fts", ".ftg"}) DeleteFileForced(base + companion);
    }
  }
  DeleteFileForced(p.LogPath);
  PruneDirectories(p.Install, p.Install);
  for (const auto& folder : fileFolders) PruneDirectories(folder, p.Install);
  for (const auto& r : p.RegistersWithAll) DeleteRegValue(r.Root, r.Subkey, r.Name);
  PruneKeys(p.RegistersWithAll);
  for (const auto& link : p.Links) DeleteFileForced(link);
  for (const auto& folder : linkFolders) RemoveDirectoryA(folder.c_str());
  return Seconds(std::chrono::steady_clock::now() - start);
}

// Everything a removal leaves (the files whose use count stays above zero), as a check that
// both removals did the same.
int CountLeftFiles(const std::string& folder) {
  int count = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      count += CountLeftFiles(folder + "\\" + name);
    else
      ++count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

void CleanUp(const Product& p) {
  RemoveTree(p.Root);
  RegDeleteTreeA(HKEY_CURRENT_USER, p.KeyBase.c_str());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, p.KeyBase.c_str());
  for (const auto& file : p.Files) DeleteRegValue(HKEY_LOCAL_MACHINE, SHARED_DLLS, file);
}

struct Result {
  double Engine, Plain;
};

// Installs the product afresh, runs one removal and checks what it left.
double RunOnce(const Product& p, double (*remove)(const Product&), int& left) {
  Install(p);
  const double seconds = remove(p);
  left = CountLeftFiles(p.Root);
  CleanUp(p);
  return seconds;
}

// The best of ROUNDS runs of each, in alternating order, so that neither profits from going
// first or second after an install.
bool Measure(const Size& size, Result& result) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "unins bench " +
                           std::to_string(GetCurrentProcessId());
  const Product p = Describe(size, root);
  result = {1e9, 1e9};
  for (int round = 0; round < ROUNDS; ++round) {
    int leftByEngine = 0, leftByPlain = 0;
    const bool engineFirst = round % 2 == 0;
    if (engineFirst) result.Engine = std::min(result.Engine, RunOnce(p, TimeEngine, leftByEngine));
    result.Plain = std::min(result.Plain, RunOnce(p, TimePlain, leftByPlain));
    if (!engineFirst) result.Engine = std::min(result.Engine, RunOnce(p, TimeEngine, leftByEngine));
    if (leftByEngine != leftByPlain) {
      std::printf("the two removals differ: %d files left by the engine, %d by the loop\n",
                  leftByEngine, leftByPlain);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool small = argc > 1 && std::string(argv[1]) == "--small";
  SetMessageBoxProc(AnswerYes);
  std::vector<Size> sizes;
  if (!small) sizes.push_back({20000, 1000, 5000, 500, 500});
  sizes.push_back({2000, 100, 500, 50, 50});
  std::printf("RunRemoval against the same system calls from prepared arrays (best of %d)\n",
              ROUNDS);
  std::printf("%7s %6s %7s %5s %6s %11s %10s %7s\n", "files", "dirs", "values", "keys", "links",
              "engine ms", "plain ms", "ratio");
  double worst = 0;
  for (const Size& size : sizes) {
    Result r;
    if (!Measure(size, r)) return 1;
    const double ratio = r.Engine / r.Plain;
    worst = std::max(worst, ratio);
    std::printf("%7d %6d %7d %5d %6d %11.1f %10.1f %7.2f\n", size.Files, size.Dirs, size.Values,
                size.Keys, size.Links, r.Engine * 1000, r.Plain * 1000, ratio);
  }
  std::printf("removal-ratio %.2f\n", worst);
  return 0;
}
