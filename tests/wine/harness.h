#pragma once

// A very small test harness for the tests that run under Wine: the win32
// thread model of the cross compiler has no std::mutex, which GoogleTest needs.

#include <sstream>
#include <string>

using TestFunction = void (*)();
bool RegisterTest(const char *name, TestFunction function);
// Runs every test whose name contains the filter; 0 when all of them pass.
int RunRegisteredTests(const char *filter);
void ReportFailure(const char *file, int line, const std::string &what);

#define WINE_TEST(name)                                                        \
  static void name();                                                          \
  static const bool name##Registered = RegisterTest(#name, name);              \
  static void name()

// Shows both values on failure; strings are shown with their bytes escaped.
std::string Show(const std::string &value);
template <class T> std::string Show(const T &value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

#define EXPECT_EQ(actual, expected)                                            \
  do {                                                                         \
    const auto &actual_ = (actual);                                            \
    const auto &expected_ = (expected);                                        \
    if (!(actual_ == expected_))                                               \
      ReportFailure(__FILE__, __LINE__,                                        \
                    std::string(#actual " is ") + Show(actual_) +              \
                        ", expected " + Show(expected_));                      \
  } while (0)

#define EXPECT_TRUE(condition)                                                 \
  do {                                                                         \
    if (!(condition))                                                          \
      ReportFailure(__FILE__, __LINE__, "expected " #condition);               \
  } while (0)
