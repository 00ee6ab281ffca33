#include "platform/gl_contexts.h"

#include "platform/gl_window.h"
#include "platform/win32/win32_common.h"

bool platformCurrentGl(void*& window, void*& context) {
  HGLRC current = wglGetCurrentContext();
  HDC device = wglGetCurrentDC();
  HWND owner = device != nullptr ? WindowFromDC(device) : nullptr;
  if (current == nullptr || owner == nullptr) {
    window = context = nullptr;
    return false;
  }
  window = owner;
  context = current;
  return true;
}

void* platformCreateSharedContext(void* window) {
  HGLRC current = wglGetCurrentContext();
  if (window == nullptr || current == nullptr) {
    setPlatformError("no GL context is current to share with");
    return nullptr;
  }
  HDC device = GetDC(static_cast<HWND>(window));
  // A driver that offers it makes the context sharing from the start (a
  // default, compatibility context, like the window's); others share a
  // plain new one while it is still empty.
  HGLRC context = nullptr;
  using CreateContextAttribs = HGLRC(WINAPI*)(HDC, HGLRC, const int*);
  if (const auto create = reinterpret_cast<CreateContextAttribs>(platformGlProcAddress("wglCreateContextAttribsARB"))) {
    const int defaults[] = {0};
    context = create(device, current, defaults);
  }
  if (context == nullptr) {
    context = wglCreateContext(device);
    if (context == nullptr) {
      setPlatformError("wglCreateContext", true);
      return nullptr;
    }
    if (!wglShareLists(current, context)) {
      setPlatformError("wglShareLists", true);
      wglDeleteContext(context);
      return nullptr;
    }
  }
  if (!wglMakeCurrent(device, context)) {
    setPlatformError("wglMakeCurrent", true);
    wglDeleteContext(context);
    return nullptr;
  }
  return context;
}

bool platformMakeContextCurrent(void* window, void* context) {
  HDC device = window != nullptr ? GetDC(static_cast<HWND>(window)) : nullptr;
  if (wglMakeCurrent(device, static_cast<HGLRC>(context))) return true;
  setPlatformError("wglMakeCurrent", true);
  return false;
}

void platformDeleteSharedContext(void* context) {
  if (context == nullptr) return;
  if (wglGetCurrentContext() == static_cast<HGLRC>(context)) wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(static_cast<HGLRC>(context));
}
