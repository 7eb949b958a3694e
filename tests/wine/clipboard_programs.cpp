// Other programs at work on the clipboard while the tool runs.

#include "clipboard_programs.h"

#include "clipboard_access.h"
#include "fixture_timeout.h"

#include <gtest/gtest.h>

namespace {

DWORD WINAPI RunClipboardThread(void *self) {
  auto &clipboardThread = *static_cast<ClipboardThread *>(self);
  clipboardThread.body(clipboardThread);
  return 0;
}

template <bool Renders>
LRESULT CALLBACK RenderLate(HWND window, UINT message, WPARAM wParam,
                            LPARAM lParam) {
  if (message == WM_RENDERFORMAT && wParam == CF_TEXT) {
    if (Renders)
      SetClipboardData(CF_TEXT, BlockOf(TextItem("alpha").bytes));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

template <bool Renders> void OwnWithLateRendering(ClipboardThread &self) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RenderLate<Renders>;
  windowClass.lpszClassName =
      Renders ? "Velmora Test Late Owner" : "Velmora Test Failing Owner";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0,
                                HWND_MESSAGE, nullptr, nullptr, nullptr);
  OpenClipboard(window);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, nullptr); // rendered when asked for
  CloseClipboard();
  SetEvent(self.ready);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0)
    DispatchMessageA(&message);
  DestroyWindow(window);
}

} // namespace

ClipboardThread::ClipboardThread(Body threadBody) : body(threadBody) {
  ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread = CreateThread(nullptr, 0, RunClipboardThread, this, 0, &threadId);
  if (WaitForSingleObject(ready, FixtureTimeout) != WAIT_OBJECT_0)
    ADD_FAILURE() << "the clipboard thread did not start";
}

void ClipboardThread::Stop() {
  SetEvent(stop);
  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(thread, FixtureTimeout);
}

ClipboardThread::~ClipboardThread() {
  Stop();
  CloseHandle(thread);
  CloseHandle(ready);
  CloseHandle(stop);
}

void HoldClipboardOpen(ClipboardThread &self) {
  HWND window = ClipboardWindow();
  while (!OpenClipboard(window))
    Sleep(10);
  SetEvent(self.ready);
  WaitForSingleObject(self.stop, INFINITE);
  CloseClipboard();
  DestroyWindow(window);
}

void RewriteWithoutRest(ClipboardThread &self) {
  HWND window = ClipboardWindow();
  SetEvent(self.ready);
  while (WaitForSingleObject(self.stop, 0) == WAIT_TIMEOUT) {
    if (!OpenClipboard(window))
      continue;
    EmptyClipboard();
    SetClipboardData(CF_TEXT, BlockOf(TextItem("noise").bytes));
    CloseClipboard();
    InterlockedIncrement(&self.rounds);
  }
  DestroyWindow(window);
}

void ReadEveryChange(ClipboardThread &self) {
  const DWORD Hold = 5; // milliseconds
  HWND window = ClipboardWindow();
  AddClipboardFormatListener(window);
  SetEvent(self.ready);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message != WM_CLIPBOARDUPDATE || !OpenClipboard(window))
      continue;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
      GlobalLock(block);
      GlobalUnlock(block);
    }
    Sleep(Hold);
    CloseClipboard();
    InterlockedIncrement(&self.rounds);
  }
  RemoveClipboardFormatListener(window);
  DestroyWindow(window);
}

void OwnRenderingLate(ClipboardThread &self) {
  OwnWithLateRendering<true>(self);
}

void OwnFailingToRender(ClipboardThread &self) {
  OwnWithLateRendering<false>(self);
}

void ListWithoutOwner(ClipboardThread &self) {
  OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, nullptr);
  CloseClipboard();
  SetEvent(self.ready);
  WaitForSingleObject(self.stop, INFINITE);
}
