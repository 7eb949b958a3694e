// System calls made to answer otherwise than the desktop would.

#include "hooked_calls.h"

#include "import_hook.h"
#include "memory_faults.h"

namespace {

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

BOOL WINAPI RefusingEmpty() {
  SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return FALSE;
}

decltype(&GetClipboardData) RealGetClipboardData;

// The system probes a read-only page by writing to it and catches the access
// violation itself.
HANDLE WINAPI FaultingGetClipboardData(UINT format) {
  static void *const readOnly = Page(PAGE_READONLY);
  if (IsBadWritePtr(readOnly, 1) == FALSE)
    ExitProcess(96); // the probe did not fault: nothing was checked
  return RealGetClipboardData(format);
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

decltype(&GetProcAddress) RealGetProcAddress;

FARPROC WINAPI GetProcAddressButDllDirectories(HMODULE module, LPCSTR name) {
  // A name, not an ordinal, in the pointer's upper bits.
  if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF &&
      lstrcmpA(name, "SetDefaultDllDirectories") == 0) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return RealGetProcAddress(module, name);
}

} // namespace

void RefuseOpens(long succeeding, DWORD lasting) {
  OpensLeft = succeeding;
  RefusalLasts = lasting;
  Hook("OpenClipboard", RefusingOpen, RealOpenClipboard);
}

void RefuseEmptying() {
  decltype(&EmptyClipboard) realEmpty;
  Hook("EmptyClipboard", RefusingEmpty, realEmpty);
}

void FaultInSystemBeforeReads() {
  Hook("GetClipboardData", FaultingGetClipboardData, RealGetClipboardData);
}

void SayUtf8IsTheCodePage() {
  decltype(&GetACP) realGetACP;
  Hook("GetACP", Utf8CodePage, realGetACP);
  Hook("MultiByteToWideChar", Utf8ToWide, RealMultiByteToWideChar);
  Hook("WideCharToMultiByte", Utf8FromWide, RealWideCharToMultiByte);
}

void HideSetDefaultDllDirectories() {
  Hook("GetProcAddress", GetProcAddressButDllDirectories, RealGetProcAddress);
}
