#pragma once

// System calls made to answer otherwise than the desktop would, by
// replacing them in this program's import table.

#include <windows.h>

// After that many opens succeed, the clipboard cannot be opened for that
// many milliseconds (INFINITE: for good).
void RefuseOpens(long succeeding, DWORD lasting);

// EmptyClipboard fails, as where the clipboard was taken back.
void RefuseEmptying();

// Every read of the clipboard's data is preceded by a system call that
// faults and handles the fault itself, as input methods and other hooks in
// the process may.
void FaultInSystemBeforeReads();

// The system's ANSI code page is UTF-8 (65001), as under the UTF-8 option of
// newer Windows: GetACP says so, and the conversions of the ANSI code page
// convert UTF-8.
void SayUtf8IsTheCodePage();

// GetProcAddress finds no SetDefaultDllDirectories, as on Windows 7 without
// update KB2533623.
void HideSetDefaultDllDirectories();
