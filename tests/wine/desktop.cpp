#include "desktop.h"

#include "common/scope_exit.h"

#include <gtest/gtest.h>

#include <richedit.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace {

const char EditorProperty[] = "VelmoraTestEditor";
const char OriginalProcProperty[] = "VelmoraTestOriginalProc";
const DWORD FixtureTimeout = 60000;

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
    if (editor->options.copyWithoutText) {
      CallWindowProcA(original, hwnd, message, wParam, lParam);
      SetClipboardItems({{TestFormat(), ClipboardTextBytes()}});
      return 0;
    }
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

bool OpenClipboardForTest() {
  // Wine's own clipboard thread may hold it for a moment.
  for (DWORD waited = 0; waited < FixtureTimeout; waited += 10) {
    if (OpenClipboard(nullptr))
      return true;
    Sleep(10);
  }
  ADD_FAILURE() << "the test could not open the clipboard";
  return false;
}

} // namespace

HGLOBAL BlockOf(const std::string &bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

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

void SetClipboardItems(const std::vector<ClipboardItem> &items) {
  if (!OpenClipboardForTest())
    return;
  EmptyClipboard();
  for (const ClipboardItem &item : items)
    SetClipboardData(item.format, BlockOf(item.bytes));
  CloseClipboard();
}

ClipboardItem TextItem(const std::string &text) {
  return {CF_TEXT, text + '\0'};
}

ClipboardItem UnicodeItem(const std::wstring &text) {
  return {CF_UNICODETEXT,
          std::string(reinterpret_cast<const char *>(text.c_str()),
                      (text.size() + 1) * sizeof(wchar_t))};
}

ClipboardItem LocaleItem(LCID locale) {
  return {CF_LOCALE,
          std::string(reinterpret_cast<const char *>(&locale), sizeof locale)};
}

void SetClipboardBytes(const std::string &text) {
  SetClipboardItems({TextItem(text)});
}

bool ClipboardHasFormat(UINT format) {
  return IsClipboardFormatAvailable(format) != FALSE;
}

std::string ClipboardBytes(UINT format) {
  std::string bytes;
  if (!OpenClipboardForTest())
    return bytes;
  if (HANDLE block = GetClipboardData(format)) {
    const char *data = static_cast<const char *>(GlobalLock(block));
    if (data != nullptr)
      bytes.assign(data, GlobalSize(block));
    GlobalUnlock(block);
  }
  CloseClipboard();
  return bytes;
}

std::string ClipboardTextBytes() {
  const std::string bytes = ClipboardBytes(CF_TEXT);
  return bytes.substr(0, bytes.find('\0'));
}

std::wstring ClipboardUnicode() {
  const std::string bytes = ClipboardBytes(CF_UNICODETEXT);
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(&text[0], bytes.data(), text.size() * sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

std::string TextDerivedFrom(const std::wstring &unicode) {
  SetClipboardItems({UnicodeItem(unicode)});
  return ClipboardTextBytes();
}

std::vector<UINT> ClipboardFormats() {
  std::vector<UINT> formats;
  if (!OpenClipboardForTest())
    return formats;
  for (UINT format = EnumClipboardFormats(0); format != 0;
       format = EnumClipboardFormats(format))
    formats.push_back(format);
  CloseClipboard();
  return formats;
}

UINT TestFormat() { return RegisterClipboardFormatA("Velmora Test Format"); }

HWND ClipboardWindow() {
  return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         nullptr, nullptr);
}

namespace {

DWORD WINAPI RunClipboardThread(void *self) {
  auto &clipboardThread = *static_cast<ClipboardThread *>(self);
  clipboardThread.body(clipboardThread);
  return 0;
}

} // namespace

ClipboardThread::ClipboardThread(Body threadBody) : body(threadBody) {
  ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread = CreateThread(nullptr, 0, RunClipboardThread, this, 0, &threadId);
  if (WaitForSingleObject(ready, FixtureTimeout) != WAIT_OBJECT_0)
    ADD_FAILURE() << "the clipboard thread did not start";
}

void ClipboardThread::Stop() {
  SetEvent(stop);
  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(thread, FixtureTimeout);
}

ClipboardThread::~ClipboardThread() {
  Stop();
  CloseHandle(thread);
  CloseHandle(ready);
  CloseHandle(stop);
}

void HoldClipboardOpen(ClipboardThread &self) {
  HWND window = ClipboardWindow();
  while (!OpenClipboard(window))
    Sleep(10);
  SetEvent(self.ready);
  WaitForSingleObject(self.stop, INFINITE);
  CloseClipboard();
  DestroyWindow(window);
}

std::string ToolDirectory;

void TakeToolDirectory(int &argc, char **argv) {
  const std::string flag = "--tool-dir=";
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.compare(0, flag.size(), flag) != 0) {
      argv[kept++] = argv[i];
      continue;
    }
    ToolDirectory = argument.substr(flag.size());
    // A Unix path, as the build gives it, is on Wine's drive Z:.
    if (!ToolDirectory.empty() && ToolDirectory[0] == '/')
      ToolDirectory = "Z:" + ToolDirectory;
  }
  argc = kept;
}

