// The removal: what the log lists goes, in a fixed order, and nothing stops it before the
// end message.
#include "system/FilesUt.h"
#include "system/RegUt.h"
#include "system/WinSys.h"
#include "text/Strut.h"
#include "uninstaller/Uuninst.h"

namespace {

constexpr char SHARED_DLLS[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char SERVER_EXTENSIONS[] = "ocx;dll";
constexpr char HELP_EXTENSION[] = "hlp";
constexpr const char* HELP_COMPANIONS[] = {".gid", ".fts", ".ftg"};

// Splits 'ROOT\sub\key' into the root's handle (0 for an unknown root) and the subkey path.
HKEY SplitKeyPath(const std::string& keyPath, std::string& rootName, std::string& subkey) {
  subkey = keyPath;
  ListTake(subkey, rootName, DelimSet("\\"), 0, LT_REMOVE);
  return RootKeyHandle(rootName);
}

}  // namespace

bool IsFullPath(std::string_view path) {
  if (path.find('\0') != std::string_view::npos) return false;  // would name a shorter path
  const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (path.size() >= 3 && isLetter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
  return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

void RemoveRegistryEntry(TWizardState& wizard) {
  std::string rootName, subkey;
  const HKEY root = SplitKeyPath(ItemField("Key"), rootName, subkey);
  const std::string valueName = ItemField("Name");
  if (!root || subkey.empty()) return;
  DeleteRegValue(root, subkey, valueName);
  CollectItem(wizard, rootName + '\\' + subkey);
}

void PruneRegistryKey(const std::string& keyPath) {
  std::string rootName, subkey, dropped;
  const HKEY root = SplitKeyPath(keyPath, rootName, subkey);
  if (!root) return;
  while (!subkey.empty()) {
    const SystemText name(subkey);
    if (name && IsRegKeyEmpty(root, subkey)) RegDeleteKeyA(root, name.c_str());
    ListTake(subkey, dropped, DelimSet("\\"), 0, LT_REMOVE | LT_FROMEND);
  }
}

bool ReleaseSharedFile(const std::string& path) {
  int32_t count = 0;
  ReadRegDword(HKEY_LOCAL_MACHINE, SHARED_DLLS, path, 0, count);
  if (count <= 0) return true;  // not shared, or no user left
  count = count - 1;
  if (count > 0) {
    WriteRegDword(HKEY_LOCAL_MACHINE, SHARED_DLLS, path, RK_CREATE, count);
    return false;
  }
  std::string fileName;
  FileNamePart(path, fileName);
  if (!ConfirmDllRemove(fileName)) return false;
  DeleteRegValue(HKEY_LOCAL_MACHINE, SHARED_DLLS, path);
  return true;
}

void DeleteWithCompanions(const std::string& path) {
  std::string base = path, extension;
  ListTake(base, extension, DelimSet("."), 0, LT_REMOVE | LT_FROMEND);
  if (ListFind(SERVER_EXTENSIONS, extension, DelimSet(";"), 0) >= 0) UnregisterServer(path);
  DeleteFileForced(path);
  if (TextSame(extension, HELP_EXTENSION, 0))
    for (const char* companion : HELP_COMPANIONS) DeleteFileForced(base + companion);
}

void RemoveFileEntry(TWizardState& wizard) {
  const std::string path = ItemField("Name");
  if (!IsFullPath(path)) return;  // no "Name", or one that is not a full path
  if (ReleaseSharedFile(path)) DeleteWithCompanions(path);
  std::string directory;
  DirectoryPart(path, directory);
  CollectItem(wizard, directory);
}

void RemoveShortcutEntry(TWizardState& wizard) {
  const std::string path = ItemField("Name");
  if (!IsFullPath(path)) return;
  DeleteFileForced(path);
  std::string directory;
  DirectoryPart(path, directory);
  CollectItem(wizard, directory);
}

void PruneToInstallPath(const std::string& directory) {
  PruneDirectories(directory, Uninstall.InstallPath);
}

void RemoveDirOnce(const std::string& directory) {
  if (const SystemText name(directory); name) RemoveDirectoryA(name.c_str());
}

namespace {

// The new log is first written whole under a name of its own beside the old one (never over
// a file that is already there, which may be anybody's), created anew and so read-only.
// Returns that name, or the empty text when no new log could be written whole.
std::string WriteFreshLog(const std::string& logPath, const std::string& text) {
  constexpr int ATTEMPTS = 10;  // install.log.new, install.log.new1 .. install.log.new9
  for (int n = 0; n < ATTEMPTS; ++n) {
    const std::string fresh = logPath + ".new" + (n ? std::to_string(n) : "");
    if (FileExistsAttr(fresh, FA_ANYFILE | FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (WriteWholeFile(fresh, text, FM_LOGWRITE | FM_CREATENEW)) return fresh;
    DeleteFileForced(fresh);  // a new file that could not be written whole
  }
  return {};
}

// Replaces the log by the kept lists so that, at every moment, either the old log or the
// complete new one is on disk under the log's name: the new log takes the old one's place in
// one step. A log that cannot be replaced (another program holds it open) is overwritten in
// place, once the complete new log exists beside it.
void RewriteLog(const std::string& logPath, const std::string& text) {
  const std::string fresh = WriteFreshLog(logPath, text);
  if (fresh.empty()) return;  // the old log stays as it was
  const SystemText from(fresh), to(logPath);
  const DWORD former = GetFileAttributesA(to.c_str());
  SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file is not replaced
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
  if (former != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(to.c_str(), former);
  if (WriteWholeFile(logPath, text, FM_LOGWRITE)) DeleteFileForced(fresh);
}

}  // namespace

void RunRemoval(TWizardState& wizard) {
  TUninstallState& u = Uninstall;
  if (!u.OnTestMode) {
    WalkItems(wizard, ListItems(u.RemoveText, SECTION_UNINSTALL, LIST_REGISTERS),
              RemoveRegistryEntry);
    DrainCollected(wizard, PruneRegistryKey);
    WalkItems(wizard, ListItems(u.RemoveText, SECTION_UNINSTALL, LIST_FILES), RemoveFileEntry);
    if (wizard.AllRemoved) {
      DeleteFileForced(u.LogPath);
      PruneDirectories(u.InstallPath, u.InstallPath);
    } else {
      std::string kept;
      KeyTextGet(u.KeepText, SECTION_UNINSTALL, "", &SyntaxRaw, kept);
      KeyTextSet(u.LogText, SECTION_UNINSTALL, "", kept, &SyntaxRaw);
      RewriteLog(u.LogPath, u.LogText);
    }
    DrainCollected(wizard, PruneToInstallPath);
    if (wizard.AllRemoved) {
      WalkItems(wizard, ListItems(u.LogText, SECTION_UNINSTALLREG, LIST_REGISTERS),
                RemoveRegistryEntry);
      DrainCollected(wizard, PruneRegistryKey);
    }
    WalkItems(wizard, ListItems(u.RemoveText, SECTION_UNINSTALL, LIST_LINKS),
              RemoveShortcutEntry);
    DrainCollected(wizard, RemoveDirOnce);
  }
  ShowEndMessage(wizard.AllRemoved);
  wizard.Finished = true;
  if (wizard.RequestClose) wizard.RequestClose();
}
