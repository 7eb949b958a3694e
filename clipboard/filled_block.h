#pragma once

// The movable blocks a write hands to the clipboard. Each is filled before
// the clipboard is opened, so that one that cannot be had or filled leaves
// the clipboard as it was.

#include <windows.h>

#include <string>

// A block of both texts followed by a NUL unit, locked and filled, or null if
// none can be had or it cannot be filled.
HGLOBAL TextBlock(const std::string &text, const std::string &more);
HGLOBAL TextBlock(const std::wstring &text, const std::wstring &more);

// A CF_LOCALE block of the locale, or null likewise.
HGLOBAL LocaleBlock(LCID locale);
