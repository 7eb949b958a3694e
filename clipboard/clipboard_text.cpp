// The three clipboard operations: the read, the write and the emptying.

#include "clipboard/clipboard_text.h"

#include "clipboard/clipboard_open.h"
#include "clipboard/filled_block.h"
#include "clipboard/text_block.h"
#include "clipboard/unicode_form.h"
#include "common/scope_exit.h"

#include <windows.h>

namespace {

// The text of one clipboard format, in its units; false where the clipboard
// holds none.
template <class Unit>
bool GetClipboardUnits(UINT format, std::basic_string<Unit> &text) {
  return ReadClipboardBlock(format, [&text](const void *units, SIZE_T size) {
    text = TextFromBlock(static_cast<const Unit *>(units), size);
  });
}

// Listed, yet not to be had, while the owner that should render it is there.
bool TextIsListedButUnreadable(UINT format) {
  return IsClipboardFormatAvailable(format) != FALSE &&
         IsWindow(GetClipboardOwner()) != FALSE;
}

} // namespace

bool GetClipboardText(std::string &text, bool &readable, std::wstring *unicode,
                      unsigned long limit) {
  text.clear();
  std::wstring placed;
  bool hasText = false, fromUnicode = false;
  {
    readable = OpenClipboardWaiting(limit);
    if (!readable)
      return false;
    ScopeExit close([] { CloseClipboard(); });
    const bool unicodePlaced = UnicodeWasPlaced();
    // Unicode placed by a program typing in another code page than the
    // system's: the system's CF_TEXT of it is in that code page, so the
    // bytes are made from the Unicode instead, once the clipboard is closed.
    fromUnicode = unicodePlaced && ClipboardCodePageDiffers();
    if (fromUnicode) {
      hasText = GetClipboardUnits(CF_UNICODETEXT, placed);
    } else {
      hasText = GetClipboardUnits(CF_TEXT, text);
      if (hasText && unicodePlaced && unicode != nullptr)
        GetClipboardUnits(CF_UNICODETEXT, placed);
    }
    if (!hasText)
      readable =
          !TextIsListedButUnreadable(fromUnicode ? CF_UNICODETEXT : CF_TEXT);
  }
  if (fromUnicode)
    text = AnsiFromWide(placed);
  if (unicode != nullptr && !placed.empty() && HoldsMore(placed, text))
    *unicode = std::move(placed);
  return hasText;
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
  if (locale != 0) {
    localeBlock = LocaleBlock(locale);
    if (localeBlock == nullptr)
      return;
  }
  textBlock = TextBlock(text, more);
  if (textBlock == nullptr || !OpenClipboardWaiting(CollectedWaitLimit))
    return;
  ScopeExit close([] { CloseClipboard(); });
  // A clipboard that cannot be emptied keeps what it holds: placing the text
  // among the formats of another program's copy would mix the two.
  if (EmptyClipboard() == FALSE)
    return;
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

// Only the program that has the clipboard open can empty it: a clear that
// went ahead while a clipboard manager held it would change nothing, and the
// next append would add to what the user believed cleared.
void ClearClipboard() {
  if (!OpenClipboardWaiting(ClipboardWaitLimit))
    return;
  ScopeExit close([] { CloseClipboard(); });
  EmptyClipboard();
}
