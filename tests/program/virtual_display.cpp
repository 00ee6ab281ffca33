#include "virtual_display.h"

#include "run_folder.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {
Display* dpy(void* c) { return static_cast<Display*>(c); }

// The UTF-8 title when the window has one, else the plain name.
std::string windowTitle(Display* d, Window w) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  char* name = nullptr;
  std::string title;
  if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), 0, 1024, False,
                         XInternAtom(d, "UTF8_STRING", False), &type, &format, &count, &after, &data) == Success &&
      data != nullptr) {
    title.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  } else if (XFetchName(d, w, &name) != 0 && name != nullptr) {
    title = name;
    XFree(name);
  }
  return title;
}

int xErrorIgnored(Display*, XErrorEvent*) { return 0; }
}  // namespace

VirtualDisplay::VirtualDisplay(const std::string& screen) {
  int fds[2];
  if (pipe(fds) != 0) return;
  server_ = fork();
  if (server_ == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    const int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, 1);
    dup2(devnull, 2);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes its display number once it accepts connections.
  pollfd p = {fds[0], POLLIN, 0};
  std::string number;
  while (poll(&p, 1, 15000) > 0) {
    char c = 0;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) return;
  name_ = ":" + number;
  XSetErrorHandler(xErrorIgnored);
  connection_ = XOpenDisplay(name_.c_str());
}

VirtualDisplay::~VirtualDisplay() {
  if (connection_ != nullptr) XCloseDisplay(dpy(connection_));
  if (server_ > 0) {
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }
}

std::optional<WindowBox> VirtualDisplay::findWindow(const std::string& title) {
  Display* d = dpy(connection_);
  Window root = DefaultRootWindow(d);
  Window rootReturn = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(d, root, &rootReturn, &parent, &children, &count) == 0) return std::nullopt;
  std::optional<WindowBox> found;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(d, children[i], &a) == 0 || a.map_state != IsViewable) continue;
    if (windowTitle(d, children[i]) != title) continue;
    Window child = 0;
    WindowBox box;
    box.id = children[i];
    XTranslateCoordinates(d, children[i], root, 0, 0, &box.x, &box.y, &child);
    box.width = a.width;
    box.height = a.height;
    found = box;
  }
  if (children != nullptr) XFree(children);
  return found;
}

std::optional<WindowBox> VirtualDisplay::waitForWindow(const std::string& title, double timeoutSeconds) {
  std::optional<WindowBox> found;
  waitUntil([&] { return (found = findWindow(title)).has_value(); }, timeoutSeconds);
  return found;
}

void VirtualDisplay::requestClose(const WindowBox& window) {
  Display* d = dpy(connection_);
  XEvent e;
  std::memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.window = window.id;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, window.id, False, NoEventMask, &e);
  XFlush(d);
}

int VirtualDisplay::xdotool(const std::string& arguments) {
  return std::system(("DISPLAY=" + name_ + " xdotool " + arguments).c_str());
}

bool VirtualDisplay::screenshot(const std::string& path) {
  return std::system(("import -display " + name_ + " -window root " + path).c_str()) == 0;
}
