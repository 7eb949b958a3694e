#pragma once

// A lower-casing the native tests give the switch matching.

#include <string>

// Stands in natively for the system's lower-casing, for ASCII letters only.
inline std::string AsciiLowerCopy(const std::string &text) {
  std::string lower = text;
  for (char &c : lower)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return lower;
}
