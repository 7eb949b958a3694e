#pragma once

// Text on the system clipboard: CF_TEXT, byte for byte, and beside it the
// Unicode text (CF_UNICODETEXT) of a text that says more in Unicode than in
// its bytes. Every operation opens the clipboard without an owner and closes
// it again before it returns, so the clipboard is never held open between two
// operations.

#include <string>

// A window may hold the clipboard open, and another program may open it
// between the wait and the open: a clipboard manager or the system's
// clipboard history reads it right after every change, holding it for a few
// milliseconds. An operation therefore waits while a window holds the
// clipboard, and tries a failed open again, pausing in between, until its
// bound has passed in all; a read then tells its caller that the clipboard
// could not be had, which is not the same as no text. The bounds are finite:
// a clipboard stuck open by a hung program must not hang the tool, which has
// no window to show that it waits. Before the editor's copy the bound is
// ClipboardWaitLimit, short, since a run that gives up there ends having
// changed nothing. After it the tool holds the only copy
// of what was collected, so its reads and its write wait CollectedWaitLimit,
// long enough for a clipboard history saving a large item or a remote
// desktop's clipboard on a slow link.
const unsigned long ClipboardWaitLimit = 2000;  // milliseconds, per operation
const unsigned long CollectedWaitLimit = 10000; // milliseconds, per operation
const unsigned long OpenRetryPause = 5;         // milliseconds

// Returns once no window holds the clipboard open, or once the limit has
// passed since the tick count given, whichever comes first.
void WaitClipboardFree(unsigned long since, unsigned long limit);

// Reads the clipboard's text into text, and tells whether it holds one: the
// empty text is a text. Where it holds none, text is left empty and the
// result is false; so it is where readable comes back false: the clipboard
// could not be had within the limit, or it lists a text that cannot be read
// while the owner that should render it is still there (a delayed rendering
// that failed, a block that cannot be locked). Such a text may come back;
// one whose owner is gone never can, and counts as none. A text that a
// program placed as Unicode in another code page than the system's, as the
// clipboard's CF_LOCALE tells, is read as that Unicode converted to the
// system's code page, as the system itself would have converted it; any
// other is read as its CF_TEXT bytes. Given somewhere to put it, also the
// clipboard's Unicode text, where the Unicode was placed as such and holds
// more than the bytes read in the system's code page (characters that code
// page lacks); otherwise that is left as it is.
bool GetClipboardText(std::string &text, bool &readable,
                      std::wstring *unicode = nullptr,
                      unsigned long limit = ClipboardWaitLimit);

// Writes text followed by more as CF_TEXT, waiting up to CollectedWaitLimit
// for the clipboard: the two are joined in the clipboard's block itself, so
// that appending costs no joined copy of its own. Given the Unicode form of
// either, it also writes the joined Unicode text, placed before CF_TEXT as
// the more descriptive format; a piece without a Unicode form of its own
// gives its bytes, converted from the system's code page. Beside CF_TEXT
// goes CF_LOCALE, the system's locale, whose code page the bytes are in, so
// that Unicode programs read them right whatever the input language; where
// no locale has the system's code page (the UTF-8 option of newer Windows),
// the Unicode text is always written instead. Every block is filled before
// the clipboard is opened: one that cannot be had, or a clipboard that
// cannot be emptied, leaves the clipboard as it was.
void SetClipboardText(const std::string &text,
                      const std::string &more = std::string(),
                      const std::wstring &unicodeText = std::wstring(),
                      const std::wstring &unicodeMore = std::wstring());

// Empties the clipboard, waiting up to ClipboardWaitLimit for it; a clipboard
// that cannot be had stays as it is.
void ClearClipboard();
