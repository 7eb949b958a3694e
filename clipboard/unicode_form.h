#pragma once

// The Unicode form of a clipboard text beside its CF_TEXT bytes: which of the
// two a program placed, the code page the bytes are in, and the conversions
// between the two in the system's code page.

#include <windows.h>

#include <string>

// Whether the clipboard's text was placed as Unicode. The clipboard is open.
bool UnicodeWasPlaced();

// Whether the clipboard's CF_LOCALE names a code page other than the
// system's. The system derives CF_TEXT from Unicode in that code page, so
// such bytes do not join with the system's. The clipboard is open.
bool ClipboardCodePageDiffers();

std::wstring WideFromAnsi(const std::string &text);

// The bytes the system itself derives from Unicode in its own code page: a
// character the code page lacks becomes a look-alike where the code page has
// one, else the default character, always a whole character.
std::string AnsiFromWide(const std::wstring &text);

// Whether the Unicode text holds more than the bytes read in the system's
// code page: whether it does not convert back to exactly those bytes, each
// character directly rather than to a look-alike or the default character.
bool HoldsMore(const std::wstring &unicode, const std::string &text);

// A piece's Unicode form: its own where it has one, else its bytes converted.
const std::wstring &UnicodeOf(const std::wstring &unicode,
                              const std::string &text, std::wstring &converted);

// The locale whose code page CF_TEXT bytes are in: the system's, where its
// code page is the system's ANSI code page; none (0) elsewhere.
LCID TextLocale();
