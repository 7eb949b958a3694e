#pragma once

// Invalid memory accesses and exhausted memory provoked inside the tool, by
// replacing its memory calls in this program's import table. Where a fault
// should have been followed by a release, the tool's exit code is 99 unless
// that release was made.

#include <windows.h>

// A page of its own with that protection.
void *Page(DWORD protection);

// Every locked clipboard block, or the CF_UNICODETEXT block alone, is
// unreadable memory; the block must be unlocked.
void MakeClipboardBlocksUnreadable(bool unicodeOnly);

// The tool's own block for a write, the first one filled or the one of size
// bytes where size is not 0, cannot be written; the block must be freed.
void MakeOwnBlockReadOnly(SIZE_T size);

// Memory runs out just before a text is copied: the 32-bit address space is
// used up; the x64 one is too large, so there the C library's allocator
// refuses.
void ExhaustMemory();
