// Unregistering the COM servers among the removed files. A server's code is not ours: a
// fault inside its "DllUnregisterServer" must not end the uninstaller, so the call runs under
// a guard that turns a processor fault into an abandoned call, and the removal goes on.
#include "system/WinSys.h"
#include "uninstaller/Uuninst.h"

namespace {

using UnregisterEntry = HRESULT(WINAPI*)();

// The one guarded call in progress (the program has one thread). A fault resumes execution
// at resumeContext, taken just before the call; only these volatile flags are read then.
CONTEXT resumeContext;
volatile bool guarding = false;
volatile bool faulted = false;

bool IsProcessorFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
      return true;
    default:
      return false;  // software exceptions are the server's own business
  }
}

LONG CALLBACK AbandonFaultingCall(EXCEPTION_POINTERS* info) {
  if (!guarding || !IsProcessorFault(info->ExceptionRecord->ExceptionCode))
    return EXCEPTION_CONTINUE_SEARCH;
  guarding = false;
  faulted = true;
  *info->ContextRecord = resumeContext;
  return EXCEPTION_CONTINUE_EXECUTION;
}

// Vectored handlers run before any frame's own handler, so the guard sees the fault first.
class FaultGuard {
 public:
  FaultGuard() : handler_(AddVectoredExceptionHandler(1, AbandonFaultingCall)) {}
  ~FaultGuard() {
    if (handler_) RemoveVectoredExceptionHandler(handler_);
  }
  FaultGuard(const FaultGuard&) = delete;
  FaultGuard& operator=(const FaultGuard&) = delete;

 private:
  PVOID handler_;
};

// Calls entry; false when it faulted. Not inlined, so that the captured context belongs to
// this frame: after a fault, RtlCaptureContext returns a second time.
__attribute__((noinline)) bool CallGuarded(UnregisterEntry entry) {
  FaultGuard guard;
  faulted = false;
  RtlCaptureContext(&resumeContext);
  if (faulted) return false;
  guarding = true;
  entry();
  guarding = false;
  return true;
}

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
