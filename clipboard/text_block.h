#pragma once

// The units of clipboard blocks: bytes for CF_TEXT, UTF-16 units for
// CF_UNICODETEXT. Both functions touch memory that is not the tool's own with
// plain loads and stores in their own code, never in the C library: a fault
// there is raised in the tool's code, where it can be unwound.

#include <cstddef>
#include <string>

// The text a block holds: its units up to the first NUL unit or the end of
// the block, whichever comes first. The clipboard owner may have left the NUL
// out, so the block's size, in bytes, is the hard limit.
template <class Unit>
std::basic_string<Unit> TextFromBlock(const Unit *units, std::size_t size);

// Fills a block of both texts' length plus one unit with the text, then
// more, then a NUL unit.
template <class Unit>
void FillBlock(Unit *block, const std::basic_string<Unit> &text,
               const std::basic_string<Unit> &more);
