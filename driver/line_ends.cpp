#include "driver/line_ends.h"

bool EndsWithLineBreak(const std::string &text) {
  return text.size() >= 2 && text.compare(text.size() - 2, 2, LineBreak) == 0;
}

void CompleteLine(std::string &text) {
  if (!EndsWithLineBreak(text))
    text += LineBreak;
}
