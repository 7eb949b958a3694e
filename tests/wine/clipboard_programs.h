#pragma once

// Other programs at work on the clipboard while the tool runs, each a thread
// of the test's own: one that holds it, one that rewrites it without rest, a
// clipboard manager, and owners that render their text only when asked, or
// never can.

#include <windows.h>

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

// Holds the clipboard open for its window until stopped.
void HoldClipboardOpen(ClipboardThread &self);

// Empties the clipboard and writes "noise" to it, again and again; rounds
// counts the writes.
void RewriteWithoutRest(ClipboardThread &self);

// A clipboard manager: after every change it opens the clipboard for its
// window, reads the text, and keeps the clipboard for 5 ms; rounds counts
// the reads.
void ReadEveryChange(ClipboardThread &self);

// Owns the clipboard with a text, "alpha", rendered only when asked for, or
// never rendered.
void OwnRenderingLate(ClipboardThread &self);
void OwnFailingToRender(ClipboardThread &self);
// Lists a text for rendering on request with no window to ask, as a program
// that opened the clipboard without one can.
void ListWithoutOwner(ClipboardThread &self);
