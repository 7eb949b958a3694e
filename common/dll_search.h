#pragma once

// Keeps DLLs that lie beside the exe, or in the current folder, out of the
// process: users unzip the tool anywhere, a downloads folder included, and
// the system loads DLLs at run time (the theme library for a message box,
// for one) by searching the exe's folder first. Call first thing, before
// anything can load a DLL. A system without the restriction (Windows 7
// without update KB2533623) only leaves the current folder out: the exe's
// own folder is still searched there. The run goes on regardless.
void RestrictDllSearch();
