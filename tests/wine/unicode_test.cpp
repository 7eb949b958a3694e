// Unicode text: what Unicode programs placed is kept beside the bytes the
// tool collects.

#include "clipboard_access.h"
#include "editor.h"
#include "tool_run.h"

#include <gtest/gtest.h>

namespace {

// "漢字テキスト" in code page 932.
const std::string KanjiBytes =
    "\x8A\xBF\x8E\x9A\x83\x65\x83\x4C\x83\x58\x83\x67";

// The formats after a lone CF_TEXT block was written.
std::vector<UINT> FormatsOfText() {
  SetClipboardBytes("x");
  return ClipboardFormats();
}

} // namespace

TEST(Run, KeepsTheUnicodeTextOfUnicodePrograms) {
  // Characters code page 932 lacks (Latin with a diacritic, a symbol, an
  // emoji as a surrogate pair, Hangul), and Japanese, which it has.
  const std::wstring prior = L"caf\u00e9 \u2603 \U0001F600 \uD55C \u65E5\u672C";
  const std::wstring copy = L"x\U0001F600\u00e9";
  const std::string priorBytes = TextDerivedFrom(prior);
  const std::string copyBytes = TextDerivedFrom(copy);
  struct Case {
    const char *what;
    const char *arguments;
    std::vector<ClipboardItem> before;
    EditorOptions editor;
    int runs;
    std::wstring unicode; // CF_UNICODETEXT afterwards, placed first
    std::string text;     // CF_TEXT afterwards
    std::wstring editorAfter;
  };
  const Case cases[] = {
      {"Unicode prior text, ANSI copy",
       "",
       {UnicodeItem(prior)},
       Selecting("beta"),
       1,
       prior + L"beta",
       priorBytes + "beta",
       L"beta"},
      {"ANSI prior text, Unicode copy",
       "",
       {TextItem("alpha")},
       SelectingUnicode(copy),
       1,
       L"alpha" + copy,
       "alpha" + copyBytes,
       copy},
      {"both Unicode, cut as lines",
       "/x /r",
       {UnicodeItem(prior)},
       SelectingUnicode(copy + L" rest", 0, static_cast<int>(copy.size())),
       1,
       prior + L"\r\n" + copy + L"\r\n",
       priorBytes + "\r\n" + copyBytes + "\r\n",
       L" rest"},
      {"copy only, as lines",
       "/r",
       {},
       SelectingUnicode(copy),
       1,
       copy + L"\r\n",
       copyBytes + "\r\n",
       copy},
      {"two appends",
       "",
       {UnicodeItem(prior)},
       SelectingUnicode(copy),
       2,
       prior + copy + copy,
       priorBytes + copyBytes + copyBytes,
       copy},
      // No look-alike: only the Unicode text tells it from a "?" typed.
      {"a character with no stand-in but the default",
       "",
       {UnicodeItem(L"\u2603")},
       Selecting("beta"),
       1,
       L"\u2603beta",
       TextDerivedFrom(L"\u2603") + "beta",
       L"beta"},
      {"nothing selected",
       "",
       {UnicodeItem(prior)},
       SelectingUnicode(copy, 1, 1),
       1,
       prior,
       priorBytes,
       copy},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SetClipboardItems(c.before);
    Editor editor(c.editor);
    for (int run = 0; run < c.runs; ++run)
      EXPECT_EQ(RunToolToEnd(c.arguments), 0ul);
    EXPECT_EQ(ClipboardUnicode(), c.unicode);
    EXPECT_EQ(ClipboardTextBytes(), c.text);
    const std::vector<UINT> formats = ClipboardFormats();
    EXPECT_TRUE(!formats.empty() && formats[0] == CF_UNICODETEXT);
    EXPECT_EQ(editor.UnicodeText(), c.editorAfter);
  }
  // Where no text holds more in Unicode, the tool writes CF_TEXT alone.
  const std::vector<UINT> ofText = FormatsOfText();
  SetClipboardBytes("alpha");
  Editor editor(Selecting(KanjiBytes));
  EXPECT_EQ(RunToolToEnd(), 0ul);
  EXPECT_EQ(ClipboardTextBytes(), "alpha" + KanjiBytes);
  EXPECT_EQ(ClipboardFormats(), ofText);
}
