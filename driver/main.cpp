// The exe's entry: one run, then the process ends.

#include "driver/run_sequence.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunTool(); }
