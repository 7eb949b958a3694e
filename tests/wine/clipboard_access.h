#pragma once

// Direct access to the clipboard's bytes and formats.

#include <windows.h>

#include <string>
#include <vector>

// Clipboard contents, written and read as raw bytes of one format each.
struct ClipboardItem {
  UINT format;
  std::string bytes;
};
void SetClipboardItems(const std::vector<ClipboardItem> &items);
ClipboardItem TextItem(const std::string &text);     // CF_TEXT, NUL added
ClipboardItem UnicodeItem(const std::wstring &text); // CF_UNICODETEXT
ClipboardItem LocaleItem(LCID locale);               // CF_LOCALE
void SetClipboardBytes(const std::string &text);
bool ClipboardHasFormat(UINT format);
std::string ClipboardBytes(UINT format); // the whole block, NULs included
std::string ClipboardTextBytes();        // CF_TEXT up to its first NUL
std::wstring ClipboardUnicode();         // CF_UNICODETEXT likewise
// The CF_TEXT the system derives from a Unicode text; leaves that text on
// the clipboard.
std::string TextDerivedFrom(const std::wstring &unicode);
std::vector<UINT> ClipboardFormats();
UINT TestFormat(); // a registered, non-text format

HGLOBAL BlockOf(const std::string &bytes); // a movable block of these bytes

// A message-only window to open the clipboard for: openers without a window
// do not keep each other out under Wine.
HWND ClipboardWindow();
