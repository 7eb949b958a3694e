#pragma once

// Waiting for the clipboard, opening it, and reading a block of it once it is
// open, for the clipboard operations.

#include "common/scope_exit.h"

#include <windows.h>

// Opens the clipboard without an owner once it is free, trying again while
// another program takes it first, and tells whether it did within the limit,
// in milliseconds.
bool OpenClipboardWaiting(unsigned long limit);

// Calls read with the address and size in bytes of the open clipboard's
// block of one format, locked for as long as read takes. False where the
// clipboard holds none: no block of that format, or one that cannot be
// locked, as when its owner failed to render it.
template <class Read> bool ReadClipboardBlock(UINT format, Read read) {
  HANDLE block = GetClipboardData(format);
  const void *data = block != nullptr ? GlobalLock(block) : nullptr;
  if (data == nullptr)
    return false;
  ScopeExit unlock([block] { GlobalUnlock(block); });
  read(data, GlobalSize(block));
  return true;
}
