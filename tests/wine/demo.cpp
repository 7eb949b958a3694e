// Shows the tool's main job on a headless desktop: the stand-in editor with a
// selection, and the clipboard before and after each run of the tool.

#include "clipboard_access.h"
#include "editor.h"
#include "tool_run.h"

#include <cstdio>

namespace {

void ShowClipboard(const char *when) {
  std::printf("  clipboard %-22s \"%s\"\n", when, ClipboardTextBytes().c_str());
}

void RunOver(const char *text, int start, int end) {
  Editor editor(Selecting(text, start, end));
  std::printf("\nInkslab holds \"%s\" with \"%.*s\" selected\n", text,
              end - start, text + start);
  ShowClipboard("before velmora.exe:");
  const DWORD code = RunToolToEnd();
  ShowClipboard("after velmora.exe:");
  std::printf("  velmora.exe exit code %lu\n", code);
}

} // namespace

int main(int argc, char **argv) {
  TakeToolDirectory(argc, argv);
  SetClipboardBytes("Collected: ");
  RunOver("The quick brown fox", 4, 10);
  RunOver("jumps over the lazy dog", 15, 23);
  return 0;
}
