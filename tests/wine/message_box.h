#pragma once

// Message boxes that a process shows: found, read and closed.

#include <windows.h>

#include <string>

// A message box shown by a process: found, read and closed.
struct MessageBoxSeen {
  HWND box = nullptr;
  HWND owner = nullptr;
  HWND icon = nullptr;
  std::string caption;
  std::string text;
  std::wstring unicodeText;
  bool exclamationIcon = false;
  int buttons = 0;
};
MessageBoxSeen WaitForMessageBox(DWORD processId);
void CloseMessageBox(const MessageBoxSeen &seen);
