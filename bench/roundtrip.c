/* Reads the clipboard's text and writes it back, in plain C: the floor of
   the append path, which must do at least this. */
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line,
                   int show) {
  HANDLE data;
  HGLOBAL block;
  char *text = NULL;
  size_t length = 0;
  (void)instance, (void)previous, (void)line, (void)show;
  OpenClipboard(NULL);
  data = GetClipboardData(CF_TEXT);
  if (data != NULL) {
    const char *bytes = (const char *)GlobalLock(data);
    length = strlen(bytes);
    text = (char *)malloc(length + 1);
    memcpy(text, bytes, length + 1);
    GlobalUnlock(data);
  }
  CloseClipboard();
  if (text == NULL)
    ExitProcess(1);
  block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
  OpenClipboard(NULL);
  EmptyClipboard();
  memcpy(GlobalLock(block), text, length + 1);
  SetClipboardData(CF_TEXT, block);
  GlobalUnlock(block);
  CloseClipboard();
  ExitProcess(0);
}
