// The refusal over any window but the editor's, and what lies beside the exe:
// the tool run as a process, as the editor's Tools menu starts it.

#include "clipboard_access.h"
#include "common/scope_exit.h"
#include "editor.h"
#include "message_box.h"
#include "tool_run.h"

#include <gtest/gtest.h>

namespace {

// "Inkslabの[ツール]から実行して下さい。" as code page 932 bytes.
const std::string RefusalBytes = "Inkslab"
                                 "\x82\xCC\x5B\x83\x63\x81\x5B\x83\x8B\x5D"
                                 "\x82\xA9\x82\xE7\x8E\xC0\x8D\x73\x82\xB5"
                                 "\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81\x42";
const std::wstring RefusalSentence = L"Inkslab\u306e[\u30c4\u30fc\u30eb]"
                                     L"\u304b\u3089\u5b9f\u884c\u3057\u3066"
                                     L"\u4e0b\u3055\u3044\u3002";

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
  // The control: the tool that cannot restrict the search, as on Windows 7
  // without the update, shows that the planted DLL is there to be loaded.
  struct Case {
    const char *what;
    const char *program; // copied beside the planted DLL as velmora.exe
    const char *arguments;
    bool refusal;
    bool loaded;
  };
  const Case cases[] = {
      {"refusal", "velmora.exe", "", true, false},
      {"append", "velmora.exe", "", false, false},
      {"refusal, search not restricted", FaultProgram, "no-dll-restriction",
       true, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    DeleteFileA(mark.c_str());
    ASSERT_TRUE(CopyFileA(ProgramPath(c.program).c_str(), tool.c_str(),
                          FALSE) != FALSE);
    EditorOptions options = Selecting("beta");
    if (c.refusal)
      options.windowClass = "Notepad";
    Editor editor(options);
    if (c.refusal) {
      ExpectRefusal(editor.window, c.arguments, nullptr, tool);
    } else {
      SetClipboardBytes("alpha");
      EXPECT_EQ(ToolRun(c.arguments, tool).Wait(), 0ul);
      EXPECT_EQ(ClipboardTextBytes(), std::string("alphabeta"));
    }
    EXPECT_EQ(GetFileAttributesA(mark.c_str()) != INVALID_FILE_ATTRIBUTES,
              c.loaded);
  }
}

TEST(Run, RefusesWithoutOwnerWhenNothingIsInFront) {
  if (!ClearForegroundWindow())
    GTEST_SKIP() << "this desktop keeps a foreground window";
  ExpectRefusal(nullptr);
}
