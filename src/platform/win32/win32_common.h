#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

// What the Win32 files of the platform layer share.

// The demo window's procedure: turns its messages into the events
// pollPlatformEvent hands out.
LRESULT CALLBACK demoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The system's words for an error code, without the trailing line break.
std::string systemErrorText(DWORD code);

// Sets the text platformError() returns: `what`, or `what` and the words
// for GetLastError() when `withSystemError`.
void setPlatformError(const std::string& what, bool withSystemError = false);
