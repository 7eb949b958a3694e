// The runtime-error report, and the routes that lead to it: an invalid
// memory access redirected into the tool's code, one that nothing handled,
// and an allocation that fails.

#include "common/fault.h"

#include "common/fault_redirect.h"
#include "common/runtime_error_text.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <new>

namespace {

const unsigned InvalidMemoryAccess = 216;
const unsigned OutOfMemory = 203;

// A fault outside the tool's code that nothing handled: no unwinding is
// possible through foreign frames, so report at once.
LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS *exception) {
  const EXCEPTION_RECORD &record = *exception->ExceptionRecord;
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
    ShowRuntimeError(InvalidMemoryAccess, record.ExceptionAddress);
  return EXCEPTION_CONTINUE_SEARCH;
}

// An access violation the unwinder could not carry to a handler (raised in
// code built without support for it) ends here, and so does any other
// exception that nothing caught.
[[noreturn]] void OnTerminate() {
  const void *address = nullptr;
  try {
    if (std::exception_ptr failure = std::current_exception())
      std::rethrow_exception(failure);
  } catch (const AccessViolation &fault) {
    address = fault.address;
  } catch (...) { // NOLINT(bugprone-empty-catch)
    // Any other exception is reported all the same, with no address.
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

// Replacements of the global ones, which cannot be internal.
// NOLINTBEGIN(misc-use-internal-linkage)
void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
// NOLINTEND(misc-use-internal-linkage)
