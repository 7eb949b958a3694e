// Splitting the command line and matching switches, as pure byte logic.

#include "driver/command_line.h"

namespace {

bool IsBlank(char byte) {
  return static_cast<unsigned char>(byte) >= 0x01 &&
         static_cast<unsigned char>(byte) <= 0x20;
}

} // namespace

std::string SplitParameter(const char *&position) {
  for (;;) {
    while (IsBlank(*position))
      ++position;
    // A pair of quotes before a parameter stands for nothing.
    if (position[0] != '"' || position[1] != '"')
      break;
    position += 2;
  }
  // The parameter is kept whole however long it is, so that no part of it
  // can pass for a parameter of its own.
  std::string parameter;
  while (static_cast<unsigned char>(*position) > 0x20) {
    if (*position == '"') {
      const char *quoted = ++position;
      while (*position != '"' && *position != '\0')
        ++position;
      parameter.append(quoted, position);
      if (*position == '"')
        ++position;
    } else {
      parameter += *position++;
    }
  }
  return parameter;
}

int ParameterCount(const char *commandLine) {
  const char *position = commandLine;
  SplitParameter(position);
  int count = 0;
  while (!SplitParameter(position).empty())
    ++count;
  return count;
}

std::string ParameterAt(const char *commandLine, int index) {
  const char *position = commandLine;
  SplitParameter(position);
  std::string parameter;
  for (int i = 0; i < index; ++i) {
    parameter = SplitParameter(position);
    if (parameter.empty())
      break; // the line has ended: every later index is empty too
  }
  return parameter;
}
