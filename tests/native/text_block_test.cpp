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

TEST(TextFromBlock, NoBytesIsEmpty) {
  EXPECT_EQ(TextFromBlock(nullptr, 100), "");
}

} // namespace
