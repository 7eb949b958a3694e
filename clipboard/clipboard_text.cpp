#include "clipboard/clipboard_text.h"

#include "clipboard/text_block.h"
#include "common/fault.h"
#include "common/scope_exit.h"

#include <windows.h>

void WaitClipboardFree() {
  // Only a holder that opened the clipboard for a window shows here; the
  // tool itself opens it without one.
  while (GetOpenClipboardWindow() != nullptr) {
  }
}

namespace {

// Opens the clipboard, which the caller has just waited for.
void OpenClipboardRetrying() {
  const DWORD start = GetTickCount();
  while (OpenClipboard(nullptr) == FALSE &&
         GetTickCount() - start < OpenRetryLimit) {
    Sleep(OpenRetryPause);
    WaitClipboardFree();
  }
}

} // namespace

bool ClipboardHasText() {
  WaitClipboardFree();
  OpenClipboardRetrying();
  ScopeExit close([] { CloseClipboard(); });
  return GetClipboardData(CF_TEXT) != nullptr;
}

std::string GetClipboardText() {
  WaitClipboardFree();
  OpenClipboardRetrying();
  ScopeExit close([] { CloseClipboard(); });
  HANDLE block = GetClipboardData(CF_TEXT);
  if (block == nullptr)
    return {};
  const void *bytes = GlobalLock(block);
  ScopeExit unlock([block] { GlobalUnlock(block); });
  return TextFromBlock(static_cast<const char *>(bytes), GlobalSize(block));
}

void SetClipboardText(const std::string &text, const std::string &more) {
  WaitClipboardFree();
  const SIZE_T size = text.size() + more.size() + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  // Without a block there is nothing to write: leave the clipboard as it is
  // rather than empty it.
  if (block == nullptr)
    return;
  OpenClipboardRetrying();
  ScopeExit close([] { CloseClipboard(); });
  EmptyClipboard();
  // The block is ours until the clipboard takes it.
  bool taken = false;
  ScopeExit freeUntaken([&] {
    if (!taken)
      GlobalFree(block);
  });
  try {
    void *bytes = GlobalLock(block);
    if (bytes == nullptr)
      return;
    ScopeExit unlock([block] { GlobalUnlock(block); });
    FillBlock(static_cast<char *>(bytes), text, more);
    taken = SetClipboardData(CF_TEXT, block) != nullptr;
  } catch (const AccessViolation &) {
    // A block that cannot be filled is given up; the write ends normally.
  }
}

void ClearClipboard() {
  // No wait: emptying is meant to go ahead even while the clipboard is busy.
  OpenClipboard(nullptr);
  ScopeExit close([] { CloseClipboard(); });
  EmptyClipboard();
}