std::string TestProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string program(path, length);
  return program.substr(0, program.find_last_of('\\') + 1);
}

std::string ProgramPath(const std::string &program) {
  if (program.find('\\') != std::string::npos)
    return program;
  return ToolDirectory.empty() ? TestProgramFolder() + program
                               : ToolDirectory + '\\' + program;
}

std::string Emulation() {
  char name[256] = {};
  GetEnvironmentVariableA("VELMORA_EMULATION", name, sizeof name);
  return name;
}

namespace {

// This process's environment block with the locale settings, given as
// "NAME=value" separated by blanks, in place of LANG and every LC_ variable,
// which would win over them.
std::string EnvironmentIn(const std::string &settings) {
  std::string block;
  char *const strings = GetEnvironmentStringsA();
  for (const char *entry = strings; *entry != '\0';
       entry += std::strlen(entry) + 1)
    if (std::strncmp(entry, "LANG=", 5) != 0 &&
        std::strncmp(entry, "LC_", 3) != 0)
      block.append(entry, std::strlen(entry) + 1);
  FreeEnvironmentStringsA(strings);
  std::string assignments = settings;
  std::replace(assignments.begin(), assignments.end(), ' ', '\0');
  return block + assignments + std::string(2, '\0');
}

// The ids of the running processes of the program.
std::set<DWORD> ProcessesOf(const char *program) {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more;
       more = Process32Next(snapshot, &entry))
    if (lstrcmpiA(entry.szExeFile, program) == 0)
      ids.insert(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

// Under Wine a process's locale follows its Unix environment, which a
// Windows program's children inherit whatever their Windows environment says.
// So Wine's loader is started as a Unix program, which gets the Windows
// environment it is given, and starts the program; the program's process is
// then found by its name.
void StartInLocale(const std::string &commandLine, const std::string &path,
                   const char *settings, PROCESS_INFORMATION &process) {
  const std::string program = path.substr(path.find_last_of('\\') + 1);
  char loader[MAX_PATH] = {};
  if (GetEnvironmentVariableA("WINELOADER", loader, MAX_PATH) == 0) {
    ADD_FAILURE() << "a run in another language needs Wine's loader";
    return;
  }
  std::string loaderFile = std::string("Z:") + loader;
  std::replace(loaderFile.begin(), loaderFile.end(), '/', '\\');
  std::string loaderCommand = std::string(loader) + " " + commandLine;
  std::string environment = EnvironmentIn(settings);
  const std::set<DWORD> before = ProcessesOf(program.c_str());
  // A run that goes past the foreground check waits for its turn while this
  // holds it, so that one that would end at once is found all the same.
  HANDLE turn = CreateMutexA(nullptr, TRUE, "Local\\Velmora.Run");
  ScopeExit giveTurn([turn] {
    ReleaseMutex(turn);
    CloseHandle(turn);
  });
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION unixProcess{}; // Wine gives no handle to a Unix program
  if (!CreateProcessA(loaderFile.c_str(), &loaderCommand[0], nullptr, nullptr,
                      FALSE, 0, &environment[0], nullptr, &startup,
                      &unixProcess)) {
    ADD_FAILURE() << "Wine's loader did not start";
    return;
  }
  for (DWORD waited = 0; waited < FixtureTimeout; waited += 20) {
    for (DWORD id : ProcessesOf(program.c_str()))
      if (before.count(id) == 0) {
        process.dwProcessId = id;
        process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE |
                                           PROCESS_QUERY_LIMITED_INFORMATION,
                                       FALSE, id);
        return;
      }
    Sleep(20);
  }
  ADD_FAILURE() << "the tool did not start with " << settings;
}

} // namespace

ToolRun::ToolRun(const std::string &arguments, const std::string &program,
                 const char *locale) {
  const std::string path = ProgramPath(program);
  std::string commandLine = "\"" + path + "\"";
  if (!arguments.empty())
    commandLine += " " + arguments;
  if (locale != nullptr) {
    StartInLocale(commandLine, path, locale, process);
    return;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &process))
    ADD_FAILURE() << "the tool did not start";
}

ToolRun::~ToolRun() {
  if (process.hProcess == nullptr)
    return;
  Wait();
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

bool ToolRun::Running() const {
  return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ToolRun::Wait() {
  const DWORD hung = 0xDEAD;
  if (WaitForSingleObject(process.hProcess, 30000) == WAIT_TIMEOUT) {
    ADD_FAILURE() << "the tool hung and was killed";
    TerminateProcess(process.hProcess, hung);
    WaitForSingleObject(process.hProcess, INFINITE);
    return hung;
  }
  DWORD code = hung;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

DWORD RunToolToEnd(const std::string &arguments) {
  return ToolRun(arguments).Wait();
}

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
