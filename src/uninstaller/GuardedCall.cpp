// The part of the fault guard that all architectures share.
#include "uninstaller/GuardedCall.h"

namespace {

// The one guarded call in progress (the program has one thread). A fault resumes execution
// at resumeContext, taken just before the call; after that, only volatile state is read.
CONTEXT resumeContext;
volatile bool faulted = false;
#if defined(__i386__)
// The thread's handler chain as it was before the call: on resuming, the registrations made
// inside the abandoned call are gone with their frames.
EXCEPTION_REGISTRATION_RECORD* volatile savedChain = nullptr;
#endif

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

}  // namespace

extern "C" EXCEPTION_DISPOSITION NTAPI GuardFrameHandler(EXCEPTION_RECORD* record, PVOID,
                                                        CONTEXT* context, PVOID) {
  if ((record->ExceptionFlags & EXCEPTION_UNWIND) || !IsProcessorFault(record->ExceptionCode))
    return ExceptionContinueSearch;
  faulted = true;
  *context = resumeContext;
  return ExceptionContinueExecution;
}

// Not inlined, so that the captured context belongs to this frame: after a fault,
// RtlCaptureContext returns a second time.
__attribute__((noinline)) bool CallGuarded(UnregisterEntry entry) {
#if defined(__i386__)
  savedChain = CurrentTib()->ExceptionList;
#endif
  faulted = false;
  RtlCaptureContext(&resumeContext);
  if (faulted) {
#if defined(__i386__)
    CurrentTib()->ExceptionList = savedChain;
#endif
    return false;
  }
  CallWithFrameHandler(entry);
  return true;
}
