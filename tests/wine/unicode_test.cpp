// Unicode text and the text's language: what Unicode programs read of what
// the tool collected, under this desktop's locale and a mixed one.

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

// A Japanese system code page with an English user locale and input
// language, a common set-up for the editor's users. Texts placed as an ANSI
// program typing Japanese places them: Unicode programs read what the tool
// collected as Japanese, not as mojibake of the input language. Texts placed
// as a Unicode program typing English places them: ANSI programs read their
// bytes in the system's code page, not in the input language's.
TEST(Run, UnicodeProgramsReadTheTextWhateverTheInputLanguage) {
  const LCID Japanese = 0x0411, English = 0x0409;
  const char MixedLocale[] = "LC_CTYPE=ja_JP.UTF-8 LC_MESSAGES=C";
  // "日本" and "語" in code page 932.
  const std::string Nihon = "\x93\xFA\x96\x7B", Go = "\x8C\xEA";
  // 纊, one of the NEC-selected IBM extensions, which converts back to the
  // IBM extension's bytes FA 5C instead.
  const std::string Kou = "\xED\x40";
  struct Case {
    const char *what;
    const char *arguments;
    std::vector<ClipboardItem> prior;
    std::string text;
    std::wstring unicode;
    bool unicodeWritten; // else the system derives it from the bytes
  };
  const Case cases[] = {
      {"bytes",
       "",
       {TextItem(Nihon), LocaleItem(Japanese)},
       Nihon + Go,
       L"\u65E5\u672C\u8A9E",
       false},
      {"as lines",
       "/r",
       {TextItem(Nihon), LocaleItem(Japanese)},
       Nihon + "\r\n" + Go + "\r\n",
       L"\u65E5\u672C\r\n\u8A9E\r\n",
       false},
      {"copy only, as lines", "/r", {}, Go + "\r\n", L"\u8A9E\r\n", false},
      // A Unicode program's text, placed while typing in English: its bytes
      // are those of the system's code page, not of the input language's.
      {"Unicode placed in English",
       "",
       {UnicodeItem(L"\u65E5\u672C"), LocaleItem(English)},
       Nihon + Go,
       L"\u65E5\u672C\u8A9E",
       false},
      {"Unicode placed in English, a character 932 lacks",
       "",
       {UnicodeItem(L"caf\u00e9"), LocaleItem(English)},
       TextDerivedFrom(L"caf\u00e9") + Go,
       L"caf\u00e9\u8A9E",
       true},
      // Placed in the system's locale, the bytes are the original, even
      // where they do not come back from their Unicode.
      {"bytes beside their Unicode",
       "",
       {UnicodeItem(L"\u7E8A"), TextItem(Kou), LocaleItem(Japanese)},
       Kou + Go,
       L"\u7E8A\u8A9E",
       true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SetClipboardItems(c.prior);
    EditorOptions options = Selecting(Go);
    options.copyLocale = Japanese;
    Editor editor(options);
    EXPECT_EQ(ToolRun(c.arguments, "velmora.exe", MixedLocale).Wait(), 0ul);
    EXPECT_EQ(ClipboardTextBytes(), c.text);
    EXPECT_EQ(ClipboardUnicode(), c.unicode);
    // The locale of the bytes is the system's, not the user's.
    EXPECT_EQ(ClipboardBytes(CF_LOCALE), LocaleItem(Japanese).bytes);
    const std::vector<UINT> formats = ClipboardFormats();
    EXPECT_EQ(!formats.empty() && formats[0] == CF_UNICODETEXT,
              c.unicodeWritten);
  }
}

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
