// The stand-in editor: a main window of the editor's class with one text
// control, run by a thread of its own.

#include "editor.h"

#include "clipboard_access.h"
#include "fixture_timeout.h"

#include <gtest/gtest.h>

#include <richedit.h>

namespace {

const char EditorProperty[] = "VelmoraTestEditor";
const char OriginalProcProperty[] = "VelmoraTestOriginalProc";
const UINT_PTR HoldTimer = 0x7E1D;

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam,
                             LPARAM lParam) {
  auto *editor = static_cast<Editor *>(GetPropA(hwnd, EditorProperty));
  auto original =
      reinterpret_cast<WNDPROC>(GetPropA(hwnd, OriginalProcProperty));
  if (message == WM_COPY || message == WM_CUT) {
    InterlockedIncrement(message == WM_COPY ? &editor->copyRequests
                                            : &editor->cutRequests);
    if (editor->options.ignoreCopyAndCut)
      return 0;
    if (editor->options.copyLocale != 0 && message == WM_COPY) {
      CallWindowProcA(original, hwnd, message, wParam, lParam);
      SetClipboardItems({TextItem(ClipboardTextBytes()),
                         LocaleItem(editor->options.copyLocale)});
      return 0;
    }
    if (editor->options.holdAfterCopy != 0 && message == WM_COPY) {
      CallWindowProcA(original, hwnd, message, wParam, lParam);
      OpenClipboard(hwnd);
      SetTimer(hwnd, HoldTimer, editor->options.holdAfterCopy, nullptr);
      return 0;
    }
    if (editor->options.copyWithoutText) {
      CallWindowProcA(original, hwnd, message, wParam, lParam);
      SetClipboardItems({{TestFormat(), ClipboardTextBytes()}});
      return 0;
    }
  }
  if (message == WM_TIMER && wParam == HoldTimer) {
    KillTimer(hwnd, HoldTimer);
    CloseClipboard();
    return 0;
  }
  return IsWindowUnicode(hwnd)
             ? CallWindowProcW(original, hwnd, message, wParam, lParam)
             : CallWindowProcA(original, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam,
                          LPARAM lParam) {
  switch (message) {
  case WM_SETFOCUS: // like a form, hand the focus on to the text control
    if (HWND control = GetWindow(hwnd, GW_CHILD))
      SetFocus(control);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  default:
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

DWORD WINAPI EditorThread(void *parameter) {
  auto *editor = static_cast<Editor *>(parameter);
  const EditorOptions &options = editor->options;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = MainProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = options.windowClass;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass); // fails harmlessly when already registered
  if (options.richEdit)
    LoadLibraryA("riched20.dll");
  editor->window =
      CreateWindowExA(0, options.windowClass, "Inkslab", WS_OVERLAPPEDWINDOW,
                      10, 10, 400, 200, nullptr, nullptr, nullptr, nullptr);
  const bool unicode = !options.unicodeText.empty();
  editor->control =
      unicode ? CreateWindowExW(
                    0, L"EDIT", L"",
                    WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                    380, 150, editor->window, nullptr, nullptr, nullptr)
              : CreateWindowExA(
                    0, options.richEdit ? "RichEdit20A" : "EDIT", "",
                    WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                    380, 150, editor->window, nullptr, nullptr, nullptr);
  // No length limit, as an editor holding a large document has.
  SendMessageA(editor->control,
               options.richEdit ? EM_EXLIMITTEXT : EM_LIMITTEXT, 0,
               options.richEdit ? 0x7FFFFFFE : 0);
  if (unicode)
    SetWindowTextW(editor->control, options.unicodeText.c_str());
  else
    SetWindowTextA(editor->control, options.text.c_str());
  SendMessageA(editor->control, EM_SETSEL, options.selectionStart,
               options.selectionEnd);
  SetPropA(editor->control, EditorProperty, editor);
  const auto proc = reinterpret_cast<LONG_PTR>(ControlProc);
  SetPropA(editor->control, OriginalProcProperty,
           reinterpret_cast<HANDLE>(
               unicode
                   ? SetWindowLongPtrW(editor->control, GWLP_WNDPROC, proc)
                   : SetWindowLongPtrA(editor->control, GWLP_WNDPROC, proc)));
  ShowWindow(editor->window, SW_SHOW);
  SetForegroundWindow(editor->window);
  SetFocus(editor->control);
  SetEvent(editor->ready);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
} // namespace

EditorOptions Selecting(const std::string &text, int start, int end) {
  EditorOptions options;
  options.text = text;
  options.selectionStart = start;
  options.selectionEnd = end < 0 ? static_cast<int>(text.size()) : end;
  return options;
}

EditorOptions SelectingUnicode(const std::wstring &text, int start, int end) {
  EditorOptions options =
      Selecting("", start, end < 0 ? static_cast<int>(text.size()) : end);
  options.unicodeText = text;
  return options;
}

Editor::Editor(const EditorOptions &editorOptions) : options(editorOptions) {
  ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread = CreateThread(nullptr, 0, EditorThread, this, 0, nullptr);
  if (WaitForSingleObject(ready, FixtureTimeout) != WAIT_OBJECT_0)
    ADD_FAILURE() << "the stand-in editor did not start";
  if (GetForegroundWindow() != window)
    ADD_FAILURE() << "the stand-in editor is not in front";
}

Editor::~Editor() {
  PostMessageA(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(thread, FixtureTimeout);
  CloseHandle(thread);
  CloseHandle(ready);
  // Class names are matched without regard to case: a class left registered
  // would be taken for the next one that differs from it only in case.
  UnregisterClassA(options.windowClass, GetModuleHandleA(nullptr));
}

std::string Editor::Text() const {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1,
                   '\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
  return text;
}

std::wstring Editor::UnicodeText() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1,
                    L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
  return text;
}

bool ClearForegroundWindow() {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                10, 10, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(window);
  DestroyWindow(window);
  // The desktop may take a moment to let go of the destroyed window.
  for (int waited = 0; GetForegroundWindow() != nullptr && waited < 2000;
       waited += 20)
    Sleep(20);
  return GetForegroundWindow() == nullptr;
}
