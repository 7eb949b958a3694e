#pragma once

// The editor's window: its focused control, and the copy or cut request.

#include <windows.h>

// The control that has the keyboard focus in the thread owning the window,
// or null.
HWND GetFocusedControl(HWND window);

// Asks the control to copy (or cut) its selection to the clipboard and
// returns once the control's thread has handled the request.
void SendCopyOrCut(HWND control, bool cut);
