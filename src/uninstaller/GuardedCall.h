// Calling foreign code that may fault: the entry points of the COM servers the removal
// unregisters. Used by the unregistration only.
#pragma once

#include <windows.h>

using UnregisterEntry = HRESULT(WINAPI*)();

// Calls entry. A processor fault inside it that no handler of entry's own takes abandons the
// call: execution comes back here and the answer is false. Faults the server handles itself,
// and faults on other threads, are none of this call's business.
bool CallGuarded(UnregisterEntry entry);

// ---- Inside the guard: one frame per architecture ------------------------------------------

// Calls entry in a frame whose exception handler is GuardFrameHandler, so that the system
// offers a fault to every handler inside entry before it reaches this frame.
// GuardedCall_x64.cpp (unwind data of a small thunk) or GuardedCall_x86.cpp (a registration
// on the thread's handler chain).
extern "C" void CallWithFrameHandler(UnregisterEntry entry);
// The frame's handler: a processor fault resumes execution where CallGuarded took its context.
extern "C" EXCEPTION_DISPOSITION NTAPI GuardFrameHandler(EXCEPTION_RECORD* record, PVOID frame,
                                                        CONTEXT* context, PVOID dispatcher);

#if defined(__i386__)
// The thread's information block, whose first word heads the handler chain. Read from fs:0x18
// (its own address) directly: mingw's NtCurrentTeb makes GCC 12 warn of an out-of-bounds read.
inline NT_TIB* CurrentTib() {
  NT_TIB* tib;
  asm volatile("movl %%fs:0x18, %0" : "=r"(tib));
  return tib;
}
#endif
