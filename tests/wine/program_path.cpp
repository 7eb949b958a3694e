// Where the tool and the programs beside it are, and what they run under.

#include "program_path.h"

#include <windows.h>

std::string ToolDirectory;

void TakeToolDirectory(int &argc, char **argv) {
  const std::string flag = "--tool-dir=";
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.compare(0, flag.size(), flag) != 0) {
      argv[kept++] = argv[i];
      continue;
    }
    ToolDirectory = argument.substr(flag.size());
    // A Unix path, as the build gives it, is on Wine's drive Z:.
    if (!ToolDirectory.empty() && ToolDirectory[0] == '/')
      ToolDirectory = "Z:" + ToolDirectory;
  }
  argc = kept;
}

std::string TestProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string program(path, length);
  return program.substr(0, program.find_last_of('\\') + 1);
}

std::string ProgramPath(const std::string &program) {
  if (program.find('\\') != std::string::npos)
    return program;
  return ToolDirectory.empty() ? TestProgramFolder() + program
                               : ToolDirectory + '\\' + program;
}

std::string Emulation() {
  char name[256] = {};
  GetEnvironmentVariableA("VELMORA_EMULATION", name, sizeof name);
  return name;
}
