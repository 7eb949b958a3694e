#pragma once

#include <string>

// Text on the system clipboard: CF_TEXT, byte for byte, and beside it the
// Unicode text (CF_UNICODETEXT) of a text that says more in Unicode than in
// its bytes. Every operation opens the clipboard without an owner and closes
// it again before it returns, so the clipboard is never held open between two
// operations.

// A window may hold the clipboard open, and another program may open it
// between the wait and the open: a clipboard manager or the system's
// clipboard history reads it right after every change, holding it for a few
// milliseconds. An operation therefore waits while a window holds the
// clipboard, and tries a failed open again, pausing in between. It gives up
// after ClipboardWaitLimit in all, the retries of the open alone after
// OpenRetryLimit, and then goes on without holding the clipboard, as it would
// have on the first failure. No working holder keeps the clipboard for
// seconds: a clipboard stuck open by a hung program must not hang the tool,
// which has no window to show that it waits. A run has at most four waiting
// operations, so a clipboard that can never be had delays it by eight
// seconds at most.
const unsigned long ClipboardWaitLimit = 2000; // milliseconds, per operation
const unsigned long OpenRetryPause = 5;        // milliseconds
const unsigned long OpenRetryLimit = 1000;     // milliseconds, per operation

// Returns once no window holds the clipboard open, or once ClipboardWaitLimit
// has passed since the tick count given, whichever comes first.
void WaitClipboardFree(unsigned long since);
bool ClipboardHasText();

// The clipboard's CF_TEXT. Given somewhere to put it, also the clipboard's
// Unicode text, where the Unicode was placed as such and holds more than the
// CF_TEXT bytes do read in the system's code page (characters that code page
// lacks); otherwise that is left as it is. A Unicode text that the system
// derived from CF_TEXT never holds more, so it is not read at all.
std::string GetClipboardText(std::wstring *unicode = nullptr);

// Writes text followed by more as CF_TEXT: the two are joined in the
// clipboard's block itself, so that appending costs no joined copy of its
// own. Given the Unicode form of either, it also writes the joined Unicode
// text, placed before CF_TEXT as the more descriptive format; a piece
// without a Unicode form of its own gives its bytes, converted from the
// system's code page. Both blocks are filled before the clipboard is opened:
// one that cannot be had leaves the clipboard as it was.
void SetClipboardText(const std::string &text,
                      const std::string &more = std::string(),
                      const std::wstring &unicodeText = std::wstring(),
                      const std::wstring &unicodeMore = std::wstring());
void ClearClipboard();
