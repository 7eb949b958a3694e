#include "clipboard/text_block.h"

#include <cstring>

std::string TextFromBlock(const char *bytes, std::size_t size) {
  if (bytes == nullptr)
    return {};
  const void *nul = std::memchr(bytes, 0, size);
  return std::string(bytes,
                     nul ? static_cast<const char *>(nul) - bytes : size);
}
