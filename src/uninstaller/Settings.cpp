// Start-up, the texts taken from the log, and the message boxes.
#include "system/FilesUt.h"
#include "text/Strut.h"
#include "uninstaller/Uuninst.h"

TUninstallState Uninstall;

const std::string& ForwardCaption(bool lastPage) {
  return lastPage ? Uninstall.StartCaption : Uninstall.NextCaption;
}

namespace {

// Bar escapes: "|n" and "|r" both become CR LF.
void ExpandBars(std::string& text) { TextUnescape(text, 0, -1, '|', TF_CRLF); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The integer forms a switch may take; false for anything else.
bool ParseCmdInteger(std::string_view s, int32_t& value) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  if (i == s.size()) return false;
  int64_t v = 0;
  if (s[i] == '$') {
    if (++i == s.size()) return false;
    for (; i < s.size(); ++i) {
      const int digit = HexValue(s[i]);
      if (digit < 0) return false;
      v = v * 16 + digit;
      if (v > INT32_MAX) return false;
    }
  } else {
    const bool negative = s[i] == '-';
    if (s[i] == '-' || s[i] == '+') ++i;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i) {
      if (!IsDigit(s[i])) return false;
      v = v * 10 + (s[i] - '0');
      if (v > int64_t{INT32_MAX} + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX) return false;
  }
  value = static_cast<int32_t>(v);
  return true;
}

std::string CmdValue(std::string_view key) {
  std::string value;
  KeyTextGet(Uninstall.LogText, SECTION_UNINSTALLCMD, key, &SyntaxCmd, value);
  return value;
}

std::string LoadResourceString(UINT id) {
  std::string text(256, '\0');
  for (;;) {
    const int n = LoadStringA(GetModuleHandleA(nullptr), id, text.data(),
                              static_cast<int>(text.size()));
    if (n < static_cast<int>(text.size()) - 1) {
      text.resize(n > 0 ? n : 0);
      return text;
    }
    text.resize(text.size() * 2);  // the string may have been cut: try a larger buffer
  }
}

int SystemMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT style) {
  return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

MessageBoxProc messageBoxProc = SystemMessageBox;

}  // namespace

void LoadSettings() {
  TUninstallState& u = Uninstall;
  std::string programPath;
  GetParameters(programPath, u.LogPath);
  ReadWholeFile(u.LogPath, FM_LOGREAD, u.LogText);
  u.RemoveText = u.LogText;
  KeyTextGet(u.RemoveText, "", "Install path", &SyntaxRaw, u.InstallPath);
  u.OnTestMode = CmdFlag("OnTest") != 0;
  u.CustomMode = CmdFlag("CustomUninstall") != 0;
  u.NextCaption = CmdText("UNBTNNEXT");
  u.StartCaption = CmdText("UNBTNSTART");
}

std::string CmdText(std::string_view key) {
  std::string text = CmdValue(key);
  ExpandBars(text);
  return text;
}

int32_t CmdFlag(std::string_view key) {
  int32_t value = 0;
  return ParseCmdInteger(CmdValue(key), value) ? value : 0;
}

void TextReplaceAll(std::string& text, std::string_view placeholder,
                    std::string_view replacement) {
  if (placeholder.empty()) return;
  int32_t position = 0;
  while (position < static_cast<int32_t>(text.size())) {
    const int32_t found = TextFind(text, position, -1, placeholder, 0);
    if (found < 0) return;
    TextReplace(text, replacement, found, static_cast<int32_t>(placeholder.size()));
    position = found + static_cast<int32_t>(replacement.size());
  }
}

void SetMessageBoxProc(MessageBoxProc proc) {
  messageBoxProc = proc ? proc : SystemMessageBox;
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                   UINT style) {
  return messageBoxProc(owner, text, caption, style);
}

bool AskYesNo(const std::string& text) {
  return ShowMessageBox(Uninstall.OwnerWindow, text, Uninstall.TitleText,
                        MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void ShowInfo(const std::string& text) {
  ShowMessageBox(Uninstall.OwnerWindow, text, Uninstall.TitleText, MB_OK | MB_ICONINFORMATION);
}

bool ConfirmStart() { return AskYesNo(CmdText("DLGSTART")); }

bool ConfirmCancel() { return AskYesNo(CmdText("DLGCANCEL")); }

bool ConfirmDllRemove(const std::string& fileName) {
  std::string text = CmdText("DLGDLLREMOVE");
  TextReplaceAll(text, "%FILE%", fileName);
  return AskYesNo(text);
}

void ShowEndMessage(bool allRemoved) { ShowInfo(CmdText(allRemoved ? "DLGENDOK" : "DLGENDOKNC")); }

void ShowMissingLogError(HWND mainWindow) {
  std::string text = LoadResourceString(IDS_LOGMISSING);
  ExpandBars(text);
  TextReplaceAll(text, "%s", Uninstall.LogPath);
  ShowMessageBox(mainWindow, text, LoadResourceString(IDS_ERRORCAPTION), MB_OK | MB_ICONERROR);
}
