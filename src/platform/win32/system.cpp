#include "platform/system.h"

#include <io.h>

#include <cstdio>
#include <cstring>

#include "platform/win32/win32_common.h"

namespace {
// A window program has no console of its own. Started from a command
// prompt, its messages go to that prompt's console, unless the caller has
// already redirected them (a script, a pipe), which is kept.
struct ParentConsole {
  ParentConsole() {
    const bool outKept = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    const bool errKept = GetFileType(GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN;
    if ((outKept && errKept) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!outKept) std::freopen("CONOUT$", "w", stdout);
    if (!errKept) std::freopen("CONOUT$", "w", stderr);
  }
};
const ParentConsole g_parentConsole;

int64_t counterFrequency() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

bool useMillisecondCounter() {
  static const bool fallback = counterFrequency() == 0;
  return fallback;
}

// The clipboard's text ends its lines with CR LF.
std::string withCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}
}  // namespace

int64_t performanceCounter() {
  if (useMillisecondCounter()) return static_cast<int64_t>(GetTickCount64());
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

int64_t performanceFrequency() {
  if (useMillisecondCounter()) return 1000;
  static const int64_t frequency = counterFrequency();
  return frequency;
}

void cursorPosition(int& x, int& y) {
  POINT at{};
  GetCursorPos(&at);
  x = at.x;
  y = at.y;
}

bool setClipboardText(const std::string& text) {
  const std::string windowsText = withCrLf(text);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, windowsText.size() + 1);
  if (memory == nullptr) return false;
  if (void* bytes = GlobalLock(memory)) {
    std::memcpy(bytes, windowsText.c_str(), windowsText.size() + 1);
    GlobalUnlock(memory);
  }
  if (!OpenClipboard(nullptr)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  // Once the clipboard has taken the memory it is the clipboard's.
  const bool taken = SetClipboardData(CF_TEXT, memory) != nullptr;
  CloseClipboard();
  if (!taken) GlobalFree(memory);
  return taken;
}

void sleepMilliseconds(int ms) { Sleep(static_cast<DWORD>(ms)); }

bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
