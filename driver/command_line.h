#pragma once

// Splitting of the process's command line into parameters, and the matching
// of switches among them. Pure byte logic: the command line and the
// lower-casing are given by the caller.

#include <string>

// Steps over the blanks before the next parameter and collects it, removing
// quotation marks; moves position to where collecting stopped. An empty
// result means the line has ended.
std::string SplitParameter(const char *&position);

// Parameters after the program name, which is never counted.
int ParameterCount(const char *commandLine);

// The parameter at index (1 is the first after the program name), or the
// empty text past the last one.
std::string ParameterAt(const char *commandLine, int index);

// Whether a parameter, lower-cased, equals the lower-cased switch. One pass
// over the line gives the same answer as looking up each index in turn.
template <class LowerCopy>
bool HasSwitchIn(const char *commandLine, const std::string &switchText,
                 LowerCopy toLowerCopy) {
  const char *position = commandLine;
  SplitParameter(position);
  for (std::string parameter = SplitParameter(position); !parameter.empty();
       parameter = SplitParameter(position))
    if (toLowerCopy(parameter) == toLowerCopy(switchText))
      return true;
  return false;
}
