// The runtime-error report's text, natively.

#include "common/runtime_error_text.h"

#include <gtest/gtest.h>

namespace {

struct ErrorCase {
  unsigned number;
  std::uint32_t address;
  const char *text;
};

class RuntimeErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(RuntimeErrorTest, FillsTheTemplate) {
  char text[RuntimeErrorTextSize];
  FormatRuntimeError(GetParam().number, GetParam().address, text);
  EXPECT_STREQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, RuntimeErrorTest,
    testing::Values(ErrorCase{216, 0x1A2B, "Runtime error 216 at 00001A2B"},
                    ErrorCase{203, 0, "Runtime error 203 at 00000000"},
                    ErrorCase{203, 0xFFFFFFFF, "Runtime error 203 at FFFFFFFF"},
                    ErrorCase{0, 0xABCDEF, "Runtime error   0 at 00ABCDEF"},
                    ErrorCase{5, 1, "Runtime error   5 at 00000001"},
                    ErrorCase{9999, 16, "Runtime error9999 at 00000010"},
                    // More digits than fit: only the last four are shown.
                    ErrorCase{123456, 16, "Runtime error3456 at 00000010"}));

} // namespace
