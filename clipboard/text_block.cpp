// The units of clipboard blocks, read and filled a word at a time.

#include "clipboard/text_block.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

namespace {

// Plain word-sized loads and stores: a fixed-size memcpy is a single move.
std::uint32_t LoadWord(const void *bytes) {
  std::uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// Whether any of the units in a word is zero, all of them tested at once.
template <class Unit> bool HasZeroUnit(std::uint32_t word) {
  const unsigned bits = 8 * sizeof(Unit);
  const auto low =
      static_cast<std::uint32_t>(0xFFFFFFFFull / ((1ull << bits) - 1));
  const std::uint32_t high = low << (bits - 1);
  return ((word - low) & ~word & high) != 0;
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

template <class Unit>
std::basic_string<Unit> TextFromBlock(const Unit *units, std::size_t size) {
  if (units == nullptr)
    return {};
  // A word at a time up to the word that holds the first NUL, then units.
  const std::size_t count = size / sizeof(Unit);
  const std::size_t perWord = sizeof(std::uint32_t) / sizeof(Unit);
  std::size_t length = 0;
  while (count - length >= perWord &&
         !HasZeroUnit<Unit>(LoadWord(units + length)))
    length += perWord;
  while (length < count && units[length] != Unit())
    ++length;
  // Room for a line break: ending the text with one must not copy it again
  // into a block of twice its size, which for a large text costs time and
  // address space.
  std::basic_string<Unit> text;
  text.reserve(length + 2);
  text.resize(length);
  CopyBytes(reinterpret_cast<char *>(&text[0]),
            reinterpret_cast<const char *>(units), length * sizeof(Unit));
  return text;
}

template <class Unit>
void FillBlock(Unit *block, const std::basic_string<Unit> &text,
               const std::basic_string<Unit> &more) {
  char *bytes = reinterpret_cast<char *>(block);
  bytes = CopyBytes(bytes, reinterpret_cast<const char *>(text.data()),
                    text.size() * sizeof(Unit));
  bytes = CopyBytes(bytes, reinterpret_cast<const char *>(more.data()),
                    more.size() * sizeof(Unit));
  const Unit nul = Unit();
  CopyBytes(bytes, reinterpret_cast<const char *>(&nul), sizeof nul);
}

template std::string TextFromBlock(const char *, std::size_t);
template std::wstring TextFromBlock(const wchar_t *, std::size_t);
template void FillBlock(char *, const std::string &, const std::string &);
template void FillBlock(wchar_t *, const std::wstring &, const std::wstring &);
#if WCHAR_MAX > 0xFFFF
// Where wchar_t is wider than Windows' UTF-16 unit, as natively on Linux, the
// tests there also get the unit the tool reads and writes.
template std::u16string TextFromBlock(const char16_t *, std::size_t);
template void FillBlock(char16_t *, const std::u16string &,
                        const std::u16string &);
#endif
