#pragma once

// The tool, and the programs beside it, run as processes of their own with
// exact command lines, in this desktop's locale or another.

#include <windows.h>

#include <string>

// Where velmora.exe and the programs beside it are: by default the folder of
// the running program; "--tool-dir=DIR" among the arguments, which this takes
// out of them, tests the tool in DIR.
extern std::string ToolDirectory;
void TakeToolDirectory(int &argc, char **argv);
// A program's path: one given with its folder as it is, else in
// ToolDirectory (or this program's folder where none was given).
std::string ProgramPath(const std::string &program);
std::string TestProgramFolder(); // the running program's, with a backslash

// The emulator the programs run under, named by the desktop; empty where
// they run natively.
std::string Emulation();

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
