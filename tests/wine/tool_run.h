#pragma once

// The tool, and the programs beside it, run as processes of their own with
// exact command lines, in this desktop's locale or another.

#include "program_path.h"

#include <windows.h>

#include <string>

// The tool (or another program beside it, or one at a full Windows path),
// started with an exact command line. Given Unix locale settings such as
// "LANG=C" or "LC_CTYPE=ja_JP.UTF-8 LC_MESSAGES=C", separated by blanks, it
// runs with them in place of this process's: under Wine LC_CTYPE (or LANG)
// sets its ANSI code page (C gives 1252), LC_MESSAGES its user locale and
// input language. Such a run is started through Wine's loader and found by
// its name, so it must not end at once: a refusal shows its box, and any
// other run waits for its turn until it is found.
struct ToolRun {
  PROCESS_INFORMATION process{};
  explicit ToolRun(const std::string &arguments,
                   const std::string &program = "velmora.exe",
                   const char *locale = nullptr);
  ~ToolRun();
  bool Running() const;
  DWORD Wait(); // exit code; a tool that hangs is killed and gives 0xDEAD
};
DWORD RunToolToEnd(const std::string &arguments = "");

// The tool with faults provoked and system calls hooked inside it, built
// beside it (faults.cpp); its first argument picks what.
const char FaultProgram[] = "velmora_faults.exe";
