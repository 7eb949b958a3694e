#pragma once

// Waiting for the clipboard and opening it, for the clipboard operations.

// Opens the clipboard without an owner once it is free, trying again while
// another program takes it first, and tells whether it did within the limit,
// in milliseconds.
bool OpenClipboardWaiting(unsigned long limit);
