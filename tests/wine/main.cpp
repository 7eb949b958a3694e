// The Wine tests' entry: the tool's folder from the arguments, then the tests.

#include "tool_run.h"

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  TakeToolDirectory(argc, argv);
  // Double-byte cases are only meaningful under code page 932.
  std::printf("Testing the %s build in %s, ANSI code page %u\n",
              sizeof(void *) == 8 ? "x64" : "32-bit",
              ToolDirectory.empty() ? "this program's folder"
                                    : ToolDirectory.c_str(),
              GetACP());
  return RUN_ALL_TESTS();
}
