#pragma once

// What a run that hung was doing when the tests gave up on it.

#include <windows.h>

#include <string>

// The turn that the tool's runs take, in the session.
const char ToolTurnName[] = "Local\\Velmora.Run";

// The windows the process shows (a box that nobody closes shows here) and
// whether a run holds the turn.
std::string HangReport(const PROCESS_INFORMATION &process);
