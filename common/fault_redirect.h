#pragma once

// The fault redirect, and the other piece of the fault report that depends on
// the compiler.

// Makes an invalid memory access in the tool's own code arrive as an
// AccessViolation thrown from the faulting instruction, so that every scope
// it leaves releases what it holds. Faults in system code are left to the
// system.
void InstallFaultRedirect();

// The address the calling function returns to: in the allocation hook, the
// one just after the call that asked for memory.
#if defined(_MSC_VER)
#include <intrin.h>
#define CALLER_ADDRESS() _ReturnAddress()
#else
#define CALLER_ADDRESS() __builtin_return_address(0)
#endif
