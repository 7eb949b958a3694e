#pragma once

// The bound of every fixture's wait.

#include <windows.h>

// How long a fixture waits for the desktop (a window to come up, a thread to
// start or end, a box to appear) before it fails the test.
const DWORD FixtureTimeout = 60000; // milliseconds
