#include "clipboard/text_block.h"

#include <cstdint>
#include <cstring>

namespace {

// Plain word-sized loads and stores: a fixed-size memcpy is a single move.
std::uint32_t LoadWord(const char *bytes) {
  std::uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

bool HasZeroByte(std::uint32_t word) {
  return ((word - 0x01010101u) & ~word & 0x80808080u) != 0;
}

char *CopyBytes(char *to, const char *from, std::size_t count) {
  for (; count >= 4; count -= 4, from += 4, to += 4) {
    const std::uint32_t word = LoadWord(from);
    std::memcpy(to, &word, sizeof word);
  }
  for (; count > 0; --count)
    *to++ = *from++;
  return to;
}

} // namespace

std::string TextFromBlock(const char *bytes, std::size_t size) {
  if (bytes == nullptr)
    return {};
  // A word at a time up to the word that holds the first NUL, then bytes.
  std::size_t length = 0;
  while (size - length >= 4 && !HasZeroByte(LoadWord(bytes + length)))
    length += 4;
  while (length < size && bytes[length] != '\0')
    ++length;
  // Room for a line break: ending the text with one must not copy it again
  // into a block of twice its size, which for a large text costs time and
  // address space.
  std::string text;
  text.reserve(length + 2);
  text.assign(bytes, length);
  return text;
}

void FillBlock(char *block, const std::string &text, const std::string &more) {
  block = CopyBytes(block, text.data(), text.size());
  block = CopyBytes(block, more.data(), more.size());
  *block = '\0';
}
