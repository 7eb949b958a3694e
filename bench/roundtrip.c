/* Reads the clipboard's text and writes it back, in plain C: the floor of
   the append path, which must do at least this. A text placed as Unicode
   moves in both forms, as the tool must move it: its CF_TEXT and its
   Unicode text, each read out and written back. */
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

/* Whether the clipboard's text was placed as Unicode: the system lists the
   formats it derives after the one placed. */
static int UnicodePlaced(void) {
  UINT format;
  for (format = EnumClipboardFormats(0); format != 0;
       format = EnumClipboardFormats(format))
    if (format == CF_TEXT || format == CF_UNICODETEXT)
      return format == CF_UNICODETEXT;
  return 0;
}

/* A copy of the format's text and its NUL, its size in bytes in *size;
   NULL where the clipboard holds none. */
static void *Read(UINT format, size_t *size) {
  HANDLE data = GetClipboardData(format);
  const void *units = data != NULL ? GlobalLock(data) : NULL;
  void *copy;
  if (units == NULL)
    return NULL;
  *size = format == CF_UNICODETEXT
              ? (wcslen((const wchar_t *)units) + 1) * sizeof(wchar_t)
              : strlen((const char *)units) + 1;
  copy = malloc(*size);
  memcpy(copy, units, *size);
  GlobalUnlock(data);
  return copy;
}

static HGLOBAL Block(const void *units, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  memcpy(GlobalLock(block), units, size);
  GlobalUnlock(block);
  return block;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line,
                   int show) {
  void *text, *unicode = NULL;
  size_t textSize = 0, unicodeSize = 0;
  (void)instance, (void)previous, (void)line, (void)show;
  OpenClipboard(NULL);
  if (UnicodePlaced())
    unicode = Read(CF_UNICODETEXT, &unicodeSize);
  text = Read(CF_TEXT, &textSize);
  CloseClipboard();
  if (text == NULL)
    ExitProcess(1);
  /* The blocks are filled once the clipboard is emptied, which lets go of
     the copy the system fetched for this process. */
  OpenClipboard(NULL);
  EmptyClipboard();
  if (unicode != NULL)
    SetClipboardData(CF_UNICODETEXT, Block(unicode, unicodeSize));
  SetClipboardData(CF_TEXT, Block(text, textSize));
  CloseClipboard();
  ExitProcess(0);
}
