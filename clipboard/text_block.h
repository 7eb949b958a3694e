#pragma once

#include <cstddef>
#include <string>

// The text a CF_TEXT block holds: its bytes up to the first NUL or the end of
// the block, whichever comes first. The clipboard owner may have left the NUL
// out, so the block's size is the hard limit.
std::string TextFromBlock(const char *bytes, std::size_t size);
