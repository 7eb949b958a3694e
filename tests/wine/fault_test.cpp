// The runtime-error report, with genuine faults provoked inside the tool.

#include "clipboard_access.h"
#include "editor.h"
#include "message_box.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The fault program's code region starts one page into its image.
const DWORD CodeOffset = 0x1000;

// "Runtime error NNN at XXXXXXXX" with the given number; gives the address.
std::uint32_t ExpectRuntimeErrorBox(const MessageBoxSeen &box,
                                    const char *number) {
  EXPECT_EQ(box.caption, std::string("Error"));
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.buttons, 1);
  const std::string prefix = std::string("Runtime error ") + number + " at ";
  EXPECT_EQ(box.text.substr(0, prefix.size()), prefix);
  if (box.text.size() < prefix.size())
    return 0;
  const std::string digits = box.text.substr(prefix.size());
  EXPECT_EQ(digits.size(), 8u);
  EXPECT_EQ(digits.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  return static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
}

// Whether another process can open the clipboard. Opened for a window: Wine
// lets two openers without a window share it.
bool ClipboardIsFree() {
  HWND window = ClipboardWindow();
  const bool opened = OpenClipboard(window) != FALSE;
  if (opened)
    CloseClipboard();
  DestroyWindow(window);
  return opened;
}

// Under qemu-i386 a fault reaches Wine without its trap number, and Wine
// takes every such fault for an illegal instruction, which the tool rightly
// leaves to the system: there is no invalid access to report.
const char NoInvalidAccess[] =
    "an invalid access cannot be provoked under emulation (the emulator "
    "gives Wine no trap number): checked by the x64 build, and by the 32-bit "
    "build on hosts that run it natively";

} // namespace

TEST(Faults, InvalidAccessIsReportedAfterTheReleases) {
  if (!Emulation().empty())
    GTEST_SKIP() << NoInvalidAccess << "; running under " << Emulation();
  struct Case {
    const char *mode;
    const char *describe; // gives the offset of the scan that faults
    ClipboardItem prior;
  };
  const Case cases[] = {
      {"unreadable", "describe", TextItem("alpha")},
      {"unreadable-unicode", "describe-unicode", UnicodeItem(L"caf\u00e9")},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.mode);
    const DWORD textFromBlock =
        ToolRun(c.describe, FaultProgram).Wait() - CodeOffset;
    SetClipboardItems({c.prior});
    Editor editor(Selecting("beta"));
    ToolRun run(c.mode, FaultProgram);
    const MessageBoxSeen box = WaitForMessageBox(run.process.dwProcessId);
    const std::uint32_t address = ExpectRuntimeErrorBox(box, "216");
    // The fault is in the scan of the block, and the clipboard is closed.
    EXPECT_TRUE(address >= textFromBlock && address < textFromBlock + 0x100);
    EXPECT_TRUE(ClipboardIsFree());
    CloseMessageBox(box);
    // 216, not 99: the locked block was unlocked as well.
    EXPECT_EQ(run.Wait(), 216ul);
    EXPECT_EQ(ClipboardBytes(c.prior.format).substr(0, c.prior.bytes.size()),
              c.prior.bytes);
    EXPECT_EQ(editor.copyRequests, 0l);
  }
}

TEST(Faults, ExhaustedMemoryIsReportedAtOnce) {
  // A text too large for what is left once memory has run out.
  const std::string large(64 << 20, 'x');
  SetClipboardBytes(large);
  Editor editor(Selecting("beta"));
  ToolRun run("exhaust", FaultProgram);
  const MessageBoxSeen box = WaitForMessageBox(run.process.dwProcessId);
  const std::uint32_t address = ExpectRuntimeErrorBox(box, "203");
  // Nothing is released yet: the clipboard is still open.
  EXPECT_TRUE(!ClipboardIsFree());
  // The address is the return address of a call: a near call is E8 and four
  // bytes. They are read from the program's image mapped here: under Wine 10
  // run by qemu-i386, reads of another process's memory give zeros for part
  // of its code.
  unsigned char call = 0;
  if (HMODULE image = LoadLibraryExA(ProgramPath(FaultProgram).c_str(), nullptr,
                                     LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
    // The handle of an image mapped as a resource has its low bits set.
    const auto *base = reinterpret_cast<const unsigned char *>(
        reinterpret_cast<std::uintptr_t>(image) & ~std::uintptr_t{3});
    const auto *headers = reinterpret_cast<const IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const std::uint32_t at = CodeOffset + address - 5;
    if (address >= 5 && at < headers->OptionalHeader.SizeOfImage)
      call = base[at];
    FreeLibrary(image);
  }
  EXPECT_EQ(static_cast<int>(call), 0xE8);
  CloseMessageBox(box);
  EXPECT_EQ(run.Wait(), 203ul);
  EXPECT_TRUE(ClipboardIsFree());
  EXPECT_EQ(ClipboardTextBytes().size(), large.size());
}

TEST(Faults, FaultWhileFillingTheBlockEndsTheWriteNormally) {
  if (!Emulation().empty())
    GTEST_SKIP() << NoInvalidAccess << "; running under " << Emulation();
  struct Case {
    const char *arguments; // the block made unwritable
    ClipboardItem prior;
  };
  // Without a size, the first block filled, the CF_LOCALE block. With one,
  // the text's own, "alphabeta" and its NUL, or the Unicode text's, filled
  // before both, "\u2603beta" and its NUL in UTF-16.
  const Case cases[] = {
      {"readonly-block", TextItem("alpha")},
      {"readonly-block 10", TextItem("alpha")},
      {"readonly-block 12", UnicodeItem(L"\u2603")},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.arguments + testing::PrintToString(c.prior.bytes));
    SetClipboardItems({c.prior});
    Editor editor(Selecting("beta"));
    // Exit code 0 also says that the block was freed.
    EXPECT_EQ(ToolRun(c.arguments, FaultProgram).Wait(), 0ul);
    EXPECT_EQ(editor.copyRequests, 1l);
    // The blocks are filled before the clipboard is opened: the editor's
    // copy is left as it was, neither emptied nor half-written, and the
    // clipboard is free again.
    EXPECT_EQ(ClipboardTextBytes(), std::string("beta"));
    EXPECT_TRUE(ClipboardIsFree());
  }
}
