// The refusal shown when the tool is started over any window but the
// editor's: its sentence in code page 932, converted for the box.

#include "driver/refusal.h"

#include <iterator>

namespace {

const char ToolCaption[] = "Velmora";
// "Inkslabの[ツール]から実行して下さい。" in code page 932, whatever the
// system's code page.
const UINT RefusalCodePage = 932;
const char RefusalMessage[] = "Inkslab"
                              "\x82\xCC\x5B\x83\x63\x81\x5B\x83\x8B\x5D"
                              "\x82\xA9\x82\xE7\x8E\xC0\x8D\x73\x82\xB5"
                              "\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81\x42";
static_assert(sizeof RefusalMessage - 1 == 37, "refusal text is 37 bytes");

} // namespace

// The refusal is converted from its own code page, so that it reads the same
// on a Windows of any language; read in the system's code page its bytes are
// garbage everywhere but in Japanese. Only a system that cannot convert from
// code page 932 is shown the bytes as they stand.
void ShowRefusalMessage(HWND owner) {
  const UINT style = MB_OK | MB_ICONEXCLAMATION;
  // No character takes more than one of its bytes as a UTF-16 unit.
  wchar_t text[sizeof RefusalMessage];
  wchar_t caption[sizeof ToolCaption];
  const bool converted =
      MultiByteToWideChar(RefusalCodePage, MB_ERR_INVALID_CHARS, RefusalMessage,
                          -1, text, int{std::size(text)}) != 0 &&
      MultiByteToWideChar(RefusalCodePage, MB_ERR_INVALID_CHARS, ToolCaption,
                          -1, caption, int{std::size(caption)}) != 0;
  if (converted)
    MessageBoxW(owner, text, caption, style);
  else
    MessageBoxA(owner, RefusalMessage, ToolCaption, style);
}
