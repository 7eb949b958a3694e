#pragma once

// Failures that nothing else handles end the process with a "Runtime error"
// box: 216 for an invalid memory access, 203 when memory is exhausted. The
// error number is also the exit code.
//
// An invalid memory access in the tool's own code arrives as a C++ exception
// thrown from the faulting instruction, so the releases of every scope it
// leaves run before the report; catch it where a region handles the failure.
// Running out of memory reports at once, before any release.

struct AccessViolation {
  const void *address; // the faulting instruction
};

// Turns invalid memory accesses into AccessViolation and hooks the other
// routes to the report. Call once, before anything else.
void InstallFaultHandlers();

// Shows the "Error" box, without owner, and ends the process with the number
// as exit code. The address is given relative to the committed region that
// holds it. Allocates nothing.
[[noreturn]] void ShowRuntimeError(unsigned number, const void *address);
