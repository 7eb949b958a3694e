#pragma once

#include <string>

// CF_TEXT on the system clipboard. Every operation opens the clipboard without
// an owner and closes it again before it returns, so the clipboard is never
// held open between two operations.

void WaitClipboardFree();
bool ClipboardHasText();
std::string GetClipboardText();
void SetClipboardText(const std::string &text);
void ClearClipboard();
