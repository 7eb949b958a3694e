// Direct access to the clipboard's bytes and formats.

#include "clipboard_access.h"

#include "fixture_timeout.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool OpenClipboardForTest() {
  // Wine's own clipboard thread may hold it for a moment.
  for (DWORD waited = 0; waited < FixtureTimeout; waited += 10) {
    if (OpenClipboard(nullptr))
      return true;
    Sleep(10);
  }
  ADD_FAILURE() << "the test could not open the clipboard";
  return false;
}

} // namespace

HGLOBAL BlockOf(const std::string &bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}
void SetClipboardItems(const std::vector<ClipboardItem> &items) {
  if (!OpenClipboardForTest())
    return;
  EmptyClipboard();
  for (const ClipboardItem &item : items)
    SetClipboardData(item.format, BlockOf(item.bytes));
  CloseClipboard();
}

ClipboardItem TextItem(const std::string &text) {
  return {CF_TEXT, text + '\0'};
}

ClipboardItem UnicodeItem(const std::wstring &text) {
  return {CF_UNICODETEXT,
          std::string(reinterpret_cast<const char *>(text.c_str()),
                      (text.size() + 1) * sizeof(wchar_t))};
}

ClipboardItem LocaleItem(LCID locale) {
  return {CF_LOCALE,
          std::string(reinterpret_cast<const char *>(&locale), sizeof locale)};
}

void SetClipboardBytes(const std::string &text) {
  SetClipboardItems({TextItem(text)});
}

bool ClipboardHasFormat(UINT format) {
  return IsClipboardFormatAvailable(format) != FALSE;
}

std::string ClipboardBytes(UINT format) {
  std::string bytes;
  if (!OpenClipboardForTest())
    return bytes;
  if (HANDLE block = GetClipboardData(format)) {
    const char *data = static_cast<const char *>(GlobalLock(block));
    if (data != nullptr)
      bytes.assign(data, GlobalSize(block));
    GlobalUnlock(block);
  }
  CloseClipboard();
  return bytes;
}

std::string ClipboardTextBytes() {
  const std::string bytes = ClipboardBytes(CF_TEXT);
  return bytes.substr(0, bytes.find('\0'));
}

std::wstring ClipboardUnicode() {
  const std::string bytes = ClipboardBytes(CF_UNICODETEXT);
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(&text[0], bytes.data(), text.size() * sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

std::string TextDerivedFrom(const std::wstring &unicode) {
  SetClipboardItems({UnicodeItem(unicode)});
  return ClipboardTextBytes();
}

std::vector<UINT> ClipboardFormats() {
  std::vector<UINT> formats;
  if (!OpenClipboardForTest())
    return formats;
  for (UINT format = EnumClipboardFormats(0); format != 0;
       format = EnumClipboardFormats(format))
    formats.push_back(format);
  CloseClipboard();
  return formats;
}

UINT TestFormat() { return RegisterClipboardFormatA("Velmora Test Format"); }

HWND ClipboardWindow() {
  return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         nullptr, nullptr);
}
