#pragma once

#include <string>

// CF_TEXT on the system clipboard. Every operation opens the clipboard without
// an owner and closes it again before it returns, so the clipboard is never
// held open between two operations.

void WaitClipboardFree();
bool ClipboardHasText();
std::string GetClipboardText();
// Writes text followed by more: the two are joined in the clipboard's block
// itself, so that appending costs no joined copy of its own.
void SetClipboardText(const std::string &text,
                      const std::string &more = std::string());
void ClearClipboard();
