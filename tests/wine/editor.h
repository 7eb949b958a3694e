#pragma once

// The stand-in for the editor on a real Win32 desktop.

#include <windows.h>

#include <string>

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
  // Where set, the editor keeps the clipboard open this long after each
  // copy, from its copy handler to a timer.
  DWORD holdAfterCopy = 0; // milliseconds
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
