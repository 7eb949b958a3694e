// The tool with system calls made to answer otherwise than the desktop
// would: a clipboard that cannot be had or cannot be emptied, a fault that
// the system raises and handles itself, and a UTF-8 system code page.

#include "clipboard/clipboard_text.h"
#include "clipboard_access.h"
#include "editor.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

TEST(Faults, AClipboardThatCannotBeHadCostsNoText) {
  struct Case {
    const char *what;
    // The hooked call (for opens: how many succeed, then how long they
    // fail) and the tool's switches.
    const char *arguments;
    bool priorText;
    long requests; // copy or cut requests the editor gets
    std::string clipboard;
    std::string editorAfter;
    DWORD waited; // the bound of the operation that gave up
    // Under emulation no access violation reaches Wine as one (fault_test.cpp
    // says why), so a row that needs one raised is left out there.
    bool raisesAccessViolation = false;
  };
  const Case cases[] = {
      // Before the request: the run ends, having changed nothing.
      {"first read", "unopenable 0", true, 0, "alpha", "beta",
       ClipboardWaitLimit},
      // After it: the editor's copy stays, so the cut text is not lost.
      {"second read of a cut", "unopenable 1 /x", true, 1, "beta", "",
       CollectedWaitLimit},
      {"write", "unopenable 2", true, 1, "beta", "beta", CollectedWaitLimit},
      {"read of the copy to end as a line", "unopenable 1 /r", false, 1, "beta",
       "beta", CollectedWaitLimit},
      // Taken for a while after the request: the tool waits on and collects.
      {"second read of a cut, taken for 1.5 s", "unopenable 1 1500 /x", true, 1,
       "alphabeta", "", 0},
      {"second read, taken for 3 s", "unopenable 1 3000", true, 1, "alphabeta",
       "beta", 0},
      {"read of the copy, taken for 1.5 s", "unopenable 1 1500 /r", false, 1,
       "beta\r\n", "beta", 0},
      // A clipboard that cannot be emptied gets nothing placed among the
      // editor's formats.
      {"write, clipboard not emptied", "unemptiable", true, 1, "beta", "beta",
       0},
      // An access violation that system code raises and handles itself is
      // not the tool's: the run goes on.
      {"a fault the system handles", "system-fault", true, 1, "alphabeta",
       "beta", 0, true},
  };
  // The formats of the editor's copy alone: where the editor's copy stays,
  // it stays as the editor placed it.
  std::vector<UINT> editorsCopy;
  {
    Editor editor(Selecting("beta"));
    SendMessageA(editor.control, WM_COPY, 0, 0);
    editorsCopy = ClipboardFormats();
  }
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    if (c.raisesAccessViolation && !Emulation().empty()) {
      std::printf("row \"%s\" skipped: no access violation can be raised "
                  "under %s\n",
                  c.what, Emulation().c_str());
      continue;
    }
    if (c.priorText)
      SetClipboardBytes("alpha");
    else
      SetClipboardItems({{TestFormat(), "data"}});
    Editor editor(Selecting("beta"));
    const DWORD start = GetTickCount();
    EXPECT_EQ(ToolRun(c.arguments, FaultProgram).Wait(), 0ul);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, c.waited);
    EXPECT_LT(elapsed, std::max<DWORD>(c.waited, 3000) + 3000);
    EXPECT_EQ(editor.copyRequests + editor.cutRequests, c.requests);
    EXPECT_EQ(ClipboardTextBytes(), c.clipboard);
    if (c.clipboard == "beta")
      EXPECT_EQ(ClipboardFormats(), editorsCopy);
    EXPECT_EQ(editor.Text(), c.editorAfter);
  }
}

TEST(Faults, UnderUtf8TheUnicodeTextIsAlwaysWritten) {
  // No locale has code page 65001 as its own, so no CF_LOCALE can tell
  // Unicode programs what the bytes say: the tool writes the Unicode text
  // beside them, converted from them.
  const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC"; // "日本" in UTF-8
  SetClipboardBytes(nihon);
  Editor editor(Selecting("beta"));
  EXPECT_EQ(ToolRun("utf8", FaultProgram).Wait(), 0ul);
  EXPECT_EQ(ClipboardTextBytes(), nihon + "beta");
  EXPECT_EQ(ClipboardUnicode(), std::wstring(L"\u65E5\u672Cbeta"));
  const std::vector<UINT> formats = ClipboardFormats();
  EXPECT_TRUE(!formats.empty() && formats[0] == CF_UNICODETEXT);
}
