// Reading and filling clipboard blocks, natively.

#include "clipboard/text_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>

namespace {

// Bytes as units of a wider kind, each keeping its value.
template <class Unit> std::basic_string<Unit> Widen(const std::string &bytes) {
  std::basic_string<Unit> units;
  for (unsigned char byte : bytes)
    units += static_cast<Unit>(byte);
  return units;
}

// The text of a heap block of exactly size bytes holding the units, so that
// any read past it is caught by the address sanitizer.
template <class Unit>
std::basic_string<Unit> ReadBlock(const std::basic_string<Unit> &units,
                                  std::size_t size) {
  std::unique_ptr<char[]> block(new char[size]);
  std::memcpy(block.get(), units.data(),
              std::min(size, units.size() * sizeof(Unit)));
  return TextFromBlock(reinterpret_cast<const Unit *>(block.get()), size);
}

struct BlockCase {
  std::string block; // exactly the block's bytes, NULs included
  std::string text;
};

class TextFromBlockTest : public testing::TestWithParam<BlockCase> {};

// The same blocks as bytes, as Windows' UTF-16 units and as this host's
// wchar_t.
TEST_P(TextFromBlockTest, StopsAtNulOrEndOfBlock) {
  const BlockCase &c = GetParam();
  EXPECT_EQ(ReadBlock(c.block, c.block.size()), c.text);
  EXPECT_EQ(ReadBlock(Widen<char16_t>(c.block), 2 * c.block.size()),
            Widen<char16_t>(c.text));
  EXPECT_EQ(
      ReadBlock(Widen<wchar_t>(c.block), sizeof(wchar_t) * c.block.size()),
      Widen<wchar_t>(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, TextFromBlockTest,
    testing::Values(BlockCase{"", ""}, BlockCase{std::string(1, '\0'), ""},
                    BlockCase{"alpha", "alpha"},
                    BlockCase{std::string("alpha\0", 6), "alpha"},
                    BlockCase{std::string("al\0pha\0", 7), "al"},
                    BlockCase{"\x82\xA0\xFF\x01", "\x82\xA0\xFF\x01"}));

// Every length and every place of the NUL, around the word-sized steps, with
// units that look like NUL to a careless word test: for UTF-16, units with a
// zero byte, high bits or a surrogate.
template <class Unit>
void ExpectFirstNulFound(std::initializer_list<Unit> fillers) {
  for (const Unit filler : fillers)
    for (std::size_t count = 0; count < 20; ++count)
      for (std::size_t nul = 0; nul <= count; ++nul) {
        std::basic_string<Unit> units(count, filler);
        if (nul < count)
          units[nul] = Unit();
        EXPECT_EQ(ReadBlock(units, count * sizeof(Unit)), units.substr(0, nul));
      }
}

TEST(TextFromBlock, FindsTheFirstNulWherever) {
  ExpectFirstNulFound<char>({'a', '\x80', '\x01', '\xFF'});
  ExpectFirstNulFound<char16_t>({u'a', 0x0100, 0x8000, 0xFFFF, 0xD83D});
}

// A unit cut in half at the end of the block is no unit.
TEST(TextFromBlock, IgnoresAPartialUnit) {
  EXPECT_EQ(ReadBlock(std::u16string(u"abc"), 5), u"ab");
}

// The block is exactly both texts' length plus one unit: the address
// sanitizer catches a write past it.
template <class Unit> void ExpectBlockFilled(Unit filler) {
  for (std::size_t first = 0; first < 10; ++first)
    for (std::size_t second = 0; second < 10; ++second) {
      const std::basic_string<Unit> text(first, Unit('a')),
          more(second, filler);
      std::unique_ptr<Unit[]> block(new Unit[first + second + 1]);
      FillBlock(block.get(), text, more);
      EXPECT_EQ(std::basic_string<Unit>(block.get(), first + second + 1),
                text + more + Unit());
    }
}

TEST(FillBlock, JoinsBothTextsAndEndsWithNul) {
  ExpectBlockFilled<char>('\x82');
  ExpectBlockFilled<char16_t>(0xD83D);
}

TEST(TextFromBlock, NoBytesIsEmpty) {
  EXPECT_EQ(TextFromBlock(static_cast<const char *>(nullptr), 100), "");
  EXPECT_EQ(TextFromBlock(static_cast<const char16_t *>(nullptr), 100), u"");
}

} // namespace
