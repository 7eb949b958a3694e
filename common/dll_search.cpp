// The DLL search restricted to the system folder.

#include "common/dll_search.h"

#include <windows.h>

void RestrictDllSearch() {
  // Windows 8 and later have it, Windows 7 only with update KB2533623: looked
  // up, so that the tool still starts without it.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI *)(DWORD);
  const auto setDefaultDllDirectories =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(
          reinterpret_cast<void (*)()>(GetProcAddress(
              GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories != nullptr &&
      setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE)
    return;
  // Without it, at least the current folder is left out; the exe's own
  // folder is still searched.
  SetDllDirectoryW(L"");
}
