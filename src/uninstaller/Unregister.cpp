// Unregistering the COM servers among the removed files. A server's code is not ours: a
// fault inside its "DllUnregisterServer" must not end the uninstaller, so the call runs under
// a guard that turns a fault nobody handles into an abandoned call, and the removal goes on.
#include "system/WinSys.h"
#include "uninstaller/GuardedCall.h"
#include "uninstaller/Uuninst.h"

namespace {

// Loaded libraries, freed on every path.
struct LibraryTraits {
  using Handle = HMODULE;
  static Handle Empty() noexcept { return nullptr; }
  static bool IsOpen(Handle h) noexcept { return h != nullptr; }
  static bool Close(Handle h) noexcept { return FreeLibrary(h) != 0; }
};
using Library = OwnedHandle<LibraryTraits>;

}  // namespace

bool UnregisterServer(const std::string& path) {
  // A file that is no library must not bring up the system's own error box.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  Library library(LoadLibraryA(path.c_str()));
  SetErrorMode(oldMode);
  if (!library.IsOpen()) return false;
  const FARPROC proc = GetProcAddress(library.Get(), "DllUnregisterServer");
  if (!proc) return false;
  // Through the generic function type, which converts to any other without a warning.
  const auto entry = reinterpret_cast<UnregisterEntry>(reinterpret_cast<void (*)()>(proc));
  return CallGuarded(entry);
}
