// The Unicode form of a clipboard text, and the code page of its bytes.

#include "clipboard/unicode_form.h"

#include "clipboard/clipboard_open.h"

#include <algorithm>

namespace {

// A locale's ANSI code page; 0 for a locale that has none (one that exists
// in Unicode only) or that the system does not know.
UINT AnsiCodePageOf(LCID locale) {
  DWORD codePage = 0;
  GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                 reinterpret_cast<LPSTR>(&codePage), sizeof codePage);
  return codePage;
}

} // namespace

// The system lists the formats it derives after the one that was placed, so
// CF_TEXT listed first is the original, and the Unicode derived from it says
// nothing more.
bool UnicodeWasPlaced() {
  for (UINT format = EnumClipboardFormats(0); format != 0;
       format = EnumClipboardFormats(format))
    if (format == CF_TEXT || format == CF_UNICODETEXT)
      return format == CF_UNICODETEXT;
  return false;
}

// A locale without a code page of its own has its text converted in the
// system's, and an unreadable one tells nothing: the bytes go through as
// they are, as they always did.
bool ClipboardCodePageDiffers() {
  LCID locale = 0;
  ReadClipboardBlock(CF_LOCALE, [&locale](const void *data, SIZE_T size) {
    if (size >= sizeof locale)
      locale = *static_cast<const LCID *>(data);
  });
  const UINT codePage = locale != 0 ? AnsiCodePageOf(locale) : 0;
  return codePage != 0 && codePage != GetACP();
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

// No flags: the conversion the system makes for CF_TEXT itself, so that ANSI
// readers get the same bytes as where the input language matches the
// system's. Best fit reads better than a row of "?", and the Unicode text
// beside keeps the character itself.
std::string AnsiFromWide(const std::wstring &text) {
  const int size = static_cast<int>(text.size());
  const int length = size > 0
                         ? WideCharToMultiByte(CP_ACP, 0, text.data(), size,
                                               nullptr, 0, nullptr, nullptr)
                         : 0;
  std::string ansi;
  if (length <= 0)
    return ansi;
  // Room for a line break, as for a text read as bytes.
  ansi.reserve(static_cast<std::size_t>(length) + 2);
  ansi.resize(static_cast<std::size_t>(length));
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, &ansi[0], length, nullptr,
                      nullptr);
  return ansi;
}

// Converted a piece at a time into a buffer of the tool's own, so that a
// large text costs no copy, and a text that holds more mostly shows it early.
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

const std::wstring &UnicodeOf(const std::wstring &unicode,
                              const std::string &text,
                              std::wstring &converted) {
  // No copy of a text that may be large: the callers use the result within
  // the statement that passes them the text.
  if (!unicode.empty())
    return unicode; // NOLINT(bugprone-return-const-ref-from-parameter)
  converted = WideFromAnsi(text);
  return converted;
}

LCID TextLocale() {
  const LCID locale = GetSystemDefaultLCID();
  return AnsiCodePageOf(locale) == GetACP() ? locale : 0;
}
