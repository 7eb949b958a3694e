#include "clipboard/clipboard_text.h"

#include "clipboard/text_block.h"
#include "common/fault.h"
#include "common/scope_exit.h"

#include <windows.h>

#include <algorithm>

void WaitClipboardFree(unsigned long since, unsigned long limit) {
  // Only a holder that opened the clipboard for a window shows here; the
  // tool itself opens it without one. A holder that lets go at once is seen
  // at once; one that keeps the clipboard is looked at once a timer tick,
  // which costs next to no processor time.
  const int ChecksBeforePausing = 4;
  for (int checks = 0;
       GetOpenClipboardWindow() != nullptr && GetTickCount() - since < limit;
       ++checks)
    if (checks >= ChecksBeforePausing)
      Sleep(1);
}

namespace {

// Opens the clipboard once it is free, and tells whether it did. The waits
// between the tries share the first wait's bound, so that retrying cannot
// multiply it. Nothing is read or written without the clipboard open: some
// systems let a write through all the same, into the contents of the
// program that holds it.
bool OpenClipboardWaiting(DWORD limit) {
  const DWORD start = GetTickCount();
  WaitClipboardFree(start, limit);
  while (OpenClipboard(nullptr) == FALSE) {
    if (GetTickCount() - start >= limit)
      return false;
    Sleep(OpenRetryPause);
    WaitClipboardFree(start, limit);
  }
  return true;
}

// The text of one clipboard format, in its units.
template <class Unit> std::basic_string<Unit> ClipboardUnits(UINT format) {
  HANDLE block = GetClipboardData(format);
  if (block == nullptr)
    return {};
  const void *units = GlobalLock(block);
  ScopeExit unlock([block] { GlobalUnlock(block); });
  return TextFromBlock(static_cast<const Unit *>(units), GlobalSize(block));
}

// Whether the clipboard's text was placed as Unicode. The system lists the
// formats it derives after the one that was placed, so CF_TEXT listed first
// is the original, and the Unicode derived from it says nothing more.
bool UnicodeWasPlaced() {
  for (UINT format = EnumClipboardFormats(0); format != 0;
       format = EnumClipboardFormats(format))
    if (format == CF_TEXT || format == CF_UNICODETEXT)
      return format == CF_UNICODETEXT;
  return false;
}

std::wstring WideFromAnsi(const std::string &text) {
  const int size = static_cast<int>(text.size());
  const int length =
      size > 0 ? MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)
               : 0;
  if (length <= 0)
    return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
  return wide;
}

// Whether the Unicode text holds more than the bytes read in the system's
// code page: whether it does not convert back to exactly those bytes, each
// character directly rather than to a look-alike or "?". Converted a piece at
// a time into a buffer of the tool's own, so that a large text costs no copy,
// and a text that holds more mostly shows it early.
bool HoldsMore(const std::wstring &unicode, const std::string &text) {
  const std::size_t Piece = 4096;
  char bytes[3 * Piece]; // the most any code page takes for a UTF-16 unit
  // UTF-8 converts every character directly, and takes no flags.
  const bool utf8 = GetACP() == CP_UTF8;
  std::size_t converted = 0, compared = 0;
  while (converted < unicode.size()) {
    std::size_t count = std::min(Piece, unicode.size() - converted);
    // A surrogate pair is converted whole.
    if (converted + count < unicode.size() &&
        IS_HIGH_SURROGATE(unicode[converted + count - 1]))
      --count;
    BOOL lookAlike = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS,
                            &unicode[converted], static_cast<int>(count), bytes,
                            sizeof bytes, nullptr, utf8 ? nullptr : &lookAlike);
    const auto size = static_cast<std::size_t>(length);
    if (length <= 0 || lookAlike != FALSE || text.size() - compared < size ||
        text.compare(compared, size, bytes, size) != 0)
      return true;
    converted += count;
    compared += size;
  }
  return compared != text.size();
}

// A piece's Unicode form: its own where it has one, else its bytes converted.
const std::wstring &UnicodeOf(const std::wstring &unicode,
                              const std::string &text,
                              std::wstring &converted) {
  if (!unicode.empty())
    return unicode;
  converted = WideFromAnsi(text);
  return converted;
}

