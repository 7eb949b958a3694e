// The run from start to exit: the host check, then the clear, or the append
// with the editor's copy or cut, in its turn.

#include "driver/run_sequence.h"

#include "clipboard/clipboard_text.h"
#include "common/dll_search.h"
#include "common/fault.h"
#include "common/scope_exit.h"
#include "driver/line_ends.h"
#include "driver/refusal.h"
#include "driver/switches.h"
#include "host/host_window.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

const char HostWindowClass[] = "TInkslabMainForm";

// Runs that touch the clipboard take turns, in the session: a double-pressed
// Tools key starts two runs at once, whose reads and writes would interleave
// with each other and with the editor's copies. The wait covers the longest
// run that keeps within the clipboard's bounds (the read before the request,
// then the read of the copy and the write), with a margin for the editor's
// handling of the request and for filling a large text's blocks. Only a run
// stuck on an editor that never answers, or on a program that never renders
// a text it listed, is overtaken, after holding up the next one, "/c"
// included, for the whole wait.
const char RunTurnName[] = "Local\\Velmora.Run";
const DWORD RunTurnWaitLimit =
    ClipboardWaitLimit + 2 * CollectedWaitLimit + 8000; // milliseconds

char ClassNameBuffer[256];
std::string PriorText;
std::string CopiedText;

// The class name is the buffer's bytes up to its first NUL, compared whole
// and with letter case.
bool IsHostWindowClass() {
  const char *begin = ClassNameBuffer;
  const char *end = std::find(begin, begin + sizeof ClassNameBuffer, '\0');
  return std::equal(begin, end, HostWindowClass,
                    HostWindowClass + sizeof HostWindowClass - 1);
}

// Sends the copy or cut request and tells whether the clipboard changed
// meanwhile. Nothing selected, no focused control, or a control that ignores
// the request, changes nothing; collecting the clipboard's own text again
// would double it.
bool CopyOrCutChangesClipboard(HWND focus) {
  const DWORD before = GetClipboardSequenceNumber();
  SendCopyOrCut(focus, HasSwitch(SwitchCut));
  return GetClipboardSequenceNumber() != before;
}

// Ends a text with a line break, and its Unicode form with it where it has
// one; a text without one is converted from its completed bytes.
void CompleteLines(std::string &text, std::wstring &unicode) {
  CompleteLine(text);
  if (!unicode.empty())
    CompleteLine(unicode);
}

// Where the clipboard cannot be had, lists a text that cannot be read, or
// holds no text where a text is wanted, the run ends without writing. Before
// the copy or cut request that loses nothing, and the user can run the tool
// again, whereas the copy-only path would put the editor's copy in place of
// a text the user meant to extend. After the request, the reads and the
// write wait longer, since the tool then holds the only copy of the
// collected text; if the clipboard still cannot be had, the editor's copy
// stays as it placed it. So does a copy without text, such as a picture or
// an object: writing would put the prior text, or a lone line break, in its
// place, and under "/x" the cut would be lost.
void AppendCopy(HWND editor) {
  // The focused control is found before the clipboard is looked at.
  HWND focus = GetFocusedControl(editor);
  // The Unicode forms of the texts, where they hold more than the bytes:
  // kept beside the bytes, so that no character a Unicode program copied is
  // lost.
  std::wstring priorUnicode, copiedUnicode;
  bool readable = false;
  const bool hasText = GetClipboardText(PriorText, readable, &priorUnicode);
  if (!readable)
    return;
  if (hasText) {
    if (!CopyOrCutChangesClipboard(focus) ||
        !GetClipboardText(CopiedText, readable, &copiedUnicode,
                          CollectedWaitLimit))
      return;
    if (HasSwitch(SwitchLineEnds)) {
      CompleteLines(PriorText, priorUnicode);
      CompleteLines(CopiedText, copiedUnicode);
    }
    SetClipboardText(PriorText, CopiedText, priorUnicode, copiedUnicode);
  } else {
    // Nothing to append to: the editor's own copy stays as it placed it,
    // unless its text has to be given a line end.
    if (!CopyOrCutChangesClipboard(focus) || !HasSwitch(SwitchLineEnds) ||
        !GetClipboardText(PriorText, readable, &priorUnicode,
                          CollectedWaitLimit) ||
        EndsWithLineBreak(PriorText))
      return;
    CompleteLines(PriorText, priorUnicode);
    SetClipboardText(PriorText, std::string(), priorUnicode);
  }
}

void RunSequence() {
  HWND fg = GetForegroundWindow();
  GetClassNameA(fg, ClassNameBuffer, sizeof ClassNameBuffer - 1);
  if (!IsHostWindowClass()) {
    ShowRefusalMessage(fg);
    return;
  }
  // Emptying takes its turn too: a clear picked after an append must not let
  // that append write back what it cleared. A run that ended without giving
  // up its turn, killed or after an error, leaves it abandoned, which counts
  // as given up.
  // Only the rights a turn needs: a normal run may open no more of a mutex
  // that an elevated run made.
  HANDLE turn =
      CreateMutexExA(nullptr, RunTurnName, 0, SYNCHRONIZE | MUTEX_MODIFY_STATE);
  const DWORD waited = WaitForSingleObject(turn, RunTurnWaitLimit);
  ScopeExit endTurn([turn, waited] {
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
      ReleaseMutex(turn);
    CloseHandle(turn);
  });
  if (HasSwitch(SwitchClear))
    ClearClipboard();
  else
    AppendCopy(fg);
}

} // namespace

void RunTool() {
  RestrictDllSearch();
  InstallFaultHandlers();
  try {
    RunSequence();
  } catch (const AccessViolation &fault) {
    // Every scope the fault left has released what it held by now.
    ShowRuntimeError(216, fault.address);
  }
  ExitProcess(0);
}
