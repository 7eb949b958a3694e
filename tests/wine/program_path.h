#pragma once

// Where the tool and the programs beside it are, and whether they run under
// an emulator.

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