// A movable block of the given size, locked and filled, or null if none can
// be had.
template <class Fill> HGLOBAL FilledBlock(SIZE_T size, Fill fill) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr)
    return nullptr;
  bool filled = false;
  ScopeExit freeUnfilled([&] {
    if (!filled)
      GlobalFree(block);
  });
  try {
    void *data = GlobalLock(block);
    if (data == nullptr)
      return nullptr;
    ScopeExit unlock([block] { GlobalUnlock(block); });
    fill(data);
    filled = true;
  } catch (const AccessViolation &) {
    // A block that cannot be filled is given up; the write ends normally.
  }
  return filled ? block : nullptr;
}

// Both texts and a NUL unit.
template <class Unit>
HGLOBAL TextBlock(const std::basic_string<Unit> &text,
                  const std::basic_string<Unit> &more) {
  return FilledBlock(
      (text.size() + more.size() + 1) * sizeof(Unit),
      [&](void *units) { FillBlock(static_cast<Unit *>(units), text, more); });
}

HGLOBAL LocaleBlock(LCID locale) {
  return FilledBlock(sizeof locale, [locale](void *data) {
    *static_cast<LCID *>(data) = locale;
  });
}

// The locale whose code page CF_TEXT bytes are in: the system's, where its
// code page is the system's ANSI code page; none (0) elsewhere.
LCID TextLocale() {
  const LCID locale = GetSystemDefaultLCID();
  DWORD codePage = 0;
  GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                 reinterpret_cast<LPSTR>(&codePage), sizeof codePage);
  return codePage == GetACP() ? locale : 0;
}

} // namespace

bool ClipboardHasText(bool &opened) {
  opened = OpenClipboardWaiting(ClipboardWaitLimit);
  if (!opened)
    return false;
  ScopeExit close([] { CloseClipboard(); });
  return GetClipboardData(CF_TEXT) != nullptr;
}

std::string GetClipboardText(bool &opened, std::wstring *unicode,
                             unsigned long limit) {
  std::string text;
  std::wstring placed;
  {
    opened = OpenClipboardWaiting(limit);
    if (!opened)
      return text;
    ScopeExit close([] { CloseClipboard(); });
    text = ClipboardUnits<char>(CF_TEXT);
    if (unicode != nullptr && UnicodeWasPlaced())
      placed = ClipboardUnits<wchar_t>(CF_UNICODETEXT);
  }
  if (unicode != nullptr && !placed.empty() && HoldsMore(placed, text))
    *unicode = std::move(placed);
  return text;
}

void SetClipboardText(const std::string &text, const std::string &more,
                      const std::wstring &unicodeText,
                      const std::wstring &unicodeMore) {
  // Each block is ours until the clipboard takes it.
  HGLOBAL unicodeBlock = nullptr;
  HGLOBAL textBlock = nullptr;
  HGLOBAL localeBlock = nullptr;
  ScopeExit freeUntaken([&] {
    for (HGLOBAL block : {unicodeBlock, textBlock, localeBlock})
      if (block != nullptr)
        GlobalFree(block);
  });
  const LCID locale = TextLocale();
  // Without a locale of their code page, no reader can tell what the bytes
  // say in Unicode: it is written for them.
  if (locale == 0 || !unicodeText.empty() || !unicodeMore.empty()) {
    std::wstring convertedText, convertedMore;
    unicodeBlock = TextBlock(UnicodeOf(unicodeText, text, convertedText),
                             UnicodeOf(unicodeMore, more, convertedMore));
    if (unicodeBlock == nullptr)
      return;
  }
  if (locale != 0 && (localeBlock = LocaleBlock(locale)) == nullptr)
    return;
  textBlock = TextBlock(text, more);
  if (textBlock == nullptr || !OpenClipboardWaiting(CollectedWaitLimit))
    return;
  ScopeExit close([] { CloseClipboard(); });
  EmptyClipboard();
  // The most descriptive format goes first: the next reader, this tool's
  // next run included, takes the Unicode text for the original.
  if (unicodeBlock != nullptr &&
      SetClipboardData(CF_UNICODETEXT, unicodeBlock) != nullptr)
    unicodeBlock = nullptr;
  if (SetClipboardData(CF_TEXT, textBlock) != nullptr)
    textBlock = nullptr;
  if (localeBlock != nullptr &&
      SetClipboardData(CF_LOCALE, localeBlock) != nullptr)
    localeBlock = nullptr;
}

void ClearClipboard() {
  // No wait: emptying is meant to go ahead even while the clipboard is busy.
  OpenClipboard(nullptr);
  ScopeExit close([] { CloseClipboard(); });
  EmptyClipboard();
}
