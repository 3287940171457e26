// The guard's frame on x86-64: a thunk whose unwind data names GuardFrameHandler as its
// exception handler. The system walks the frames from the fault outwards, so every handler
// inside the call sees the fault first; only one that nobody took reaches this frame.
#if defined(__x86_64__)

#include "uninstaller/GuardedCall.h"

// void CallWithFrameHandler(UnregisterEntry entry)     entry arrives in rcx
//   push rbp            saved register: rsp is 16-byte aligned again
//   sub  rsp, 32        the callee's home space for its four register arguments
//   call rcx
//   nop                 the return address must not point into the epilogue: a frame
//                       unwound from inside its epilogue gets no handler call
//   add  rsp, 32; pop rbp; ret
asm(R"(
    .text
    .globl  CallWithFrameHandler
    .def    CallWithFrameHandler; .scl 2; .type 32; .endef
    .seh_proc CallWithFrameHandler
CallWithFrameHandler:
    pushq   %rbp
    .seh_pushreg %rbp
    subq    $32, %rsp
    .seh_stackalloc 32
    .seh_endprologue
    call    *%rcx
    nop
    addq    $32, %rsp
    popq    %rbp
    ret
    .seh_handler GuardFrameHandler, @except
    .seh_endproc
)");

#endif
