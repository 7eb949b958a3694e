// Focus lookup and copy or cut requests against a real edit control.

#include "clipboard_access.h"
#include "editor.h"

#include "host/host_window.h"
#include <gtest/gtest.h>

TEST(Host, FindsTheFocusedControlAndLetsGoOfItsThread) {
  Editor editor(Selecting("beta"));
  EXPECT_EQ(GetFocusedControl(editor.window), editor.control);
  // Joined to the editor's input state, this thread would see its focus.
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetFocusedControl(nullptr), nullptr);
}

TEST(Host, SendsCopyOrCutToTheControl) {
  for (bool cut : {false, true}) {
    SetClipboardBytes("alpha");
    Editor editor(Selecting("one beta two", 4, 8));
    SendCopyOrCut(editor.control, cut);
    // The request is synchronous: the clipboard already holds the copy.
    EXPECT_EQ(ClipboardTextBytes(), std::string("beta"));
    EXPECT_EQ(editor.Text(), std::string(cut ? "one  two" : "one beta two"));
    EXPECT_EQ(editor.copyRequests, cut ? 0l : 1l);
    EXPECT_EQ(editor.cutRequests, cut ? 1l : 0l);
  }
}
