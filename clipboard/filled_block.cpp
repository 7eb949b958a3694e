// The movable blocks a write hands to the clipboard.

#include "clipboard/filled_block.h"

#include "clipboard/text_block.h"
#include "common/fault.h"
#include "common/scope_exit.h"

namespace {

// A movable block of the given size, locked and filled, or null if none can
// be had.
template <class Fill> HGLOBAL FilledBlock(SIZE_T size, Fill fill) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr)
    return nullptr;
  bool filled = false;
  ScopeExit freeUnfilled([&] {
    if (!filled)
      GlobalFree(block);
  });
  try {
    void *data = GlobalLock(block);
    if (data == nullptr)
      return nullptr;
    ScopeExit unlock([block] { GlobalUnlock(block); });
    fill(data);
    filled = true;
  } catch (const AccessViolation &) { // NOLINT(bugprone-empty-catch)
    // A block that cannot be filled is given up; the write ends normally.
  }
  return filled ? block : nullptr;
}

template <class Unit>
HGLOBAL UnitsBlock(const std::basic_string<Unit> &text,
                   const std::basic_string<Unit> &more) {
  return FilledBlock(
      (text.size() + more.size() + 1) * sizeof(Unit),
      [&](void *units) { FillBlock(static_cast<Unit *>(units), text, more); });
}

} // namespace

HGLOBAL TextBlock(const std::string &text, const std::string &more) {
  return UnitsBlock(text, more);
}

HGLOBAL TextBlock(const std::wstring &text, const std::wstring &more) {
  return UnitsBlock(text, more);
}

HGLOBAL LocaleBlock(LCID locale) {
  return FilledBlock(sizeof locale, [locale](void *data) {
    *static_cast<LCID *>(data) = locale;
  });
}
