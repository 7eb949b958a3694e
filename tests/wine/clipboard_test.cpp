// The clipboard operations called directly, on the real clipboard.

#include "address_space.h"
#include "clipboard/clipboard_text.h"
#include "clipboard_access.h"
#include "clipboard_programs.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Clipboard, ReadsTextUpToItsFirstNul) {
  struct Case {
    std::vector<ClipboardItem> items;
    bool hasText;
    std::string text;
  };
  const Case cases[] = {
      {{}, false, ""},
      {{{TestFormat(), "data"}}, false, ""},
      {{{CF_TEXT, std::string("\0", 1)}}, true, ""},
      {{{CF_TEXT, std::string("alpha\0", 6)}}, true, "alpha"},
      {{{CF_TEXT, std::string("al\0pha\0", 7)}}, true, "al"},
      {{{CF_TEXT, std::string("\x81\x40\xFF\x01\0", 5)}},
       true,
       "\x81\x40\xFF\x01"},
  };
  for (const Case &c : cases) {
    SetClipboardItems(c.items);
    bool readable = false;
    std::string text = "stale";
    EXPECT_EQ(GetClipboardText(text, readable), c.hasText);
    EXPECT_EQ(text, c.text);
    EXPECT_TRUE(readable);
  }
}

TEST(Clipboard, WriteReplacesEverythingWithOneTextBlock) {
  for (const std::string &text :
       {std::string(), std::string("alpha"), std::string(100000, '\x82')}) {
    SetClipboardItems({TextItem("old"), {TestFormat(), "data"}});
    SetClipboardText(text);
    EXPECT_EQ(ClipboardBytes(CF_TEXT).substr(0, text.size() + 1), text + '\0');
    EXPECT_TRUE(!ClipboardHasFormat(TestFormat()));
    bool readable = false;
    std::string read;
    EXPECT_TRUE(GetClipboardText(read, readable));
    EXPECT_EQ(read, text);
  }
}

TEST(Clipboard, ClearEmptiesEveryFormat) {
  SetClipboardItems({TextItem("old"), {TestFormat(), "data"}});
  ClearClipboard();
  EXPECT_TRUE(ClipboardFormats().empty());
}

namespace {

DWORD WINAPI RunOperation(void *operation) {
  reinterpret_cast<void (*)()>(operation)();
  return 0;
}

} // namespace

TEST(Clipboard, WaitsForTheClipboard) {
  struct Case {
    const char *what;
    void (*operation)();
    std::string after; // the clipboard text once the holder let go
  };
  const Case cases[] = {
      {"read",
       [] {
         bool readable = false;
         std::string text;
         GetClipboardText(text, readable);
       },
       "alpha"},
      {"write", [] { SetClipboardText("beta"); }, "beta"},
      {"empty", ClearClipboard, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SetClipboardBytes("alpha");
    ClipboardThread holder(HoldClipboardOpen);
    HANDLE worker =
        CreateThread(nullptr, 0, RunOperation,
                     reinterpret_cast<void *>(c.operation), 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(worker, 500), WAIT_TIMEOUT);
    holder.Stop();
    EXPECT_EQ(WaitForSingleObject(worker, 10000), WAIT_OBJECT_0);
    CloseHandle(worker);
    EXPECT_EQ(ClipboardTextBytes(), c.after);
  }
}

TEST(Clipboard, WriteWithoutMemoryLeavesTheClipboardAsItWas) {
  if (sizeof(void *) == 8)
    GTEST_SKIP() << "only a 32-bit address space can be used up in a test";
  // Fill the rest of the address space, so that the block for this text
  // cannot be had.
  const std::string text(256 << 20, 'x');
  SetClipboardItems({TextItem("alpha"), {TestFormat(), "data"}});
  const std::vector<ReservedArea> reserved = ReserveAddressSpace();
  SetClipboardText(text);
  for (const ReservedArea &area : reserved)
    ReleaseArea(area);
  EXPECT_EQ(ClipboardTextBytes(), std::string("alpha"));
  EXPECT_EQ(ClipboardBytes(TestFormat()), std::string("data"));
}
