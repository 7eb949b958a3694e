// The tool started with exact command lines over the stand-in editor.

#include "clipboard_access.h"
#include "editor.h"
#include "tool_run.h"

#include <gtest/gtest.h>

TEST(Switches, ClearEmptiesTheClipboardAndDoesNothingElse) {
  for (const char *arguments : {"/c", "/C", "/c /x /r", "/r /X /C", "\"/c\"",
                                "/\"c\"", "\"\" /c", "a b /c"}) {
    SCOPED_TRACE(arguments);
    SetClipboardItems({TextItem("alpha"), {TestFormat(), "data"}});
    Editor editor(Selecting("one beta two", 4, 8));
    EXPECT_EQ(RunToolToEnd(arguments), 0ul);
    EXPECT_TRUE(ClipboardFormats().empty());
    EXPECT_EQ(editor.copyRequests + editor.cutRequests, 0l);
    EXPECT_EQ(editor.Text(), std::string("one beta two"));
  }
}

TEST(Switches, WhatIsNoSwitchIsIgnored) {
  for (const char *arguments : {"-c", "c", "/clear", "/c/x", "/c,", "\"/c /x",
                                "x /\"c /r\"", "\"\"\" /c"}) {
    SCOPED_TRACE(arguments);
    SetClipboardBytes("alpha");
    Editor editor(Selecting("one beta two", 4, 8));
    EXPECT_EQ(RunToolToEnd(arguments), 0ul);
    EXPECT_EQ(ClipboardTextBytes(), std::string("alphabeta"));
    EXPECT_EQ(editor.copyRequests, 1l);
    EXPECT_EQ(editor.cutRequests, 0l);
  }
}

TEST(Switches, CutRemovesTheSelectionAndAppendsIt) {
  for (const char *arguments : {"/x", "/X", "/x /x", "\"/x\""}) {
    SCOPED_TRACE(arguments);
    SetClipboardBytes("alpha");
    Editor editor(Selecting("one beta two", 4, 8));
    EXPECT_EQ(RunToolToEnd(arguments), 0ul);
    EXPECT_EQ(ClipboardTextBytes(), std::string("alphabeta"));
    EXPECT_EQ(editor.Text(), std::string("one  two"));
    EXPECT_EQ(editor.cutRequests, 1l);
    EXPECT_EQ(editor.copyRequests, 0l);
  }
}

TEST(Switches, LineEndsCompleteBothTexts) {
  struct Case {
    const char *arguments;
    std::string prior;
    std::string editorText;
    int selectionEnd;
    bool ignoreCopy;
    std::string expected;
    std::string editorAfter;
  };
  const Case cases[] = {
      {"/r", "alpha", "beta", 4, false, "alpha\r\nbeta\r\n", "beta"},
      {"/R", "alpha", "beta", 4, false, "alpha\r\nbeta\r\n", "beta"},
      {"/r", "alpha\r\n", "beta\r\nx", 6, false, "alpha\r\nbeta\r\n",
       "beta\r\nx"},
      {"/r", "", "beta", 4, false, "\r\nbeta\r\n", "beta"},
      {"/r", "alpha\n", "beta\r", 5, false, "alpha\n\r\nbeta\r\r\n", "beta\r"},
      // Nothing copied, so nothing is written.
      {"/r", "alpha", "beta", 4, true, "alpha", "beta"},
      {"/r", "alpha", "beta", 0, false, "alpha", "beta"},
      {"/r /x", "alpha", "beta", 0, false, "alpha", "beta"},
      {"/r /x", "alpha", "beta gamma", 5, false, "alpha\r\nbeta \r\n", "gamma"},
      {"/X /r /R", "alpha", "beta gamma", 5, false, "alpha\r\nbeta \r\n",
       "gamma"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.arguments + (" over " + testing::PrintToString(c.prior)));
    SetClipboardBytes(c.prior);
    EditorOptions options = Selecting(c.editorText, 0, c.selectionEnd);
    options.ignoreCopyAndCut = c.ignoreCopy;
    Editor editor(options);
    EXPECT_EQ(RunToolToEnd(c.arguments), 0ul);
    EXPECT_EQ(ClipboardTextBytes(), c.expected);
    EXPECT_EQ(editor.Text(), c.editorAfter);
  }
}

TEST(Switches, LineEndsWithoutPriorText) {
  struct Case {
    const char *what;
    std::string editorText;
    int selectionEnd;
    bool ignoreCopy;
    std::string expected;
    bool editorsCopyStays;
  };
  const Case cases[] = {
      {"copy without line end", "beta", 4, false, "beta\r\n", false},
      {"copy ending in CR LF", "beta\r\nx", 6, false, "beta\r\n", true},
      {"copy ending in LF", "beta\nx", 5, false, "beta\n\r\n", false},
      {"nothing copied", "beta", 4, true, "", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SetClipboardItems({{TestFormat(), "data"}});
    EditorOptions options = Selecting(c.editorText, 0, c.selectionEnd);
    options.ignoreCopyAndCut = c.ignoreCopy;
    Editor editor(options);
    EXPECT_EQ(RunToolToEnd("/r"), 0ul);
    EXPECT_EQ(ClipboardTextBytes(), c.expected);
    // Untouched when nothing was copied; replaced by the copy otherwise.
    EXPECT_EQ(ClipboardBytes(TestFormat()), c.ignoreCopy ? "data" : "");
    // The editor's copy leaves the control as the clipboard's owner; the
    // tool writes without one.
    EXPECT_EQ(GetClipboardOwner() == editor.control, c.editorsCopyStays);
  }
}
