/* The floor of a run: a GUI program that does nothing, built as the tool is,
   32-bit and x64. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line,
                   int show) {
  (void)instance, (void)previous, (void)line, (void)show;
  return 0;
}
