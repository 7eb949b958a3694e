/* A DLL to plant beside the tool under the name of one that the system loads
   at run time. Where it is loaded, it leaves the file "planted-loaded" beside
   itself, and refuses to load, so that the system goes on without it. */

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void *reserved) {
  char path[MAX_PATH + 16];
  DWORD length;
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH)
    return TRUE;
  length = GetModuleFileNameA(instance, path, MAX_PATH);
  while (length > 0 && path[length - 1] != '\\')
    --length;
  lstrcpyA(path + length, "planted-loaded");
  CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, NULL));
  return FALSE;
}
