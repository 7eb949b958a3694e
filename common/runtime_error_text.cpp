// The text of the runtime-error report.

#include "common/runtime_error_text.h"

#include <cstring>

void FormatRuntimeError(unsigned number, std::uint32_t address,
                        char (&text)[RuntimeErrorTextSize]) {
  static const char Template[] = "Runtime error     at 00000000";
  static_assert(sizeof Template == RuntimeErrorTextSize, "template size");
  const unsigned LastDigitOfNumber = 16, LastDigitOfAddress = 28;
  std::memcpy(text, Template, sizeof Template);
  // At most four digits fit between "error" and "at".
  for (unsigned i = 0; i < 4 && (i == 0 || number != 0); ++i, number /= 10)
    text[LastDigitOfNumber - i] = static_cast<char>('0' + number % 10);
  for (unsigned i = 0; i < 8; ++i, address >>= 4)
    text[LastDigitOfAddress - i] = "0123456789ABCDEF"[address & 0xF];
}
