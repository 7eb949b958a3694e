#pragma once

// One run of the tool, from restricting the DLL search and installing the
// fault handlers to the end of the process.
[[noreturn]] void RunTool();
