#pragma once

// The text of the runtime-error report, pure byte logic.

#include <cstdint>

// "Runtime error NNN at XXXXXXXX": the number right-aligned to end on the
// fourth of five blanks, the address in eight upper-case hexadecimal digits.
// Written into a fixed buffer: the report must not allocate, since running
// out of memory is one of the failures it reports.
const unsigned RuntimeErrorTextSize = 30; // 29 characters and a NUL

void FormatRuntimeError(unsigned number, std::uint32_t address,
                        char (&text)[RuntimeErrorTextSize]);
