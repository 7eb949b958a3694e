// The tool under conditions a desktop can make hard: a clipboard that never
// rests, an owner that renders late, and large texts.

#include "desktop.h"
#include "harness.h"

#include <cstring>

namespace {

// A window in a thread of its own, so that it can own the clipboard and
// answer the clipboard's messages while the tool runs.
struct ClipboardOwner {
  HANDLE thread = nullptr;
  HANDLE stop = nullptr;
  HANDLE ready = nullptr;
  DWORD threadId = 0;
  DWORD (*body)(ClipboardOwner &) = nullptr;
  volatile LONG rewrites = 0;

  explicit ClipboardOwner(DWORD (*ownerBody)(ClipboardOwner &))
      : body(ownerBody) {
    stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread = CreateThread(nullptr, 0, Run, this, 0, &threadId);
    WaitForSingleObject(ready, 10000);
  }
  static DWORD WINAPI Run(void *self) {
    auto &owner = *static_cast<ClipboardOwner *>(self);
    return owner.body(owner);
  }
  ~ClipboardOwner() {
    SetEvent(stop);
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(stop);
    CloseHandle(ready);
  }
};

HGLOBAL TextBlock(const char *text) {
  const std::size_t size = std::strlen(text) + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(block), text, size);
  GlobalUnlock(block);
  return block;
}

DWORD RewriteWithoutRest(ClipboardOwner &owner) {
  HWND window = CreateWindowExA(0, "STATIC", "rewriter", 0, 0, 0, 0, 0,
                                HWND_MESSAGE, nullptr, nullptr, nullptr);
  SetEvent(owner.ready);
  while (WaitForSingleObject(owner.stop, 0) == WAIT_TIMEOUT) {
    if (!OpenClipboard(window))
      continue;
    EmptyClipboard();
    SetClipboardData(CF_TEXT, TextBlock("noise"));
    CloseClipboard();
    InterlockedIncrement(&owner.rewrites);
  }
  DestroyWindow(window);
  return 0;
}

LRESULT CALLBACK RenderLate(HWND window, UINT message, WPARAM wParam,
                            LPARAM lParam) {
  if (message == WM_RENDERFORMAT && wParam == CF_TEXT) {
    SetClipboardData(CF_TEXT, TextBlock("alpha"));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

DWORD OwnWithLateRendering(ClipboardOwner &owner) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RenderLate;
  windowClass.lpszClassName = "Velmora Test Late Owner";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0,
                                HWND_MESSAGE, nullptr, nullptr, nullptr);
  OpenClipboard(window);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, nullptr); // rendered when asked for
  CloseClipboard();
  SetEvent(owner.ready);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0)
    DispatchMessageA(&message);
  DestroyWindow(window);
  return 0;
}

// Every byte value but NUL.
std::string AnyBytes(std::size_t size) {
  std::string text(size, ' ');
  for (std::size_t i = 0; i < size; ++i)
    text[i] = static_cast<char>(1 + (i * 7) % 255);
  return text;
}

// Lines of printable ASCII, which the edit control keeps as they are.
std::string AsciiLines(std::size_t size) {
  std::string text(size, ' ');
  for (std::size_t i = 0; i < size; ++i)
    text[i] = i % 80 == 78   ? '\r'
              : i % 80 == 79 ? '\n'
                             : static_cast<char>('!' + (i * 7) % 94);
  return text;
}

} // namespace

WINE_TEST(SurvivesAClipboardRewrittenWithoutRest) {
  Editor editor(Selecting("beta"));
  ClipboardOwner rewriter(RewriteWithoutRest);
  for (int run = 0; run < 30; ++run)
    EXPECT_EQ(RunToolToEnd(run % 3 == 0 ? "/r" : ""), 0ul);
  std::printf("  %ld rewrites during the runs\n", rewriter.rewrites);
  EXPECT_TRUE(rewriter.rewrites > 30);
}

WINE_TEST(ReadsTextRenderedLate) {
  ClipboardOwner owner(OwnWithLateRendering);
  Editor editor(Selecting("beta"));
  EXPECT_EQ(RunToolToEnd(), 0ul);
  EXPECT_EQ(ClipboardTextBytes(), std::string("alphabeta"));
}

WINE_TEST(AppendsLargeTextsByteForByte) {
  const std::string prior = AnyBytes(64u << 20);
  const std::string selection = AsciiLines(1u << 20);
  SetClipboardBytes(prior);
  Editor editor(Selecting(selection));
  EXPECT_EQ(RunToolToEnd(), 0ul);
  const std::string result = ClipboardTextBytes();
  EXPECT_EQ(result.size(), prior.size() + selection.size());
  EXPECT_TRUE(result == prior + selection);
}
