#pragma once
#include <sys/types.h>

#include <optional>
#include <string>

struct WindowBox {
  unsigned long id = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// A private Xvfb server for one test, so tests that click and close
// windows never see each other's windows.
class VirtualDisplay {
 public:
  explicit VirtualDisplay(const std::string& screen = "1280x1024x24");
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  bool ok() const { return connection_ != nullptr; }
  const std::string& name() const { return name_; }

  // The top-level window titled exactly `title`, if one is mapped now.
  std::optional<WindowBox> findWindow(const std::string& title);
  std::optional<WindowBox> waitForWindow(const std::string& title, double timeoutSeconds);

  // Asks the window to close, as a window manager's close button does.
  void requestClose(const WindowBox& window);

  // xdotool on this display; returns its exit status.
  int xdotool(const std::string& arguments);
  // A screenshot of the whole screen (ImageMagick), PNG.
  bool screenshot(const std::string& path);

 private:
  pid_t server_ = -1;
  std::string name_;
  void* connection_ = nullptr;  // Display*
};
