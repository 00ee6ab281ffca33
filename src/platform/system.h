#pragma once
#include <cstdint>
#include <string>

// Small OS services: counter, cursor, clipboard, pauses.

// High-resolution counter and its ticks per second. Where the system has
// no such counter (frequency 0) a millisecond counter stands in.
int64_t performanceCounter();
int64_t performanceFrequency();

// Cursor position in screen coordinates.
void cursorPosition(int& x, int& y);

// Hands the text to the system clipboard; true when it took it.
bool setClipboardText(const std::string& text);

void sleepMilliseconds(int ms);

// True when standard error is a terminal (a line can be updated in place).
bool stderrIsTerminal();
