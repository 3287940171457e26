// Starts the uninstaller's logic the way the program does, from this process's own command
// line, and writes what it found to the file named by the environment variable PROBE_OUT:
// the state read from the log, and every message box it showed.
#include <fstream>

#include "uninstaller/Uuninst.h"

namespace {

std::ofstream out;

int Record(HWND, const std::string& text, const std::string& caption, UINT style) {
  out << "box " << style << " [" << caption << "] [" << text << "]\n";
  return IDOK;
}

}  // namespace

int main() {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("PROBE_OUT", path, MAX_PATH)) return 2;
  out.open(path, std::ios::binary);
  SetMessageBoxProc(Record);
  LoadSettings();
  const TUninstallState& u = Uninstall;
  out << "LogPath [" << u.LogPath << "]\n"
      << "LogText " << u.LogText.size() << " bytes\n"
      << "InstallPath [" << u.InstallPath << "]\n"
      << "OnTestMode " << u.OnTestMode << " CustomMode " << u.CustomMode << "\n"
      << "Captions [" << u.NextCaption << "] [" << u.StartCaption << "]\n";
  if (u.LogText.empty()) ShowMissingLogError(nullptr);
  return 0;
}
