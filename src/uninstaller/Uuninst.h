// Uuninst: the uninstaller's own logic. The program-wide uninstall state and its loading from
// the installation log, the log's item lists and fields, the removal, and the message boxes
// through which the program talks to the user. The wizard window builds on it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

// ==== Program-wide uninstall state ==========================================================

struct TUninstallState {
  std::string LogPath;         // the installation log, from the command line
  std::string LogText;         // the whole log, byte for byte
  std::string RemoveText;      // working copy of the log: what is to be removed
  std::string KeepText;        // working copy: the items that stay installed
  std::string InstallPath;     // "Install path": where directory pruning stops
  bool OnTestMode = false;     // the removal only shows its end message
  bool CustomMode = false;     // the user may choose the items
  std::string NextCaption;     // forward button on the first two pages
  std::string StartCaption;    // forward button on the last page
  std::string TitleText;       // window title, caption of the message boxes
  HWND OwnerWindow = nullptr;  // owner of the message boxes
  std::string CurrentItem;     // the item of a list walk being worked on
};

// The one instance, alive for the whole run.
extern TUninstallState Uninstall;

// The forward button's caption: NextCaption on the first two pages, StartCaption on the last.
const std::string& ForwardCaption(bool lastPage);

// ==== The installation log ==================================================================

inline constexpr std::string_view SECTION_UNINSTALL = "UNINSTALL";
inline constexpr std::string_view SECTION_UNINSTALLREG = "UNINSTALLREG";
inline constexpr std::string_view SECTION_UNINSTALLCMD = "UNINSTALLCMD";
inline constexpr std::string_view LIST_FILES = "Files";
inline constexpr std::string_view LIST_LINKS = "Links";
inline constexpr std::string_view LIST_REGISTERS = "Registers";

// Fills the state from the command line and the log, in this order: LogPath, LogText,
// RemoveText, InstallPath, OnTestMode, CustomMode, the two forward captions.
void LoadSettings();
// The text of key in section "UNINSTALLCMD" of LogText, its bar escapes expanded.
std::string CmdText(std::string_view key);
// The integer value of key in section "UNINSTALLCMD" of LogText: decimal with an optional
// sign, or '$' and hexadecimal digits, after optional spaces; anything else is 0.
int32_t CmdFlag(std::string_view key);
// Replaces every occurrence of placeholder; text brought in by a replacement is not searched.
void TextReplaceAll(std::string& text, std::string_view placeholder, std::string_view replacement);

// The list key of section in text as a 0xA7-separated list.
std::string ListItems(std::string_view text, std::string_view section, std::string_view key);
// The value of a field of CurrentItem ("Name", "Key", ...).
std::string ItemField(std::string_view field);
// Appends item as a new line '"item' to the list key of section "UNINSTALL" of text.
void AppendListItem(std::string& text, std::string_view key, std::string_view item);
// How an item is shown for choosing: its list's kind word, ": " and the item unchanged
// ("FILE: ", "SHORTCUT: ", "REGISTER: " for the lists "Files", "Links", "Registers").
std::string DisplayEntry(std::string_view listKey, std::string_view item);
// The list key and item an entry shows; false, and both empty, for an unknown kind word.
bool SplitDisplayEntry(const std::string& entry, std::string& listKey, std::string& item);

// ==== Message boxes =========================================================================

// The one way the program shows a message box; answers with the button chosen (IDYES ...).
// The program always shows the system's message box; tests answer through their own proc.
using MessageBoxProc = int (*)(HWND owner, const std::string& text, const std::string& caption,
                               UINT style);
void SetMessageBoxProc(MessageBoxProc proc);  // nullptr: the system's message box
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style);

// Yes/No with the question icon (style 36), owned by OwnerWindow, caption TitleText.
bool AskYesNo(const std::string& text);
// OK with the information icon (style 64), owned by OwnerWindow, caption TitleText.
void ShowInfo(const std::string& text);

bool ConfirmStart();                                // "DLGSTART"
bool ConfirmCancel();                               // "DLGCANCEL"
bool ConfirmDllRemove(const std::string& fileName); // "DLGDLLREMOVE", "%FILE%" replaced
void ShowEndMessage(bool allRemoved);               // "DLGENDOK" or "DLGENDOKNC"
// The missing-log error (resource strings 65520 and 65521), owned by the main window itself.
void ShowMissingLogError(HWND mainWindow);

// Resource identifiers of the missing-log error.
constexpr UINT IDS_ERRORCAPTION = 65520;
constexpr UINT IDS_LOGMISSING = 65521;

// ==== Removal ===============================================================================

// The fields of the wizard's window that the removal works with.
struct TWizardState {
  bool Finished = false;    // the removal has run: the window may close without asking
  bool AllRemoved = false;  // every item is removed, none stays
  std::string Collected;    // 0xA7-separated directories or key paths gathered by a walk
  // Folded forms of the items of Collected, so that adding one needs no scan of the list.
  std::unordered_set<std::string> CollectedKeys;
  std::function<void()> RequestClose;  // asks the main window to close (set by the wizard)
};

using ItemAction = std::function<void(TWizardState& wizard)>;
using CollectedAction = void (*)(const std::string& item);

// Empties Collected, then runs action for every non-empty item of list, front to back, with
// the item in CurrentItem.
void WalkItems(TWizardState& wizard, std::string list, const ItemAction& action);
// Adds item at the end of Collected unless an equal one (ASCII case folded) is there.
void CollectItem(TWizardState& wizard, std::string_view item);
// Sorts Collected descending (deeper paths first), then runs action on each item and empties it.
void DrainCollected(TWizardState& wizard, CollectedAction action);

// The whole removal: registry values and emptied keys, files, the log, directories, the
// values removed only with everything, shortcuts, the end message, then the close request.
void RunRemoval(TWizardState& wizard);

// Item actions, run by WalkItems for CurrentItem.
void RemoveRegistryEntry(TWizardState& wizard);
void RemoveFileEntry(TWizardState& wizard);
void RemoveShortcutEntry(TWizardState& wizard);
// Collected-item actions.
void PruneRegistryKey(const std::string& keyPath);
void PruneToInstallPath(const std::string& directory);
void RemoveDirOnce(const std::string& directory);

// Lowers the file's shared-use count; true when the file may be deleted.
bool ReleaseSharedFile(const std::string& path);
// Unregisters a COM server (.ocx, .dll), deletes the file and a help file's index files.
void DeleteWithCompanions(const std::string& path);
// Loads the library and calls its "DllUnregisterServer"; a fault inside it is caught.
// True when the entry point ran to its end.
bool UnregisterServer(const std::string& path);
// True for 'X:\...' and '\\...' paths without a zero byte: the only "Name" of a file or
// shortcut that is acted upon.
bool IsFullPath(std::string_view path);
