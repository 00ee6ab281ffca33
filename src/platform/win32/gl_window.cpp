#include "platform/gl_window.h"

#include "platform/win32/win32_common.h"

namespace {
constexpr char kWindowClass[] = "VelmoraOpenGL";

std::string g_lastError;
bool g_classRegistered = false;
bool g_cursorHidden = false;

HWND windowOf(const PlatformGl& gl) { return static_cast<HWND>(gl.window); }
HGLRC contextOf(const PlatformGl& gl) { return static_cast<HGLRC>(gl.context); }

// A window of the class keeps one device context for its life (CS_OWNDC),
// so asking for it again is cheap and needs no release.
HDC deviceOf(const PlatformGl& gl) { return GetDC(windowOf(gl)); }

// The display a window at this point opens on, the primary one when the
// point lies on none.
bool monitorArea(int x, int y, RECT& area) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTOPRIMARY), &info)) return false;
  area = info.rcMonitor;
  return area.right > area.left && area.bottom > area.top;
}

struct FormatWish {
  BYTE depth;
  bool alpha;
};

PIXELFORMATDESCRIPTOR describeWish(int colorBits, const FormatWish& wish) {
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = static_cast<BYTE>(colorBits);
  pfd.cAlphaBits = wish.alpha ? 8 : 0;
  pfd.cDepthBits = wish.depth;
  pfd.iLayerType = PFD_MAIN_PLANE;
  return pfd;
}

// Sets the first pixel format that gives what a wish asks (depth 32 where
// offered, else 24, with alpha, then less); ChoosePixelFormat always answers
// with something, so its answer is checked. The depth set is returned, 0
// when no double-buffered GL format could be set.
int setPixelFormat(HDC dc, int colorBits) {
  const FormatWish wishes[] = {{32, true}, {24, true}, {24, false}, {16, false}};
  int fallback = 0;
  PIXELFORMATDESCRIPTOR got{};
  for (const FormatWish& wish : wishes) {
    const PIXELFORMATDESCRIPTOR want = describeWish(colorBits, wish);
    const int format = ChoosePixelFormat(dc, &want);
    if (format == 0 || DescribePixelFormat(dc, format, sizeof got, &got) == 0) continue;
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    if ((got.dwFlags & needed) != needed || got.iPixelType != PFD_TYPE_RGBA) continue;
    if (got.cDepthBits >= wish.depth && (!wish.alpha || got.cAlphaBits > 0)) {
      return SetPixelFormat(dc, format, &got) ? got.cDepthBits : 0;
    }
    if (fallback == 0 && got.cDepthBits >= 16) fallback = format;
  }
  if (fallback == 0 || DescribePixelFormat(dc, fallback, sizeof got, &got) == 0) return 0;
  return SetPixelFormat(dc, fallback, &got) ? got.cDepthBits : 0;
}
}  // namespace

std::string systemErrorText(DWORD code) {
  char* text = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string words = length > 0 && text != nullptr ? std::string(text, length) : "error " + std::to_string(code);
  if (text != nullptr) LocalFree(text);
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == '.')) words.pop_back();
  return words;
}

void setPlatformError(const std::string& what, bool withSystemError) {
  g_lastError = withSystemError ? what + ": " + systemErrorText(GetLastError()) : what;
}

bool platformInitVideo(std::string& error) {
  if (g_classRegistered) return true;
  // The picture is drawn pixel for pixel: the system must not stretch the
  // window on a screen scaled above 100 %.
  SetProcessDPIAware();
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = demoWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hIcon = LoadIcon(nullptr, IDI_WINLOGO);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassExA(&windowClass) == 0) {
    error = systemErrorText(GetLastError());
    return false;
  }
  g_classRegistered = true;
  return true;
}

bool platformDesktopSize(int& width, int& height) {
  RECT area{};
  if (!monitorArea(0, 0, area)) return false;
  width = area.right - area.left;
  height = area.bottom - area.top;
  return true;
}

