// Line-end completion, natively.

#include "driver/line_ends.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
  std::string text;
  bool endsWithLineBreak;
  std::string completed;
};

class LineEndsTest : public testing::TestWithParam<LineCase> {};

// Bytes and UTF-16 units alike.
TEST_P(LineEndsTest, CompletesOnlyWhatLacksCrLf) {
  const LineCase &c = GetParam();
  EXPECT_EQ(EndsWithLineBreak(c.text), c.endsWithLineBreak);
  std::string text = c.text;
  CompleteLine(text);
  EXPECT_EQ(text, c.completed);
  const std::u16string units(c.text.begin(), c.text.end());
  EXPECT_EQ(EndsWithLineBreak(units), c.endsWithLineBreak);
  std::u16string completed = units;
  CompleteLine(completed);
  EXPECT_EQ(completed, std::u16string(c.completed.begin(), c.completed.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineEndsTest,
    testing::Values(LineCase{"", false, "\r\n"},
                    LineCase{"\r", false, "\r\r\n"},
                    LineCase{"\n", false, "\n\r\n"},
                    LineCase{"\r\n", true, "\r\n"},
                    LineCase{"\n\r", false, "\n\r\r\n"},
                    LineCase{"alpha", false, "alpha\r\n"},
                    LineCase{"alpha\n", false, "alpha\n\r\n"},
                    LineCase{"alpha\r", false, "alpha\r\r\n"},
                    LineCase{"alpha\r\n", true, "alpha\r\n"},
                    LineCase{"alpha\r\n\r\n", true, "alpha\r\n\r\n"}));

} // namespace
