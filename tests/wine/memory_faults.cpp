// Invalid memory accesses and exhausted memory provoked inside the tool.

#include "memory_faults.h"

#include "address_space.h"
#include "import_hook.h"

#include <cstdlib>

namespace {

decltype(&GlobalLock) RealGlobalLock;
decltype(&GlobalAlloc) RealGlobalAlloc;
decltype(&GlobalFree) RealGlobalFree;
decltype(&GlobalSize) RealGlobalSize;
decltype(&ExitProcess) RealExitProcess;
decltype(&GlobalUnlock) RealGlobalUnlock;
decltype(&GetClipboardData) RealGetClipboardData;
decltype(&std::malloc) RealMalloc;
HANDLE UnicodeBlock = nullptr; // once recorded, the one block that faults
HGLOBAL OwnBlock = nullptr;
SIZE_T OwnBlockSize = 0; // where not 0, only a block of this size is recorded
bool Released = false;

void *WINAPI UnreadableLock(HGLOBAL) { return Page(PAGE_NOACCESS); }

HANDLE WINAPI RecordingGetClipboardData(UINT format) {
  HANDLE block = RealGetClipboardData(format);
  if (format == CF_UNICODETEXT)
    UnicodeBlock = block;
  return block;
}

void *WINAPI UnreadableUnicodeLock(HGLOBAL block) {
  return block == UnicodeBlock ? Page(PAGE_NOACCESS) : RealGlobalLock(block);
}

HGLOBAL WINAPI RecordingAlloc(UINT flags, SIZE_T size) {
  HGLOBAL block = RealGlobalAlloc(flags, size);
  if (OwnBlockSize == 0 || size == OwnBlockSize)
    OwnBlock = block;
  return block;
}

void *WINAPI ReadOnlyOwnLock(HGLOBAL block) {
  return block == OwnBlock ? Page(PAGE_READONLY) : RealGlobalLock(block);
}

HGLOBAL WINAPI RecordingFree(HGLOBAL block) {
  if (block != nullptr && block == OwnBlock) {
    Released = true;
    OwnBlock = nullptr; // the next block may get the same handle
  }
  return RealGlobalFree(block);
}

BOOL WINAPI RecordingUnlock(HGLOBAL block) {
  Released = Released || UnicodeBlock == nullptr || block == UnicodeBlock;
  return RealGlobalUnlock(block);
}

void WINAPI ExitIfReleased(UINT code) { RealExitProcess(Released ? code : 99); }

// Reserves every free area of the address space, then gives back a few small
// ones, so that the report's message box can still be made while no large
// allocation can succeed. Done once the size of the locked clipboard block
// is known, just before the tool asks for memory to copy it.
SIZE_T WINAPI ExhaustingSize(HGLOBAL block) {
  const SIZE_T size = RealGlobalSize(block);
  int givenBack = 0;
  for (const ReservedArea &area : ReserveAddressSpace())
    if (area.size <= (4u << 20) && givenBack++ < 16)
      ReleaseArea(area);
  return size;
}

void *RefusingMalloc(std::size_t size) {
  return size >= (1u << 20) ? nullptr : RealMalloc(size);
}

} // namespace

void *Page(DWORD protection) {
  return VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, protection);
}

void MakeClipboardBlocksUnreadable(bool unicodeOnly) {
  if (unicodeOnly) {
    Hook("GetClipboardData", RecordingGetClipboardData, RealGetClipboardData);
    Hook("GlobalLock", UnreadableUnicodeLock, RealGlobalLock);
  } else {
    Hook("GlobalLock", UnreadableLock, RealGlobalLock);
  }
  Hook("GlobalUnlock", RecordingUnlock, RealGlobalUnlock);
  Hook("ExitProcess", ExitIfReleased, RealExitProcess);
}

void MakeOwnBlockReadOnly(SIZE_T size) {
  OwnBlockSize = size;
  Hook("GlobalAlloc", RecordingAlloc, RealGlobalAlloc);
  Hook("GlobalLock", ReadOnlyOwnLock, RealGlobalLock);
  Hook("GlobalFree", RecordingFree, RealGlobalFree);
  Hook("ExitProcess", ExitIfReleased, RealExitProcess);
}

void ExhaustMemory() {
  if (sizeof(void *) == 4)
    Hook("GlobalSize", ExhaustingSize, RealGlobalSize);
  else
    Hook("malloc", RefusingMalloc, RealMalloc);
}
