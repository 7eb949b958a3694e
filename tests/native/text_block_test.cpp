#include "clipboard/text_block.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct BlockCase {
  std::string block; // exactly the block's bytes, NULs included
  std::string text;
};

class TextFromBlockTest : public testing::TestWithParam<BlockCase> {};

TEST_P(TextFromBlockTest, StopsAtNulOrEndOfBlock) {
  // A heap copy of exactly the block's size, so that any read past it is
  // caught by the address sanitizer.
  const BlockCase &c = GetParam();
  std::unique_ptr<char[]> block(new char[c.block.size()]);
  std::copy(c.block.begin(), c.block.end(), block.get());
  EXPECT_EQ(TextFromBlock(block.get(), c.block.size()), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, TextFromBlockTest,
    testing::Values(BlockCase{"", ""}, BlockCase{std::string(1, '\0'), ""},
                    BlockCase{"alpha", "alpha"},
                    BlockCase{std::string("alpha\0", 6), "alpha"},
                    BlockCase{std::string("al\0pha\0", 7), "al"},
                    BlockCase{"\x82\xA0\xFF\x01", "\x82\xA0\xFF\x01"}));

// Every length and every place of the NUL, around the word-sized steps, with
// bytes that look like NUL to a careless word test.
TEST(TextFromBlock, FindsTheFirstNulWherever) {
  for (const char filler : {'a', '\x80', '\x01', '\xFF'})
    for (std::size_t size = 0; size < 20; ++size)
      for (std::size_t nul = 0; nul <= size; ++nul) {
        std::string bytes(size, filler);
        if (nul < size)
          bytes[nul] = '\0';
        std::unique_ptr<char[]> block(new char[size]);
        std::copy(bytes.begin(), bytes.end(), block.get());
        EXPECT_EQ(TextFromBlock(block.get(), size), bytes.substr(0, nul));
      }
}

// The block is exactly both texts' length plus one: the address sanitizer
// catches a write past it.
TEST(FillBlock, JoinsBothTextsAndEndsWithNul) {
  for (std::size_t first = 0; first < 10; ++first)
    for (std::size_t second = 0; second < 10; ++second) {
      const std::string text(first, 'a'), more(second, '\x82');
      std::unique_ptr<char[]> block(new char[first + second + 1]);
      FillBlock(block.get(), text, more);
      EXPECT_EQ(std::string(block.get(), first + second + 1),
                text + more + '\0');
    }
}

TEST(TextFromBlock, NoBytesIsEmpty) {
  EXPECT_EQ(TextFromBlock(nullptr, 100), "");
}

} // namespace
