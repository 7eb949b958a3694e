// The tool, and the programs beside it, started as processes of their own.

#include "tool_run.h"

#include "common/scope_exit.h"
#include "fixture_timeout.h"
#include "hang_report.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace {

// This process's environment block with the locale settings, given as
// "NAME=value" separated by blanks, in place of LANG and every LC_ variable,
// which would win over them.
std::string EnvironmentIn(const std::string &settings) {
  std::string block;
  char *const strings = GetEnvironmentStringsA();
  for (const char *entry = strings; *entry != '\0';
       entry += std::strlen(entry) + 1)
    if (std::strncmp(entry, "LANG=", 5) != 0 &&
        std::strncmp(entry, "LC_", 3) != 0)
      block.append(entry, std::strlen(entry) + 1);
  FreeEnvironmentStringsA(strings);
  std::string assignments = settings;
  std::replace(assignments.begin(), assignments.end(), ' ', '\0');
  return block + assignments + std::string(2, '\0');
}

// The ids of the running processes of the program.
std::set<DWORD> ProcessesOf(const char *program) {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more;
       more = Process32Next(snapshot, &entry))
    if (lstrcmpiA(entry.szExeFile, program) == 0)
      ids.insert(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

// Under Wine a process's locale follows its Unix environment, which a
// Windows program's children inherit whatever their Windows environment says.
// So Wine's loader is started as a Unix program, which gets the Windows
// environment it is given, and starts the program; the program's process is
// then found by its name. The loader is given Wine's start.exe, which starts
// the program as its child, so that only the program bears its name: Wine 10
// wraps a program started so in a start.exe of its own, and under emulation
// that wrapper was now and then found by the program's name and taken for it.
void StartInLocale(const std::string &commandLine, const std::string &path,
                   const char *settings, PROCESS_INFORMATION &process) {
  const std::string program = path.substr(path.find_last_of('\\') + 1);
  char loader[MAX_PATH] = {};
  if (GetEnvironmentVariableA("WINELOADER", loader, MAX_PATH) == 0) {
    ADD_FAILURE() << "a run in another language needs Wine's loader";
    return;
  }
  std::string loaderFile = std::string("Z:") + loader;
  std::replace(loaderFile.begin(), loaderFile.end(), '/', '\\');
  std::string loaderCommand =
      std::string(loader) + " start.exe /exec " + commandLine;
  std::string environment = EnvironmentIn(settings);
  const std::set<DWORD> before = ProcessesOf(program.c_str());
  // A run that goes past the foreground check waits for its turn while this
  // holds it, so that one that would end at once is found all the same.
  HANDLE turn = CreateMutexA(nullptr, TRUE, ToolTurnName);
  ScopeExit giveTurn([turn] {
    ReleaseMutex(turn);
    CloseHandle(turn);
  });
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION unixProcess{}; // Wine gives no handle to a Unix program
  if (!CreateProcessA(loaderFile.c_str(), &loaderCommand[0], nullptr, nullptr,
                      FALSE, 0, &environment[0], nullptr, &startup,
                      &unixProcess)) {
    ADD_FAILURE() << "Wine's loader did not start";
    return;
  }
  for (DWORD waited = 0; waited < FixtureTimeout; waited += 20) {
    for (DWORD id : ProcessesOf(program.c_str()))
      if (before.count(id) == 0) {
        process.dwProcessId = id;
        process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE |
                                           PROCESS_QUERY_LIMITED_INFORMATION,
                                       FALSE, id);
        return;
      }
    Sleep(20);
  }
  ADD_FAILURE() << "the tool did not start with " << settings;
}

} // namespace

ToolRun::ToolRun(const std::string &arguments, const std::string &program,
                 const char *locale) {
  const std::string path = ProgramPath(program);
  std::string commandLine = "\"" + path + "\"";
  if (!arguments.empty())
    commandLine += " " + arguments;
  if (locale != nullptr) {
    StartInLocale(commandLine, path, locale, process);
    return;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &process))
    ADD_FAILURE() << "the tool did not start: error " << GetLastError();
}

ToolRun::~ToolRun() {
  if (process.hProcess == nullptr)
    return;
  Wait();
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

bool ToolRun::Running() const {
  return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ToolRun::Wait() {
  const DWORD hung = 0xDEAD;
  if (WaitForSingleObject(process.hProcess, 30000) == WAIT_TIMEOUT) {
    ADD_FAILURE() << "the tool hung and was killed; " << HangReport(process);
    TerminateProcess(process.hProcess, hung);
    WaitForSingleObject(process.hProcess, INFINITE);
    return hung;
  }
  DWORD code = hung;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

DWORD RunToolToEnd(const std::string &arguments) {
  return ToolRun(arguments).Wait();
}
