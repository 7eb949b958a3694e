#include "harness.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Test {
  const char *name;
  TestFunction function;
};

std::vector<Test> &Tests() {
  static std::vector<Test> tests;
  return tests;
}

int Failures = 0;

} // namespace

bool RegisterTest(const char *name, TestFunction function) {
  Tests().push_back({name, function});
  return true;
}

void ReportFailure(const char *file, int line, const std::string &what) {
  ++Failures;
  std::printf("  %s:%d: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

std::string Show(const std::string &value) {
  std::string shown = "\"";
  for (unsigned char c : value) {
    char escaped[8];
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\')
      shown += static_cast<char>(c);
    else {
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      shown += escaped;
    }
  }
  return shown + "\"";
}

int RunRegisteredTests(const char *filter) {
  int run = 0, failed = 0;
  for (const Test &test : Tests()) {
    if (std::strstr(test.name, filter) == nullptr)
      continue;
    std::printf("[ RUN  ] %s\n", test.name);
    std::fflush(stdout);
    const int before = Failures;
    test.function();
    ++run;
    const bool ok = Failures == before;
    failed += ok ? 0 : 1;
    std::printf("[ %s ] %s\n", ok ? " OK " : "FAIL", test.name);
    std::fflush(stdout);
  }
  std::printf("%d tests, %d failed\n", run, failed);
  return failed == 0 && run > 0 ? 0 : 1;
}
