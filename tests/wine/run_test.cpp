// The tool run as a process over the stand-in editor, as the editor's Tools
// menu starts it.

#include "clipboard/clipboard_text.h"
#include "common/scope_exit.h"
#include "desktop.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// "Inkslabの[ツール]から実行して下さい。" as code page 932 bytes.
const std::string RefusalBytes = "Inkslab"
                                 "\x82\xCC\x5B\x83\x63\x81\x5B\x83\x8B\x5D"
                                 "\x82\xA9\x82\xE7\x8E\xC0\x8D\x73\x82\xB5"
                                 "\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81\x42";
const std::wstring RefusalSentence = L"Inkslab\u306e[\u30c4\u30fc\u30eb]"
                                     L"\u304b\u3089\u5b9f\u884c\u3057\u3066"
                                     L"\u4e0b\u3055\u3044\u3002";
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

// The refusal box over the given foreground window, with the clipboard left
// as it was, whatever the switches. The sentence reads the same whatever the
// tool's code page; read back in this process's code page 932 it is the same
// bytes as the tool's own.
void ExpectRefusal(HWND foreground, const char *arguments = "",
                   const char *locale = nullptr,
                   const std::string &program = "velmora.exe") {
  SetClipboardItems({TextItem("alpha"), {TestFormat(), "data"}});
  ToolRun run(arguments, program, locale);
  const MessageBoxSeen box = WaitForMessageBox(run.process.dwProcessId);
  EXPECT_EQ(box.caption, std::string("Velmora"));
  EXPECT_EQ(box.unicodeText, RefusalSentence);
  EXPECT_EQ(box.text, RefusalBytes);
  EXPECT_EQ(box.owner, foreground);
  EXPECT_TRUE(box.exclamationIcon);
  EXPECT_EQ(box.buttons, 1);
  CloseMessageBox(box);
  EXPECT_EQ(run.Wait(), 0ul);
  EXPECT_EQ(ClipboardTextBytes(), std::string("alpha"));
  EXPECT_EQ(ClipboardBytes(TestFormat()), std::string("data"));
}

} // namespace

TEST(Run, RefusesEveryOtherForegroundWindow) {
  for (const char *windowClass :
       {"Notepad", "tinkslabmainform", "TINKSLABMAINFORM", "TInkslabMainForm2",
        "TInkslabMainFor", "TInkslabMainForm "}) {
    SCOPED_TRACE(windowClass);
    EditorOptions options = Selecting("beta");
    options.windowClass = windowClass;
    Editor other(options);
    ExpectRefusal(other.window);
    EXPECT_EQ(other.copyRequests + other.cutRequests, 0l);
  }
}

TEST(Run, OverAnotherWindowEverySwitchIsIgnored) {
  for (const char *arguments : {"/c", "/x", "/r", "/c /x /r"}) {
    SCOPED_TRACE(arguments);
    EditorOptions options = Selecting("beta");
    options.windowClass = "Notepad";
    Editor other(options);
    ExpectRefusal(other.window, arguments);
    EXPECT_EQ(other.copyRequests + other.cutRequests, 0l);
    EXPECT_EQ(other.Text(), std::string("beta"));
  }
}

TEST(Run, TheRefusalReadsTheSameUnderEverySystemCodePage) {
  struct Case {
    const char *language;
    std::string codePage;
  };
  const Case cases[] = {{"LANG=C", "1252"},
                        {"LANG=ru_RU.UTF-8", "1251"},
                        {"LANG=zh_CN.UTF-8", "936"},
                        {"LANG=ko_KR.UTF-8", "949"}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.language);
    {
      // A program started so really runs in that code page.
      ToolRun probe("codepage", "velmora_faults.exe", c.language);
      const MessageBoxSeen box = WaitForMessageBox(probe.process.dwProcessId);
      EXPECT_EQ(box.text, c.codePage);
      CloseMessageBox(box);
    }
    EditorOptions options = Selecting("beta");
    options.windowClass = "Notepad";
    Editor other(options);
    ExpectRefusal(other.window, "", c.language);
  }
}

