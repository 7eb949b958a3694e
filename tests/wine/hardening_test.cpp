// The tool under conditions a desktop can make hard: a clipboard that never
// rests, a clipboard manager, an owner that renders late, and large texts.

#include "clipboard_access.h"
#include "clipboard_programs.h"
#include "editor.h"
#include "tool_run.h"

#include <gtest/gtest.h>

namespace {

// Every byte value but NUL.
std::string AnyBytes(std::size_t size) {
  std::string text(size, ' ');
  for (std::size_t i = 0; i < size; ++i)
    text[i] = static_cast<char>(1 + (i * 7) % 255);
  return text;
}

// Lines of printable ASCII, which the edit control keeps as they are.
std::string AsciiLines(std::size_t size) {
  std::string text(size, ' ');
  for (std::size_t i = 0; i < size; ++i)
    text[i] = i % 80 == 78   ? '\r'
              : i % 80 == 79 ? '\n'
                             : static_cast<char>('!' + (i * 7) % 94);
  return text;
}

} // namespace

TEST(Hardening, SurvivesAClipboardRewrittenWithoutRest) {
  Editor editor(Selecting("beta"));
  ClipboardThread rewriter(RewriteWithoutRest);
  for (int run = 0; run < 30; ++run)
    EXPECT_EQ(RunToolToEnd(run % 3 == 0 ? "/r" : ""), 0ul);
  RecordProperty("rewrites", static_cast<int>(rewriter.rounds));
  EXPECT_TRUE(rewriter.rounds > 30);
}

TEST(Hardening, LosesNothingToAClipboardManager) {
  ClipboardThread manager(ReadEveryChange);
  const std::wstring unicode = L"caf\u00e9 \U0001F600";
  struct Case {
    const char *arguments;
    std::vector<ClipboardItem> prior;
    std::string text;     // CF_TEXT afterwards
    std::wstring written; // CF_UNICODETEXT, where the tool writes it
  };
  const Case cases[] = {
      {"", {TextItem("alpha")}, "alphabeta", L""},
      {"/x", {TextItem("alpha")}, "alphabeta", L""},
      {"/r", {TextItem("alpha")}, "alpha\r\nbeta\r\n", L""},
      {"/r", {}, "beta\r\n", L""},
      {"",
       {UnicodeItem(unicode)},
       TextDerivedFrom(unicode) + "beta",
       unicode + L"beta"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.arguments + testing::PrintToString(c.text));
    for (int run = 0; run < 25; ++run) {
      SetClipboardItems(c.prior);
      Editor editor(Selecting("beta"));
      EXPECT_EQ(RunToolToEnd(c.arguments), 0ul);
      EXPECT_EQ(ClipboardTextBytes(), c.text);
      if (!c.written.empty())
        EXPECT_EQ(ClipboardUnicode(), c.written);
    }
  }
  RecordProperty("reads", static_cast<int>(manager.rounds));
  EXPECT_TRUE(manager.rounds > 100);
}

// The owner answers from a thread of its own while the tool runs.
TEST(Hardening, ReadsTextRenderedLate) {
  struct Case {
    const char *what;
    ClipboardThread::Body owner;
    const char *arguments;
    long requests;
    std::string text; // the clipboard's afterwards
    std::string editorAfter;
  };
  const Case cases[] = {
      {"rendered on request", OwnRenderingLate, "", 1, "alphabeta", "beta"},
      // Neither a text to append to nor the absence of one: the run ends
      // before asking the editor, rather than put its copy in the text's
      // place.
      {"rendering fails", OwnFailingToRender, "", 0, "", "beta"},
      // Listed with no window to render it, it can never be had: it counts
      // as no text, rather than stop every run until something else is
      // copied.
      {"no owner to render", ListWithoutOwner, "/x", 1, "beta", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ClipboardThread owner(c.owner);
    const std::vector<UINT> formats = ClipboardFormats();
    Editor editor(Selecting("beta"));
    EXPECT_EQ(RunToolToEnd(c.arguments), 0ul);
    EXPECT_EQ(editor.copyRequests + editor.cutRequests, c.requests);
    if (c.requests == 0)
      EXPECT_EQ(ClipboardFormats(), formats);
    else
      EXPECT_EQ(ClipboardTextBytes(), c.text);
    EXPECT_EQ(editor.Text(), c.editorAfter);
  }
}

TEST(Hardening, AppendsLargeTextsByteForByte) {
  const std::string prior = AnyBytes(64u << 20);
  const std::string selection = AsciiLines(1u << 20);
  SetClipboardBytes(prior);
  Editor editor(Selecting(selection));
  EXPECT_EQ(RunToolToEnd(), 0ul);
  const std::string result = ClipboardTextBytes();
  EXPECT_EQ(result.size(), prior.size() + selection.size());
  EXPECT_TRUE(result == prior + selection);
}
