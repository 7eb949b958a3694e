#pragma once

// The command-line switches that change a run. A switch matches a whole
// parameter, in any letter case.

#include <string>

const char SwitchClear[] = "/c";    // empty the clipboard, nothing else
const char SwitchCut[] = "/x";      // cut the selection instead of copying
const char SwitchLineEnds[] = "/r"; // end each piece of text with CR LF

// Lower-cases by the system's ANSI code page.
std::string ToLowerCopy(const std::string &text);

// Looks among the parameters of the process's command line, read anew.
bool HasSwitch(const std::string &switchText);
