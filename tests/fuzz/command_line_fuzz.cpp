// Any bytes as a command line: nothing may crash or read out of bounds, and
// the count, the parameters and the switch search must agree.

#include "../native/ascii_lower.h"
#include "driver/command_line.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

void Require(bool condition) {
  if (!condition)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data,
                                      std::size_t size) {
  // The command line ends at its first NUL, as the system gives it.
  std::unique_ptr<char[]> line(new char[size + 1]);
  std::memcpy(line.get(), data, size);
  line[size] = '\0';
  const std::size_t length = std::strlen(line.get());

  std::vector<std::string> parameters;
  const char *position = line.get();
  SplitParameter(position);
  for (std::string parameter = SplitParameter(position); !parameter.empty();
       parameter = SplitParameter(position)) {
    Require(parameter.find('\0') == std::string::npos);
    parameters.push_back(parameter);
  }
  Require(position == line.get() + length);

  std::size_t collected = 0;
  for (const std::string &parameter : parameters)
    collected += parameter.size();
  Require(collected <= length);

  const int count = ParameterCount(line.get());
  Require(count == static_cast<int>(parameters.size()));
  // Looking each index up is quadratic: check the first few and the last.
  for (int i = 1; i <= count && i <= 16; ++i)
    Require(ParameterAt(line.get(), i) == parameters[i - 1]);
  if (count > 0)
    Require(ParameterAt(line.get(), count) == parameters.back());
  Require(ParameterAt(line.get(), count + 1).empty());

  for (const char *switchText : {"/c", "/x", "/r"}) {
    bool listed = false;
    for (const std::string &parameter : parameters)
      listed = listed || AsciiLowerCopy(parameter) == switchText;
    Require(HasSwitchIn(line.get(), switchText, AsciiLowerCopy) == listed);
  }
  return 0;
}
