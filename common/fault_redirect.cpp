// The fault redirect: an invalid memory access in the tool's own code becomes
// a C++ exception thrown from the faulting instruction. How depends on the
// compiler and the processor; everything that does is here.

#include "common/fault_redirect.h"

#include "common/fault.h"

#include <windows.h>

#include <cstdint>

#if defined(_MSC_VER)
#include <eh.h>
#endif

namespace {

bool InOwnImage(const void *address) {
  MEMORY_BASIC_INFORMATION region{};
  return VirtualQuery(address, &region, sizeof region) != 0 &&
         region.AllocationBase == GetModuleHandleA(nullptr);
}

// Faults in system code are left to the system: it may expect and handle
// them itself.
bool IsOwnFault(const EXCEPTION_RECORD &record) {
  return record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION &&
         InOwnImage(record.ExceptionAddress);
}

#if defined(_MSC_VER)
// With /EHa, MSVC unwinds structured exceptions itself and lets them be
// translated into C++ exceptions at the fault.
void TranslateFault(unsigned, EXCEPTION_POINTERS *exception) {
  if (IsOwnFault(*exception->ExceptionRecord))
    throw AccessViolation{exception->ExceptionRecord->ExceptionAddress};
}

#else
// GCC unwinds from a fault only if the fault looks like a call: the faulting
// instruction is made to call a function that throws. The handler changes
// registers only, never the faulting thread's stack: on 32-bit Windows the
// system keeps the very record it resumes from just below the faulting stack
// pointer. The thread resumes at VelmoraFaultCall, which then pushes the
// return address to the fault (second argument register) and jumps to the
// throwing function (accumulator), the fault's address in the first argument
// register, ECX or RCX.
extern "C" void VelmoraFaultCall() __asm__("VelmoraFaultCall");
#if defined(__x86_64__)
#define REGISTER(name) R##name
asm(R"(
  .text
  .globl VelmoraFaultCall
VelmoraFaultCall:
  push %rdx
  jmp *%rax
)");

extern "C" [[noreturn]] __attribute__((used)) void
VelmoraRaiseAccessViolation(const void *address) {
  throw AccessViolation{address};
}

// The faulting code's stack may be at any 8-byte step, and the 32 bytes above
// it are its own, while a call needs the stack 16-byte aligned with room for
// the callee's register arguments. This frame keeps the return address to
// the fault where a call puts it, aligns the stack below, and tells the
// unwinder through its frame pointer how to step back over both.
extern "C" void VelmoraFaultFrame();
asm(R"(
  .text
  .def VelmoraFaultFrame; .scl 2; .type 32; .endef
  .seh_proc VelmoraFaultFrame
VelmoraFaultFrame:
  pushq %rbp
  .seh_pushreg %rbp
  movq %rsp, %rbp
  .seh_setframe %rbp, 0
  .seh_endprologue
  andq $-16, %rsp
  subq $32, %rsp
  call VelmoraRaiseAccessViolation
  int3
  .seh_endproc
)");
#define CALLED_FROM_FAULT VelmoraFaultFrame
#else
#define REGISTER(name) E##name
asm(R"(
  .text
  .globl VelmoraFaultCall
VelmoraFaultCall:
  push %edx
  jmp *%eax
)");

[[noreturn]] void __fastcall RaiseAccessViolation(const void *address) {
  throw AccessViolation{address};
}
#define CALLED_FROM_FAULT RaiseAccessViolation
#endif

void CallFromFault(CONTEXT &context, const void *address) {
  context.REGISTER(cx) = reinterpret_cast<std::uintptr_t>(address);
  // One byte into the faulting instruction: the unwinder looks up the byte
  // before a return address.
  context.REGISTER(dx) = context.REGISTER(ip) + 1;
  context.REGISTER(ax) = reinterpret_cast<std::uintptr_t>(&CALLED_FROM_FAULT);
  context.REGISTER(ip) = reinterpret_cast<std::uintptr_t>(&VelmoraFaultCall);
}

LONG CALLBACK OnException(EXCEPTION_POINTERS *exception) {
  if (!IsOwnFault(*exception->ExceptionRecord))
    return EXCEPTION_CONTINUE_SEARCH;
  CallFromFault(*exception->ContextRecord,
                exception->ExceptionRecord->ExceptionAddress);
  return EXCEPTION_CONTINUE_EXECUTION;
}

#endif

} // namespace

void InstallFaultRedirect() {
#if defined(_MSC_VER)
  _set_se_translator(TranslateFault);
#else
  AddVectoredExceptionHandler(1, OnException);
#endif
}
