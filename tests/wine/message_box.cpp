// Message boxes that a process shows: found, read and closed.

#include "message_box.h"

#include "fixture_timeout.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct BoxSearch {
  DWORD processId;
  HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
  auto *search = reinterpret_cast<BoxSearch *>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  char windowClass[16] = {};
  GetClassNameA(window, windowClass, sizeof windowClass);
  if (processId == search->processId && IsWindowVisible(window) &&
      std::strcmp(windowClass, "#32770") == 0) {
    search->box = window;
    return FALSE;
  }
  return TRUE;
}

// The pixels of a window as they are on the screen.
std::string ScreenPixels(HWND window) {
  RECT area{};
  GetWindowRect(window, &area);
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0)
    return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  HBITMAP bitmap =
      CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  std::string pixels(static_cast<const char *>(bits),
                     4u * static_cast<unsigned>(width * height));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The icon as painted, once the box has had time to paint it: two captures
// alike, and not of one colour, as the background before the icon is.
std::string PaintedIcon(HWND icon) {
  std::string pixels;
  for (int tries = 0; tries < 100; ++tries) {
    Sleep(50);
    std::string now = ScreenPixels(icon);
    const bool oneColour =
        now.size() < 8 ||
        now.find_first_not_of(now.substr(0, 4)) == std::string::npos;
    if (!oneColour && now == pixels)
      break;
    pixels = now;
  }
  return pixels;
}

BOOL CALLBACK ReadBoxControl(HWND control, LPARAM parameter) {
  auto *seen = reinterpret_cast<MessageBoxSeen *>(parameter);
  char windowClass[16] = {};
  GetClassNameA(control, windowClass, sizeof windowClass);
  if (!IsWindowVisible(control))
    return TRUE;
  if (lstrcmpiA(windowClass, "Button") == 0) {
    ++seen->buttons;
  } else if (lstrcmpiA(windowClass, "Static") == 0) {
    if ((GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      seen->icon = control;
    } else {
      char text[512] = {};
      GetWindowTextA(control, text, sizeof text);
      seen->text += text;
      wchar_t unicodeText[512] = {};
      GetWindowTextW(control, unicodeText, 512);
      seen->unicodeText += unicodeText;
    }
  }
  return TRUE;
}

MessageBoxSeen FindMessageBox(DWORD processId) {
  BoxSearch search{processId, nullptr};
  for (DWORD waited = 0; search.box == nullptr && waited < FixtureTimeout;
       waited += 20) {
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.box == nullptr)
      Sleep(20);
  }
  MessageBoxSeen seen;
  seen.box = search.box;
  if (seen.box == nullptr) {
    ADD_FAILURE() << "no message box appeared";
    return seen;
  }
  seen.owner = GetWindow(seen.box, GW_OWNER);
  char caption[256] = {};
  GetWindowTextA(seen.box, caption, sizeof caption);
  seen.caption = caption;
  EnumChildWindows(seen.box, ReadBoxControl, reinterpret_cast<LPARAM>(&seen));
  return seen;
}

DWORD WINAPI ShowReferenceBox(void *) {
  MessageBoxA(nullptr, "reference", "reference", MB_OK | MB_ICONEXCLAMATION);
  return 0;
}

// How this desktop paints the icon of an MB_ICONEXCLAMATION box. Icon handles
// cannot be compared across processes; what the screen shows can.
const std::string &ExclamationIcon() {
  static std::string pixels;
  if (pixels.empty()) {
    HANDLE thread =
        CreateThread(nullptr, 0, ShowReferenceBox, nullptr, 0, nullptr);
    const MessageBoxSeen reference = FindMessageBox(GetCurrentProcessId());
    pixels = PaintedIcon(reference.icon);
    CloseMessageBox(reference);
    WaitForSingleObject(thread, FixtureTimeout);
    CloseHandle(thread);
  }
  return pixels;
}

} // namespace

MessageBoxSeen WaitForMessageBox(DWORD processId) {
  MessageBoxSeen seen = FindMessageBox(processId);
  const std::string icon = PaintedIcon(seen.icon);
  seen.exclamationIcon = !icon.empty() && icon == ExclamationIcon();
  return seen;
}

void CloseMessageBox(const MessageBoxSeen &seen) {
  PostMessageA(seen.box, WM_COMMAND, IDOK, 0);
}
