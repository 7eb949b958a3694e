// Waiting for the clipboard and opening it: a clipboard manager or the
// system's clipboard history may hold it for a moment, a hung program for
// good.

#include "clipboard/clipboard_open.h"

#include "clipboard/clipboard_text.h"

#include <windows.h>

void WaitClipboardFree(unsigned long since, unsigned long limit) {
  // Only a holder that opened the clipboard for a window shows here; the
  // tool itself opens it without one. A holder that lets go at once is seen
  // at once; one that keeps the clipboard is looked at once a timer tick,
  // which costs next to no processor time.
  const int ChecksBeforePausing = 4;
  for (int checks = 0;
       GetOpenClipboardWindow() != nullptr && GetTickCount() - since < limit;
       ++checks)
    if (checks >= ChecksBeforePausing)
      Sleep(1);
}

// The waits between the tries share the first wait's bound, so that retrying
// cannot multiply it. Nothing is read or written without the clipboard open:
// some systems let a write through all the same, into the contents of the
// program that holds it.
bool OpenClipboardWaiting(unsigned long limit) {
  const DWORD start = GetTickCount();
  WaitClipboardFree(start, limit);
  while (OpenClipboard(nullptr) == FALSE) {
    if (GetTickCount() - start >= limit)
      return false;
    Sleep(OpenRetryPause);
    WaitClipboardFree(start, limit);
  }
  return true;
}
