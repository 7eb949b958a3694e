// What a run that hung was doing when the tests gave up on it.

#include "hang_report.h"

#include "common/scope_exit.h"

#include <utility>

namespace {

BOOL CALLBACK AddVisibleWindow(HWND window, LPARAM parameter) {
  auto *found = reinterpret_cast<std::pair<DWORD, std::string> *>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != found->first || !IsWindowVisible(window))
    return TRUE;
  char windowClass[64] = {}, title[128] = {};
  GetClassNameA(window, windowClass, sizeof windowClass);
  GetWindowTextA(window, title, sizeof title);
  found->second += std::string(" ") + windowClass + " \"" + title + "\"";
  return TRUE;
}

// What a hung process shows: a box that nobody closes, or nothing.
std::string VisibleWindowsOf(DWORD processId) {
  std::pair<DWORD, std::string> found(processId, "");
  EnumWindows(AddVisibleWindow, reinterpret_cast<LPARAM>(&found));
  return found.second.empty() ? " none" : found.second;
}

// Whether a run holds the turn: a hung run that holds it is stuck in the
// clipboard or on the editor, one that does not, before it.
const char *TurnState() {
  HANDLE turn =
      OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, ToolTurnName);
  if (turn == nullptr)
    return "no run holds the turn";
  ScopeExit close([turn] { CloseHandle(turn); });
  const DWORD waited = WaitForSingleObject(turn, 0);
  if (waited == WAIT_TIMEOUT)
    return "a run holds the turn";
  ReleaseMutex(turn);
  return "no run holds the turn";
}

} // namespace

std::string HangReport(const PROCESS_INFORMATION &process) {
  return std::string("its visible windows:") +
         VisibleWindowsOf(process.dwProcessId) + "; " + TurnState();
}
