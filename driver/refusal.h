#pragma once

// The refusal shown over any window but the editor's.

#include <windows.h>

// Asks the user, in Japanese whatever the system's language, to run the tool
// from the editor's [Tools] menu: a message box owned by the window given
// (none where it is null), with the caption "Velmora".
void ShowRefusalMessage(HWND owner);
