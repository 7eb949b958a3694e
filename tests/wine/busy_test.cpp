// Runs that meet a clipboard another program holds, and runs that meet each
// other: the tool run as a process over the stand-in editor.

#include "clipboard/clipboard_text.h"
#include "clipboard_access.h"
#include "clipboard_programs.h"
#include "editor.h"
#include "tool_run.h"

#include <gtest/gtest.h>

TEST(Run, WaitsWhileAnotherWindowHoldsTheClipboard) {
  SetClipboardBytes("alpha");
  Editor editor(Selecting("beta"));
  ClipboardThread holder(HoldClipboardOpen);
  ToolRun run("");
  Sleep(1000);
  EXPECT_TRUE(run.Running());
  EXPECT_EQ(editor.copyRequests, 0l);
  holder.Stop();
  EXPECT_EQ(run.Wait(), 0ul);
  EXPECT_EQ(ClipboardTextBytes(), std::string("alphabeta"));
}

TEST(Run, GivesUpOnAClipboardThatStaysHeld) {
  SetClipboardBytes("alpha");
  Editor editor(Selecting("beta"));
  ClipboardThread holder(HoldClipboardOpen);
  // The first read gives up, and the run ends before asking the editor for
  // anything.
  const DWORD start = GetTickCount();
  EXPECT_EQ(RunToolToEnd(), 0ul);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, ClipboardWaitLimit);
  EXPECT_LT(elapsed, ClipboardWaitLimit + 3000);
  holder.Stop();
  EXPECT_EQ(editor.copyRequests, 0l);
  EXPECT_EQ(ClipboardTextBytes(), std::string("alpha"));
}

// Only the program that has the clipboard open can empty it: "/c" waits for
// a holder as the reads do, and gives up after the same bound.
TEST(Run, ClearWaitsForTheClipboardWithinTheBound) {
  struct Case {
    const char *what;
    DWORD held; // milliseconds
    std::string after;
    DWORD waited; // at least
  };
  const Case cases[] = {
      {"held for a moment", 300, "", 300},
      {"held beyond the bound", ClipboardWaitLimit + 3000, "alpha",
       ClipboardWaitLimit},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SetClipboardBytes("alpha");
    Editor editor(Selecting("beta"));
    ClipboardThread holder(HoldClipboardOpen);
    const DWORD start = GetTickCount();
    ToolRun run("/c");
    WaitForSingleObject(run.process.hProcess, c.held);
    holder.Stop();
    EXPECT_EQ(run.Wait(), 0ul);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, c.waited);
    EXPECT_LT(elapsed, c.waited + 2000);
    EXPECT_EQ(ClipboardTextBytes(), c.after);
    EXPECT_EQ(editor.copyRequests, 0l);
  }
}

// A double-pressed Tools key: the second run starts while the first is under
// way, together or a little later, also while the first waits for a
// clipboard that the editor holds after its copy for longer than a turn's
// wait once was, but within the bound of the read of the copy.
TEST(Run, RunsStartedTogetherCollectEverySelection) {
  struct Case {
    const char *what;
    int pairs;
    DWORD delay;         // milliseconds between the starts
    DWORD holdAfterCopy; // milliseconds
  };
  const Case cases[] = {
      {"together", 20, 0, 0},
      {"30 ms apart", 4, 30, 0},
      {"the clipboard held 8 s after each copy", 1, 0, 8000},
  };
  for (const Case &c : cases)
    for (int pair = 0; pair < c.pairs; ++pair) {
      SCOPED_TRACE(c.what);
      SCOPED_TRACE(pair);
      SetClipboardBytes("alpha");
      EditorOptions options = Selecting("beta");
      options.holdAfterCopy = c.holdAfterCopy;
      Editor editor(options);
      {
        ToolRun first("");
        Sleep(c.delay);
        ToolRun second("");
        EXPECT_EQ(first.Wait(), 0ul);
        EXPECT_EQ(second.Wait(), 0ul);
      }
      EXPECT_EQ(ClipboardTextBytes(), std::string("alphabetabeta"));
    }
}
