// The tool with genuine faults provoked inside it (memory_faults.h) and system
// calls hooked to answer otherwise (hooked_calls.h): the tool's own code calls
// the system through this program's import table, so replacing entries there
// changes what those calls give back. The first argument picks what, and the
// tool takes the arguments after it as its own:
//   describe, describe-unicode  exit with the offset in the image of the
//                   TextFromBlock for bytes, or for UTF-16 units
//   codepage, user-locale  show the ANSI code page, or the user locale, it
//                   runs under in a message box
//   unreadable, unreadable-unicode  MakeClipboardBlocksUnreadable
//   readonly-block [SIZE]  MakeOwnBlockReadOnly
//   exhaust         ExhaustMemory
//   unopenable [N [MS]]  RefuseOpens: N opens (none by default) succeed,
//                   then none for MS milliseconds (for good by default)
//   unemptiable     RefuseEmptying
//   system-fault    FaultInSystemBeforeReads
//   utf8            SayUtf8IsTheCodePage
//   no-dll-restriction  HideSetDefaultDllDirectories

#include "clipboard/text_block.h"
#include "driver/run_sequence.h"
#include "hooked_calls.h"
#include "memory_faults.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

int OffsetInImage(std::uintptr_t address) {
  return static_cast<int>(
      address - reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)));
}

} // namespace

int main(int argc, char **argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  // A number after the mode; switches for the tool start with "/".
  const bool numbered = argc > 2 && argv[2][0] != '/';
  if (mode == "describe")
    return OffsetInImage(
        reinterpret_cast<std::uintptr_t>(&TextFromBlock<char>));
  if (mode == "describe-unicode")
    return OffsetInImage(
        reinterpret_cast<std::uintptr_t>(&TextFromBlock<wchar_t>));
  if (mode == "codepage" || mode == "user-locale") {
    const unsigned long value =
        mode == "codepage" ? GetACP() : GetUserDefaultLCID();
    MessageBoxA(nullptr, std::to_string(value).c_str(), mode.c_str(),
                MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (mode == "unreadable" || mode == "unreadable-unicode")
    MakeClipboardBlocksUnreadable(mode == "unreadable-unicode");
  else if (mode == "readonly-block")
    MakeOwnBlockReadOnly(numbered ? std::strtoul(argv[2], nullptr, 10) : 0);
  else if (mode == "exhaust")
    ExhaustMemory();
  else if (mode == "unopenable")
    RefuseOpens(numbered ? std::atol(argv[2]) : 0,
                numbered && argc > 3 && argv[3][0] != '/'
                    ? std::strtoul(argv[3], nullptr, 10)
                    : INFINITE);
  else if (mode == "unemptiable")
    RefuseEmptying();
  else if (mode == "system-fault")
    FaultInSystemBeforeReads();
  else if (mode == "utf8")
    SayUtf8IsTheCodePage();
  else if (mode == "no-dll-restriction")
    HideSetDefaultDllDirectories();
  else
    return 98;
  RunTool();
}
