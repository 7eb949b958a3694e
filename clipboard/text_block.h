#pragma once

// The bytes of clipboard blocks. Both functions touch memory that is not the
// tool's own with plain loads and stores in their own code, never in the C
// library: a fault there is raised in the tool's code, where it can be
// unwound.

#include <cstddef>
#include <string>

// The text a CF_TEXT block holds: its bytes up to the first NUL or the end of
// the block, whichever comes first. The clipboard owner may have left the NUL
// out, so the block's size is the hard limit.
std::string TextFromBlock(const char *bytes, std::size_t size);

// Fills a block of both texts' length plus one with the text, then more, then
// a NUL.
void FillBlock(char *block, const std::string &text, const std::string &more);
