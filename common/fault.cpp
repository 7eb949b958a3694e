#include "common/fault.h"

#include "common/runtime_error_text.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <new>

#if defined(_MSC_VER)
#include <eh.h>
#include <intrin.h>
#define CALLER_ADDRESS() _ReturnAddress()
#else
#define CALLER_ADDRESS() __builtin_return_address(0)
#endif

namespace {

const unsigned InvalidMemoryAccess = 216;
const unsigned OutOfMemory = 203;

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

void InstallFaultRedirect() { _set_se_translator(TranslateFault); }
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

void InstallFaultRedirect() { AddVectoredExceptionHandler(1, OnException); }
#endif

// A fault outside the tool's code that nothing handled: no unwinding is
// possible through foreign frames, so report at once.
LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS *exception) {
  const EXCEPTION_RECORD &record = *exception->ExceptionRecord;
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
    ShowRuntimeError(InvalidMemoryAccess, record.ExceptionAddress);
  return EXCEPTION_CONTINUE_SEARCH;
}

// An access violation the unwinder could not carry to a handler (raised in
// code built without support for it) ends here.
[[noreturn]] void OnTerminate() {
  const void *address = nullptr;
  try {
    if (std::exception_ptr failure = std::current_exception())
      std::rethrow_exception(failure);
  } catch (const AccessViolation &fault) {
    address = fault.address;
  } catch (...) {
  }
  ShowRuntimeError(InvalidMemoryAccess, address);
}

// The address less the start of the committed region that holds it: for code,
// its offset in the image's code section. VirtualQuery describes a region
// from the queried page onwards, so the region's start is found by walking
// the allocation from its base.
std::uint32_t RegionOffset(const void *address) {
  const auto *target = static_cast<const char *>(address);
  MEMORY_BASIC_INFORMATION region{};
  if (VirtualQuery(address, &region, sizeof region) == 0 ||
      region.State != MEM_COMMIT)
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(target));
  const auto *start = static_cast<const char *>(region.AllocationBase);
  for (;;) {
    MEMORY_BASIC_INFORMATION part{};
    if (VirtualQuery(start, &part, sizeof part) == 0 || part.RegionSize == 0)
      break;
    if (static_cast<std::size_t>(target - start) < part.RegionSize)
      return static_cast<std::uint32_t>(target - start);
    start += part.RegionSize;
  }
  return static_cast<std::uint32_t>(
      target - static_cast<const char *>(region.BaseAddress));
}

} // namespace

void InstallFaultHandlers() {
  InstallFaultRedirect();
  SetUnhandledExceptionFilter(OnUnhandledException);
  std::set_terminate(OnTerminate);
}

void ShowRuntimeError(unsigned number, const void *address) {
  char text[RuntimeErrorTextSize];
  FormatRuntimeError(number, RegionOffset(address), text);
  MessageBoxA(nullptr, text, "Error", MB_OK);
  ExitProcess(number);
}

// Every allocation of the tool's own goes through here: a failure is
// reported with the address just after the call that asked for memory.
void *operator new(std::size_t size) {
  if (void *memory = std::malloc(size != 0 ? size : 1))
    return memory;
  ShowRuntimeError(OutOfMemory, CALLER_ADDRESS());
}

void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