// Users unzip the tool anywhere, a downloads folder included. A DLL beside it
// named like one the system loads at run time (the theme library, in both of
// Wine's builds) is never loaded, even with Wine told to prefer it to its
// own, as Windows does for a DLL that is not one of its KnownDLLs.
TEST(Run, LoadsNoDllPlantedBesideIt) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "velmora-planted\\";
  const std::string tool = folder + "velmora.exe";
  const std::string mark = folder + "planted-loaded";
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(ProgramPath("velmora.exe").c_str(), tool.c_str(),
                        FALSE) != FALSE);
  ASSERT_TRUE(CopyFileA((TestProgramFolder() + "velmora_planted.dll").c_str(),
                        (folder + "uxtheme.dll").c_str(), FALSE) != FALSE);
  // Wine is told to prefer a DLL of that name beside velmora.exe.
  const char Overrides[] = "Software\\Wine\\AppDefaults\\velmora.exe\\"
                           "DllOverrides";
  const char PreferPlanted[] = "native,builtin";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Overrides, 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "uxtheme", 0, REG_SZ,
                 reinterpret_cast<const BYTE *>(PreferPlanted),
                 sizeof PreferPlanted);
  ScopeExit forget([key] {
    RegDeleteValueA(key, "uxtheme");
    RegCloseKey(key);
  });
  for (const bool refusal : {true, false}) {
    SCOPED_TRACE(refusal ? "refusal" : "append");
    DeleteFileA(mark.c_str());
    EditorOptions options = Selecting("beta");
    if (refusal)
      options.windowClass = "Notepad";
    Editor editor(options);
    if (refusal) {
      ExpectRefusal(editor.window, "", nullptr, tool);
    } else {
      SetClipboardBytes("alpha");
      EXPECT_EQ(ToolRun("", tool).Wait(), 0ul);
      EXPECT_EQ(ClipboardTextBytes(), std::string("alphabeta"));
    }
    EXPECT_EQ(GetFileAttributesA(mark.c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

TEST(Run, RefusesWithoutOwnerWhenNothingIsInFront) {
  if (!ClearForegroundWindow())
    GTEST_SKIP() << "this desktop keeps a foreground window";
  ExpectRefusal(nullptr);
}

// A Japanese system code page with an English user locale and input
// language, a common set-up for the editor's users, and texts placed as an
// ANSI program typing Japanese places them: Unicode programs read what the
// tool collected as Japanese, not as mojibake of the input language.
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
  };
  const Case cases[] = {
      {"bytes",
       "",
       {TextItem(Nihon), LocaleItem(Japanese)},
       Nihon + Go,
       L"\u65E5\u672C\u8A9E"},
      {"as lines",
       "/r",
       {TextItem(Nihon), LocaleItem(Japanese)},
       Nihon + "\r\n" + Go + "\r\n",
       L"\u65E5\u672C\r\n\u8A9E\r\n"},
      {"copy only, as lines", "/r", {}, Go + "\r\n", L"\u8A9E\r\n"},
      // A Unicode program's text, placed while typing in English: its bytes
      // are those of the system's code page, not of the input language's.
      {"Unicode placed in English",
       "",
       {UnicodeItem(L"\u65E5\u672C"), LocaleItem(English)},
       Nihon + Go,
       L"\u65E5\u672C\u8A9E"},
      {"Unicode placed in English, a character 932 lacks",
       "",
       {UnicodeItem(L"caf\u00e9"), LocaleItem(English)},
       TextDerivedFrom(L"caf\u00e9") + Go,
       L"caf\u00e9\u8A9E"},
      // Placed in the system's locale, the bytes are the original, even
      // where they do not come back from their Unicode.
      {"bytes beside their Unicode",
       "",
       {UnicodeItem(L"\u7E8A"), TextItem(Kou), LocaleItem(Japanese)},
       Kou + Go,
       L"\u7E8A\u8A9E"},
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
  }
}

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
  // The probe gives up, and the run ends before asking the editor for
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

// A double-pressed Tools key: the second run starts while the first is under
// way, together or a little later.
TEST(Run, RunsStartedTogetherCollectEverySelection) {
  for (int pair = 0; pair < 24; ++pair) {
    const DWORD delay = pair < 20 ? 0 : 30;
    SCOPED_TRACE(pair);
    SetClipboardBytes("alpha");
    Editor editor(Selecting("beta"));
    {
      ToolRun first("");
      Sleep(delay);
      ToolRun second("");
      EXPECT_EQ(first.Wait(), 0ul);
      EXPECT_EQ(second.Wait(), 0ul);
    }
    EXPECT_EQ(ClipboardTextBytes(), std::string("alphabetabeta"));
  }
}

namespace {

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
