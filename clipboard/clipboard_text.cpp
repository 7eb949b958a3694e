#include "clipboard/clipboard_text.h"

#include "clipboard/text_block.h"
#include "common/fault.h"
#include "common/scope_exit.h"

#include <windows.h>

void WaitClipboardFree(unsigned long since) {
  // Only a holder that opened the clipboard for a window shows here; the
  // tool itself opens it without one. A holder that lets go at once is seen
  // at once; one that keeps the clipboard is looked at once a timer tick,
  // which costs next to no processor time.
  const int ChecksBeforePausing = 4;
  for (int checks = 0; GetOpenClipboardWindow() != nullptr &&
                       GetTickCount() - since < ClipboardWaitLimit;
       ++checks)
    if (checks >= ChecksBeforePausing)
      Sleep(1);
}

namespace {

// Opens the clipboard once it is free, and tells whether it did. The waits
// between the tries share the first wait's bound, so that retrying cannot
// multiply it. Nothing is read or written without the clipboard open: some
// systems let a write through all the same, into the contents of the
// program that holds it.
bool OpenClipboardWaiting() {
  const DWORD start = GetTickCount();
  WaitClipboardFree(start);
  const DWORD firstTry = GetTickCount();
  while (OpenClipboard(nullptr) == FALSE) {
    if (GetTickCount() - firstTry >= OpenRetryLimit ||
        GetTickCount() - start >= ClipboardWaitLimit)
      return false;
    Sleep(OpenRetryPause);
    WaitClipboardFree(start);
  }
  return true;
}

} // namespace

bool ClipboardHasText() {
  if (!OpenClipboardWaiting())
    return false;
  ScopeExit close([] { CloseClipboard(); });
  return GetClipboardData(CF_TEXT) != nullptr;
}

std::string GetClipboardText() {
  if (!OpenClipboardWaiting())
    return {};
  ScopeExit close([] { CloseClipboard(); });
  HANDLE block = GetClipboardData(CF_TEXT);
  if (block == nullptr)
    return {};
  const void *bytes = GlobalLock(block);
  ScopeExit unlock([block] { GlobalUnlock(block); });
  return TextFromBlock(static_cast<const char *>(bytes), GlobalSize(block));
}

void SetClipboardText(const std::string &text, const std::string &more) {
  const SIZE_T size = text.size() + more.size() + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  // Without a block there is nothing to write: leave the clipboard as it is
  // rather than empty it.
  if (block == nullptr)
    return;
  if (!OpenClipboardWaiting()) {
    GlobalFree(block);
    return;
  }
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
