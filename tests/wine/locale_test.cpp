// The text's language: what Unicode and ANSI programs read of what the tool
// collected, run under a mixed locale.

#include "clipboard_access.h"
#include "editor.h"
#include "message_box.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <utility>

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
  // A run started so really has the Japanese code page, and the English user
  // locale, which the tool must not tag the bytes with.
  const std::pair<const char *, unsigned long> probes[] = {
      {"codepage", 932}, {"user-locale", English}};
  for (const auto &probe : probes) {
    ToolRun run(probe.first, FaultProgram, MixedLocale);
    const MessageBoxSeen box = WaitForMessageBox(run.process.dwProcessId);
    EXPECT_EQ(box.text, std::to_string(probe.second)) << probe.first;
    CloseMessageBox(box);
  }
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
