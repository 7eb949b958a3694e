#pragma once

#include <string>

// CF_TEXT on the system clipboard. Every operation opens the clipboard without
// an owner and closes it again before it returns, so the clipboard is never
// held open between two operations.

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
std::string GetClipboardText();
// Writes text followed by more: the two are joined in the clipboard's block
// itself, so that appending costs no joined copy of its own.
void SetClipboardText(const std::string &text,
                      const std::string &more = std::string());
void ClearClipboard();
