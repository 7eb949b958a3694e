#pragma once

// Replacing a function in this program's import table: the tool's own code
// calls the system through it, so a replacement changes what those calls
// give back.

#include <windows.h>

// Puts the replacement in the import slot of the named function and gives
// the function it held; ends the process with 97 where nothing imports it.
void *Replace(const char *function, void *replacement);

// Replaces the import and keeps the system's own function in real.
template <class Function, class Replacement>
void Hook(const char *name, Replacement replacement, Function &real) {
  real = reinterpret_cast<Function>(
      Replace(name, reinterpret_cast<void *>(replacement)));
}
