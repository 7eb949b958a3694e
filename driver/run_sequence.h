#pragma once

// One run of the tool, from the check of the foreground window to the end of
// the process.
[[noreturn]] void RunTool();
