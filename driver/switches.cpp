// The switches, matched on the process's own command line.

#include "driver/switches.h"

#include "driver/command_line.h"

#include <windows.h>

std::string ToLowerCopy(const std::string &text) {
  std::string lower = text;
  if (!lower.empty())
    CharLowerBuffA(&lower[0], static_cast<DWORD>(lower.size()));
  return lower;
}

bool HasSwitch(const std::string &switchText) {
  return HasSwitchIn(GetCommandLineA(), switchText, ToLowerCopy);
}
