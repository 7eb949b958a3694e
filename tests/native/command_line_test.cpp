// The command-line splitter and switch matching, natively.

#include "ascii_lower.h"
#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Parameters = std::vector<std::string>;

// The command line in a heap block of exactly its size, NUL included, so
// that the address sanitizer catches any read past its end.
std::unique_ptr<char[]> HeapLine(const std::string &line) {
  std::unique_ptr<char[]> copy(new char[line.size() + 1]);
  std::copy(line.begin(), line.end(), copy.get());
  copy[line.size()] = '\0';
  return copy;
}

struct SplitCase {
  const char *what;
  std::string line;
  Parameters parameters; // after the program name
};

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, CountAndParametersAgree) {
  const SplitCase &c = GetParam();
  const auto line = HeapLine(c.line);
  ASSERT_EQ(ParameterCount(line.get()), static_cast<int>(c.parameters.size()));
  for (std::size_t i = 0; i < c.parameters.size(); ++i)
    EXPECT_EQ(ParameterAt(line.get(), static_cast<int>(i + 1)),
              c.parameters[i]);
  const int past = static_cast<int>(c.parameters.size()) + 1;
  EXPECT_EQ(ParameterAt(line.get(), past), "");
  EXPECT_EQ(ParameterAt(line.get(), 1 << 30), "");
}

const std::string Long(300, 'a');

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitTest,
    testing::Values(
        SplitCase{"empty line", "", {}},
        SplitCase{"program name only", "velmora.exe", {}},
        SplitCase{"trailing blanks", "velmora.exe   \t ", {}},
        SplitCase{"plain", "velmora.exe /c /x", {"/c", "/x"}},
        SplitCase{"quoted program name with blanks",
                  "\"C:\\Program Files\\velmora.exe\" /r",
                  {"/r"}},
        SplitCase{"control bytes are blanks",
                  "v\x01/c\x1F/x\x20/r",
                  {"/c", "/x", "/r"}},
        SplitCase{"quoted whole", "v \"/c\"", {"/c"}},
        SplitCase{"quoted part", "v /\"c\"", {"/c"}},
        SplitCase{"quotes inside", "v a\"b c\"d e", {"ab cd", "e"}},
        SplitCase{"adjacent quoted parts", "v \"a\"\"b\"", {"ab"}},
        SplitCase{"lone pair between blanks", "v /c \"\" /x", {"/c", "/x"}},
        SplitCase{"pairs before a parameter", "v \"\"\"\"/r", {"/r"}},
        SplitCase{"pair at the end", "v /c \"\"", {"/c"}},
        SplitCase{"lone quote at the end", "v /c \"", {"/c"}},
        SplitCase{"unclosed quote takes the rest", "v \"/x /r", {"/x /r"}},
        SplitCase{"three quotes", "v \"\"\" /c", {" /c"}},
        SplitCase{
            "high bytes", "v \x82\xA0 \xFF\x80", {"\x82\xA0", "\xFF\x80"}},
        SplitCase{
            "long parameter kept whole", "v " + Long + " /c", {Long, "/c"}},
        SplitCase{
            "long program name", "\"" + Long + " " + Long + "\" /c", {"/c"}},
        SplitCase{"long quoted parameter",
                  "v \"" + Long + "\"x /c",
                  {Long + "x", "/c"}}));

struct SwitchCase {
  std::string line;
  const char *switchText;
  bool found;
};

class SwitchTest : public testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchTest, MatchesWholeParametersInAnyCase) {
  const SwitchCase &c = GetParam();
  const auto line = HeapLine(c.line);
  EXPECT_EQ(HasSwitchIn(line.get(), c.switchText, AsciiLowerCopy), c.found)
      << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SwitchTest,
    testing::Values(
        SwitchCase{"v /c", "/c", true}, SwitchCase{"v /C", "/c", true},
        SwitchCase{"v /x /R", "/r", true}, SwitchCase{"v /r /x /r", "/x", true},
        SwitchCase{"v \"/c\"", "/c", true}, SwitchCase{"v /\"C\"", "/c", true},
        SwitchCase{"v \"\" /c", "/c", true}, SwitchCase{"v", "/c", false},
        SwitchCase{"/c", "/c", false}, // the program name
        SwitchCase{"\"/c\" /x", "/c", false}, SwitchCase{"v -c", "/c", false},
        SwitchCase{"v c", "/c", false}, SwitchCase{"v /clear", "/c", false},
        SwitchCase{"v /c/x", "/c", false}, SwitchCase{"v /c/x", "/x", false},
        SwitchCase{"v /c,", "/c", false}, SwitchCase{"v / c", "/c", false},
        SwitchCase{"v \"a /c", "/c", false},
        SwitchCase{"v \"\"\" /c", "/c", false},
        SwitchCase{"v " + std::string(300, 'x') + "/c", "/c", false}));

} // namespace
