#include "clipboard/text_block.h"

#include <cstdint>
#include <cstring>

std::string TextFromBlock(const char *bytes, std::size_t size) {
  if (bytes == nullptr)
    return {};
  std::size_t length = 0;
  while (length < size && bytes[length] != '\0')
    ++length;
  return std::string(bytes, length);
}

void FillBlock(char *block, const std::string &text) {
  const char *from = text.c_str();
  std::size_t left = text.size() + 1;
  // A word at a time: a fixed-size memcpy is a single move, not a call.
  for (; left >= 4; left -= 4, from += 4, block += 4) {
    std::uint32_t word;
    std::memcpy(&word, from, 4);
    std::memcpy(block, &word, 4);
  }
  for (; left > 0; --left)
    *block++ = *from++;
}
