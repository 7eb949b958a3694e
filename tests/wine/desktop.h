#pragma once

// Test fixtures on a real Win32 desktop: a stand-in for the editor, direct
// access to the clipboard's bytes and formats, and the tool run as a process
// of its own.

#include <windows.h>

#include <string>
#include <vector>

// The editor's main window with one text control, run by a thread of its own
// with a message loop, as the real editor's would be.
struct EditorOptions {
  const char *windowClass = "TInkslabMainForm";
  std::string text;
  int selectionStart = 0;
  int selectionEnd = 0;
  bool richEdit = false;
  bool ignoreCopyAndCut = false; // the control swallows WM_COPY and WM_CUT
  // The control's copy and cut place the selection under a private format
  // alone, as a copy of a picture or an object does.
  bool copyWithoutText = false;
  // A Unicode control holding this text, its selection counted in UTF-16
  // units, as a Unicode program's control copies as CF_UNICODETEXT.
  std::wstring unicodeText;
  // Where set, the control copies as an ANSI program typing in that
  // language does: CF_TEXT with this CF_LOCALE beside it.
  LCID copyLocale = 0;
};

// The editor's text with the bytes from start to end selected; all of them
// when no end is given.
EditorOptions Selecting(const std::string &text, int start = 0, int end = -1);
EditorOptions SelectingUnicode(const std::wstring &text, int start = 0,
                               int end = -1);

struct Editor {
  HWND window = nullptr;
  HWND control = nullptr;
  HANDLE thread = nullptr;
  volatile LONG copyRequests = 0;
  volatile LONG cutRequests = 0;
  EditorOptions options;
  HANDLE ready = nullptr;

  explicit Editor(const EditorOptions &options);
  ~Editor();
  Editor(const Editor &) = delete;
  Editor &operator=(const Editor &) = delete;

  std::string Text() const;
  std::wstring UnicodeText() const;
};

// Leaves the desktop with no foreground window at all, and tells whether
// it could.
bool ClearForegroundWindow();

// Clipboard contents, written and read as raw bytes of one format each.
struct ClipboardItem {
  UINT format;
  std::string bytes;
};
void SetClipboardItems(const std::vector<ClipboardItem> &items);
ClipboardItem TextItem(const std::string &text);     // CF_TEXT, NUL added
ClipboardItem UnicodeItem(const std::wstring &text); // CF_UNICODETEXT
ClipboardItem LocaleItem(LCID locale);               // CF_LOCALE
void SetClipboardBytes(const std::string &text);
bool ClipboardHasFormat(UINT format);
std::string ClipboardBytes(UINT format); // the whole block, NULs included
std::string ClipboardTextBytes();        // CF_TEXT up to its first NUL
std::wstring ClipboardUnicode();         // CF_UNICODETEXT likewise
// The CF_TEXT the system derives from a Unicode text; leaves that text on
// the clipboard.
std::string TextDerivedFrom(const std::wstring &unicode);
std::vector<UINT> ClipboardFormats();
UINT TestFormat(); // a registered, non-text format

HGLOBAL BlockOf(const std::string &bytes); // a movable block of these bytes

// A message-only window to open the clipboard for: openers without a window
// do not keep each other out under Wine.
HWND ClipboardWindow();

// A thread of the test's own that works on the clipboard while the tool
// runs. Its body sets ready once it is under way and goes on until Stop
// sets stop (and posts WM_QUIT, for a body with a message loop).
struct ClipboardThread {
  using Body = void (*)(ClipboardThread &);
  Body body;
  HANDLE thread = nullptr;
  HANDLE ready = nullptr;
  HANDLE stop = nullptr;
  DWORD threadId = 0;
  volatile LONG rounds = 0; // whatever the body counts
  explicit ClipboardThread(Body threadBody);
  ~ClipboardThread();
  void Stop();
};

// A body that holds the clipboard open for its window until stopped.
void HoldClipboardOpen(ClipboardThread &self);

// Where velmora.exe and the programs beside it are: by default the folder of
// the running program; "--tool-dir=DIR" among the arguments, which this takes
// out of them, tests the tool in DIR.
extern std::string ToolDirectory;
void TakeToolDirectory(int &argc, char **argv);
// A program's path: one given with its folder as it is, else in
// ToolDirectory (or this program's folder where none was given).
std::string ProgramPath(const std::string &program);
std::string TestProgramFolder(); // the running program's, with a backslash

// The emulator the programs run under, named by the desktop; empty where
// they run natively.
std::string Emulation();

// The tool (or another program beside it, or one at a full Windows path),
// started with an exact command line. Given Unix locale settings such as
// "LANG=C" or "LC_CTYPE=ja_JP.UTF-8 LC_MESSAGES=C", separated by blanks, it
// runs with them in place of this process's: under Wine LC_CTYPE (or LANG)
// sets its ANSI code page (C gives 1252), LC_MESSAGES its user locale and
// input language. Such a run is started through Wine's loader and found by
// its name, so it must not end at once: a refusal shows its box, and any
// other run waits for its turn until it is found.
struct ToolRun {
  PROCESS_INFORMATION process{};
  explicit ToolRun(const std::string &arguments,
                   const std::string &program = "velmora.exe",
                   const char *locale = nullptr);
  ~ToolRun();
  bool Running() const;
  DWORD Wait(); // exit code; a tool that hangs is killed and gives 0xDEAD
};
DWORD RunToolToEnd(const std::string &arguments = "");

// A message box shown by a process: found, read and closed.
struct MessageBoxSeen {
  HWND box = nullptr;
  HWND owner = nullptr;
  HWND icon = nullptr;
  std::string caption;
  std::string text;
  std::wstring unicodeText;
  bool exclamationIcon = false;
  int buttons = 0;
};
MessageBoxSeen WaitForMessageBox(DWORD processId);
void CloseMessageBox(const MessageBoxSeen &seen);
