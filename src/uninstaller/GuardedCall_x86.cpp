// The guard's frame on x86: a registration on the thread's handler chain (fs:[0]) for the
// length of the call. Registrations made inside the call lie above it on the chain, so their
// handlers see a fault first; only one that nobody took reaches GuardFrameHandler.
#if defined(__i386__)

#include "uninstaller/GuardedCall.h"

extern "C" void CallWithFrameHandler(UnregisterEntry entry) {
  NT_TIB* tib = CurrentTib();
  // On the stack, as the system requires of every registration.
  EXCEPTION_REGISTRATION_RECORD registration;
  registration.Next = tib->ExceptionList;
  registration.Handler = GuardFrameHandler;
  tib->ExceptionList = &registration;
  entry();
  tib->ExceptionList = registration.Next;
}

#endif
