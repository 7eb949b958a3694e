#pragma once

// Line-end completion for "/r", pure byte logic.

#include <string>

const char LineBreak[] = "\r\n";

// For texts of bytes and of UTF-16 units alike: CR and LF are the same unit
// values in both.
template <class Unit>
bool EndsWithLineBreak(const std::basic_string<Unit> &text) {
  const std::size_t size = text.size();
  return size >= 2 && text[size - 2] == Unit(LineBreak[0]) &&
         text[size - 1] == Unit(LineBreak[1]);
}

// Appends LineBreak unless the text already ends with it.
template <class Unit> void CompleteLine(std::basic_string<Unit> &text) {
  if (!EndsWithLineBreak(text))
    text.append({Unit(LineBreak[0]), Unit(LineBreak[1])});
}
