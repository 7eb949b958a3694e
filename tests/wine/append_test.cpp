// The append and copy-only paths: the tool run as a process over the
// stand-in editor.

#include "clipboard_access.h"
#include "editor.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// "漢字テキスト" and "かな" in code page 932.
const std::string KanjiBytes =
    "\x8A\xBF\x8E\x9A\x83\x65\x83\x4C\x83\x58\x83\x67";
const std::string KanaBytes = "\x82\xA9\x82\xC8";

// CF_TEXT and the formats the system derives from it, and nothing else.
void ExpectOnlyTextFormats() {
  const std::set<UINT> derived = {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT,
                                  CF_LOCALE};
  for (UINT format : ClipboardFormats())
    if (derived.count(format) == 0)
      ADD_FAILURE() << "unexpected clipboard format " << format;
  EXPECT_TRUE(ClipboardHasFormat(CF_TEXT));
}

} // namespace

TEST(Run, AppendsTheSelectionToTheClipboardText) {
  struct Case {
    const char *what;
    std::string prior; // CF_TEXT block as placed, NULs included
    std::string editorText;
    int selectionStart, selectionEnd;
    bool ignoreCopy;
    std::string expected;
  };
  const Case cases[] = {
      {"plain", std::string("alpha\0", 6), "beta", 0, 4, false, "alphabeta"},
      {"part of the text", std::string("alpha\0", 6), "one beta two", 4, 8,
       false, "alphabeta"},
      {"empty prior text", std::string("\0", 1), "beta", 0, 4, false, "beta"},
      {"text after a NUL is not text", std::string("ab\0cd\0", 6), "beta", 0, 4,
       false, "abbeta"},
      {"line ends untouched", std::string("a\r\nb\n\0", 7), "c\r\nd", 0, 4,
       false, "a\r\nb\nc\r\nd"},
      {"double-byte text", KanaBytes + '\0', KanjiBytes, 0, 6, false,
       KanaBytes + KanjiBytes},
      // The clipboard did not change: nothing is written.
      {"control ignores the request", std::string("alpha\0", 6), "beta", 0, 4,
       true, "alpha"},
      {"nothing selected", std::string("alpha\0", 6), "beta", 2, 2, false,
       "alpha"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SetClipboardItems({{CF_TEXT, c.prior}});
    EditorOptions options =
        Selecting(c.editorText, c.selectionStart, c.selectionEnd);
    options.ignoreCopyAndCut = c.ignoreCopy;
    Editor editor(options);
    const DWORD before = GetClipboardSequenceNumber();
    EXPECT_EQ(RunToolToEnd(), 0ul);
    EXPECT_EQ(ClipboardTextBytes(), c.expected);
    EXPECT_EQ(editor.copyRequests, 1l);
    EXPECT_EQ(editor.cutRequests, 0l);
    EXPECT_EQ(editor.Text(), c.editorText);
    ExpectOnlyTextFormats();
    // Nobody wrote the clipboard unless the editor copied something.
    const bool copied = !c.ignoreCopy && c.selectionStart != c.selectionEnd;
    EXPECT_EQ(GetClipboardSequenceNumber() != before, copied);
  }
}

TEST(Run, AppendLeavesOnlyTheToolsText) {
  SetClipboardBytes("alpha");
  EditorOptions options = Selecting("gamma delta", 6);
  options.richEdit = true;
  Editor editor(options);
  EXPECT_EQ(RunToolToEnd(), 0ul);
  EXPECT_EQ(ClipboardTextBytes(), std::string("alphadelta"));
  ExpectOnlyTextFormats();
}

TEST(Run, WithoutPriorTextTheEditorsCopyStays) {
  const UINT richText = RegisterClipboardFormatA("Rich Text Format");
  const std::vector<std::vector<ClipboardItem>> before = {
      {}, {{TestFormat(), "data"}}};
  for (const auto &items : before) {
    SCOPED_TRACE(items.size());
    SetClipboardItems(items);
    EditorOptions options = Selecting("gamma delta", 6);
    options.richEdit = true;
    Editor editor(options);
    EXPECT_EQ(RunToolToEnd(), 0ul);
    EXPECT_EQ(ClipboardTextBytes(), std::string("delta"));
    // The tool wrote nothing: the editor's rich text is still there.
    EXPECT_TRUE(ClipboardHasFormat(richText));
    EXPECT_TRUE(!ClipboardHasFormat(TestFormat()));
    EXPECT_EQ(editor.copyRequests, 1l);
  }
}

// A copy that places no text, such as a picture or an object, stays as the
// editor placed it: under "/x" it is the only copy of what was cut.
TEST(Run, ACopyWithoutTextStaysAsPlaced) {
  struct Case {
    const char *arguments;
    bool priorText;
    std::string editorAfter;
  };
  const Case cases[] = {{"", true, "beta"},
                        {"/x", true, ""},
                        {"/r", true, "beta"},
                        {"/r", false, "beta"}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.arguments) +
                 (c.priorText ? " after alpha" : ""));
    if (c.priorText)
      SetClipboardBytes("alpha");
    else
      SetClipboardItems({});
    EditorOptions options = Selecting("beta");
    options.copyWithoutText = true;
    Editor editor(options);
    EXPECT_EQ(RunToolToEnd(c.arguments), 0ul);
    EXPECT_EQ(ClipboardFormats(), std::vector<UINT>{TestFormat()});
    EXPECT_EQ(ClipboardBytes(TestFormat()), std::string("beta"));
    EXPECT_EQ(editor.Text(), c.editorAfter);
  }
}
