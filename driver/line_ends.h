#pragma once

#include <string>

const char LineBreak[] = "\r\n";

bool EndsWithLineBreak(const std::string &text);

// Appends LineBreak unless the text already ends with it.
void CompleteLine(std::string &text);
