// The tool with genuine faults provoked inside it. The tool's own code calls
// the system through this program's import table, so replacing entries there
// changes what those calls give back. The first argument picks the fault:
//   describe        exits with the offset of TextFromBlock in the image
//   describe-unicode  the same for the UTF-16 TextFromBlock
//   codepage        shows the ANSI code page it runs under in a message box
//   unreadable      every locked clipboard block is unreadable memory; the
//                   exit code is 99 unless the block was unlocked
//   unreadable-unicode  the same for the CF_UNICODETEXT block alone
//   readonly-block [SIZE]  the tool's own block for a write (the first
//                   one filled, or the one of SIZE bytes) cannot be written;
//                   the exit code is 99 unless that block was freed
//   unopenable [N [MS]]  after N opens (none by default), the clipboard
//                   cannot be opened for MS milliseconds (for good by default)
//   utf8            the system's ANSI code page is UTF-8 (65001), as under
//                   the UTF-8 option of newer Windows: GetACP says so, and
//                   the conversions of the ANSI code page convert UTF-8
//   unemptiable     EmptyClipboard fails, as where the clipboard was taken
//                   back
//   system-fault    every read of the clipboard's data is preceded by a
//                   system call that faults and handles the fault itself,
//                   as input methods and other hooks in the process may
//   exhaust         memory runs out just before a text is copied: the
//                   32-bit address space is used up; the x64 one is too
//                   large, so there the C library's allocator refuses

#include "address_space.h"
#include "clipboard/text_block.h"
#include "driver/run_sequence.h"
#include "import_hook.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

decltype(&GlobalLock) RealGlobalLock;
decltype(&GlobalAlloc) RealGlobalAlloc;
decltype(&GlobalFree) RealGlobalFree;
decltype(&GlobalSize) RealGlobalSize;
decltype(&ExitProcess) RealExitProcess;
decltype(&GlobalUnlock) RealGlobalUnlock;
decltype(&GetClipboardData) RealGetClipboardData;
HANDLE UnicodeBlock = nullptr; // once recorded, the one block that faults
decltype(&std::malloc) RealMalloc;
HGLOBAL OwnBlock = nullptr;
SIZE_T OwnBlockSize = 0; // where not 0, only a block of this size is recorded
bool Released = false;

void *Page(DWORD protection) {
  return VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, protection);
}

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
  Released = Released || (block != nullptr && block == OwnBlock);
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

decltype(&OpenClipboard) RealOpenClipboard;
long OpensLeft = 0;
DWORD RefusalLasts = INFINITE;
DWORD RefusalStart = 0;

BOOL WINAPI RefusingOpen(HWND window) {
  if (OpensLeft > 0) {
    --OpensLeft;
    return RealOpenClipboard(window);
  }
  if (OpensLeft == 0) {
    RefusalStart = GetTickCount();
    OpensLeft = -1;
  }
  if (GetTickCount() - RefusalStart >= RefusalLasts)
    return RealOpenClipboard(window);
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

UINT WINAPI Utf8CodePage() { return CP_UTF8; }

decltype(&MultiByteToWideChar) RealMultiByteToWideChar;
decltype(&WideCharToMultiByte) RealWideCharToMultiByte;

UINT Utf8ForAnsi(UINT codePage) {
  return codePage == CP_ACP ? CP_UTF8 : codePage;
}

int WINAPI Utf8ToWide(UINT codePage, DWORD flags, LPCCH bytes, int size,
                      LPWSTR wide, int length) {
  return RealMultiByteToWideChar(Utf8ForAnsi(codePage), flags, bytes, size,
                                 wide, length);
}

int WINAPI Utf8FromWide(UINT codePage, DWORD flags, LPCWCH wide, int length,
                        LPSTR bytes, int size, LPCCH defaultCharacter,
                        LPBOOL usedDefault) {
  return RealWideCharToMultiByte(Utf8ForAnsi(codePage), flags, wide, length,
                                 bytes, size, defaultCharacter, usedDefault);
}

BOOL WINAPI RefusingEmpty() {
  SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return FALSE;
}

// The system probes a read-only page by writing to it and catches the access
// violation itself.
HANDLE WINAPI FaultingGetClipboardData(UINT format) {
  static void *const readOnly = Page(PAGE_READONLY);
  if (IsBadWritePtr(readOnly, 1) == FALSE)
    ExitProcess(96); // the probe did not fault: nothing was checked
  return RealGetClipboardData(format);
}

void *RefusingMalloc(std::size_t size) {
  return size >= (1u << 20) ? nullptr : RealMalloc(size);
}

} // namespace

int main(int argc, char **argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "describe")
    return static_cast<int>(
        reinterpret_cast<std::uintptr_t>(&TextFromBlock<char>) -
        reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)));
  if (mode == "describe-unicode")
    return static_cast<int>(
        reinterpret_cast<std::uintptr_t>(&TextFromBlock<wchar_t>) -
        reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)));
  if (mode == "codepage") {
    MessageBoxA(nullptr, std::to_string(GetACP()).c_str(), "code page",
                MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (mode == "unreadable") {
    Hook("GlobalLock", UnreadableLock, RealGlobalLock);
    Hook("GlobalUnlock", RecordingUnlock, RealGlobalUnlock);
    Hook("ExitProcess", ExitIfReleased, RealExitProcess);
  } else if (mode == "unreadable-unicode") {
    Hook("GetClipboardData", RecordingGetClipboardData, RealGetClipboardData);
    Hook("GlobalLock", UnreadableUnicodeLock, RealGlobalLock);
    Hook("GlobalUnlock", RecordingUnlock, RealGlobalUnlock);
    Hook("ExitProcess", ExitIfReleased, RealExitProcess);
  } else if (mode == "readonly-block") {
    if (argc > 2)
      OwnBlockSize = static_cast<SIZE_T>(std::atol(argv[2]));
    Hook("GlobalAlloc", RecordingAlloc, RealGlobalAlloc);
    Hook("GlobalLock", ReadOnlyOwnLock, RealGlobalLock);
    Hook("GlobalFree", RecordingFree, RealGlobalFree);
    Hook("ExitProcess", ExitIfReleased, RealExitProcess);
  } else if (mode == "unopenable") {
    if (argc > 2)
      OpensLeft = std::atol(argv[2]);
    if (argc > 3 && argv[3][0] != '/')
      RefusalLasts = static_cast<DWORD>(std::atol(argv[3]));
    Hook("OpenClipboard", RefusingOpen, RealOpenClipboard);
  } else if (mode == "utf8") {
    decltype(&GetACP) realGetACP;
    Hook("GetACP", Utf8CodePage, realGetACP);
    Hook("MultiByteToWideChar", Utf8ToWide, RealMultiByteToWideChar);
    Hook("WideCharToMultiByte", Utf8FromWide, RealWideCharToMultiByte);
  } else if (mode == "unemptiable") {
    decltype(&EmptyClipboard) realEmpty;
    Hook("EmptyClipboard", RefusingEmpty, realEmpty);
  } else if (mode == "system-fault") {
    Hook("GetClipboardData", FaultingGetClipboardData, RealGetClipboardData);
  } else if (mode == "exhaust") {
    if (sizeof(void *) == 4)
      Hook("GlobalSize", ExhaustingSize, RealGlobalSize);
    else
      Hook("malloc", RefusingMalloc, RealMalloc);
  } else {
    return 98;
  }
  RunTool();
}
