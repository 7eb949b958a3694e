#pragma once

#include <string>

// CF_TEXT on the system clipboard. Every operation opens the clipboard without
// an owner and closes it again before it returns, so the clipboard is never
// held open between two operations.

// Another program may open the clipboard between the wait and the open: a
// clipboard manager or the system's clipboard history reads it right after
// every change, holding it for a few milliseconds. A failed open therefore
// waits and tries again, pausing in between, for at most OpenRetryLimit; after
// that the operation goes on without holding the clipboard, as it would have
// on the first failure. The pause is as short as a holder's usual hold, and
// no working desktop holds the clipboard for a whole second. A run has at most
// four waiting operations, so a clipboard that can never be opened delays it
// by four seconds at most.
const unsigned long OpenRetryPause = 5;    // milliseconds
const unsigned long OpenRetryLimit = 1000; // milliseconds, per operation

void WaitClipboardFree();
bool ClipboardHasText();
std::string GetClipboardText();
// Writes text followed by more: the two are joined in the clipboard's block
// itself, so that appending costs no joined copy of its own.
void SetClipboardText(const std::string &text,
                      const std::string &more = std::string());
void ClearClipboard();