bool platformCreateWindow(PlatformGl& gl, const GlWindowRequest& request, WindowFailure& failure) {
  // A window the user cannot resize has no sizing border and no maximise box.
  DWORD style = request.resizable ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX);
  DWORD exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
  int x = request.x;
  int y = request.y;
  RECT frame = {0, 0, request.width, request.height};
  if (request.fullscreen) {
    // A borderless window over the whole display, which keeps its mode.
    if (!monitorArea(request.x, request.y, frame)) {
      setPlatformError("the display's size is unknown");
      failure = WindowFailure::Window;
      return false;
    }
    style = WS_POPUP;
    exStyle = WS_EX_APPWINDOW;
    x = frame.left;
    y = frame.top;
  } else {
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  }
  HWND window = CreateWindowExA(exStyle, kWindowClass, request.title.c_str(), style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                x, y, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) {
    setPlatformError("CreateWindowEx", true);
    failure = WindowFailure::Window;
    return false;
  }
  const int depth = setPixelFormat(GetDC(window), request.colorBits);
  if (depth == 0) {
    setPlatformError("no double-buffered OpenGL pixel format", true);
    DestroyWindow(window);
    failure = WindowFailure::PixelFormat;
    return false;
  }
  gl.window = window;
  gl.depthBits = depth;
  failure = WindowFailure::None;
  return true;
}

bool platformCreateContext(PlatformGl& gl) {
  gl.context = wglCreateContext(deviceOf(gl));
  if (gl.context == nullptr) setPlatformError("wglCreateContext", true);
  return gl.context != nullptr;
}

bool platformMakeCurrent(PlatformGl& gl) {
  if (wglMakeCurrent(deviceOf(gl), contextOf(gl))) return true;
  setPlatformError("wglMakeCurrent", true);
  return false;
}

void platformShowWindow(PlatformGl& gl) {
  ShowWindow(windowOf(gl), SW_SHOW);
  SetForegroundWindow(windowOf(gl));
  SetFocus(windowOf(gl));
}

bool platformReleaseCurrent(PlatformGl& gl) { return wglMakeCurrent(nullptr, nullptr) != FALSE; }

void platformDeleteContext(PlatformGl& gl) {
  if (gl.context != nullptr) wglDeleteContext(contextOf(gl));
  gl.context = nullptr;
}

void platformDestroyWindow(PlatformGl& gl) {
  if (gl.window != nullptr) DestroyWindow(windowOf(gl));
  gl.window = nullptr;
}

// Fullscreen never changes the display's mode: the window goes with nothing
// to restore.
void platformLeaveFullscreen(PlatformGl&) {}

void platformShowCursor(bool show) {
  // The system counts calls; the demo only ever wants it on or off.
  if (show == !g_cursorHidden) return;
  ShowCursor(show ? TRUE : FALSE);
  g_cursorHidden = !show;
}

void platformDrawableSize(PlatformGl& gl, int& width, int& height) {
  RECT client{};
  if (gl.window == nullptr || !GetClientRect(windowOf(gl), &client)) client = RECT{};
  width = client.right - client.left;
  height = client.bottom - client.top;
}

void platformSwapBuffers(PlatformGl& gl) {
  if (gl.window != nullptr) SwapBuffers(deviceOf(gl));
}

bool platformSetSwapInterval(int interval) {
  using SwapInterval = BOOL(WINAPI*)(int);
  const auto set = reinterpret_cast<SwapInterval>(platformGlProcAddress("wglSwapIntervalEXT"));
  return set != nullptr && set(interval) != FALSE;
}

void* platformGlProcAddress(const char* name) {
  // wglGetProcAddress knows the driver's extensions only; the functions of
  // OpenGL 1.1 are exported by opengl32.dll itself. Some drivers answer a
  // small number instead of null for a name they lack.
  const PROC found = wglGetProcAddress(name);
  const auto address = reinterpret_cast<intptr_t>(found);
  if (address != 0 && address != 1 && address != 2 && address != 3 && address != -1) {
    return reinterpret_cast<void*>(found);
  }
  static const HMODULE openGl = GetModuleHandleA("opengl32.dll");
  return openGl != nullptr ? reinterpret_cast<void*>(GetProcAddress(openGl, name)) : nullptr;
}

std::string platformError() { return g_lastError; }
