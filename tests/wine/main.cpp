#include "harness.h"

#include <windows.h>

#include <cstdio>

// The only argument, if any, picks the tests whose names contain it.
int main(int argc, char **argv) {
  // Double-byte cases are only meaningful under code page 932.
  std::printf("ANSI code page %u\n", GetACP());
  return RunRegisteredTests(argc > 1 ? argv[1] : "");
}
