// The editor's focused control and the copy or cut request.

#include "host/host_window.h"

#include "common/scope_exit.h"

HWND GetFocusedControl(HWND window) {
  // Focus is per input state: only while joined to the owning thread's input
  // state does GetFocus see that thread's focus.
  const DWORD ownThread = GetCurrentThreadId();
  const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(ownThread, windowThread, -1);
  ScopeExit detach([=] { AttachThreadInput(ownThread, windowThread, 0); });
  return GetFocus();
}

void SendCopyOrCut(HWND control, bool cut) {
  SendMessageA(control, cut ? WM_CUT : WM_COPY, 0, 0);
}
