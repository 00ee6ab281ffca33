#pragma once

// Window events in the shape the window procedure expects them.
enum class EventKind {
  Activate,    // minimised changed: `minimized` tells which way
  Close,       // the user asked the window to close
  KeyDown,     // `virtualKey`
  KeyUp,       // `virtualKey`
  Size,        // `width`, `height` of the client area
  MouseWheel,  // `wheelDelta` in Win32 units, 120 a notch, up positive
  LeftButtonDown,
  LeftButtonUp,
  MiddleButtonDown,
  Other,  // anything else (mouse moves, focus, exposure)
};

struct PlatformEvent {
  EventKind kind = EventKind::Other;
  int virtualKey = 0;
  bool repeat = false;  // a key held down, sent again
  int wheelDelta = 0;
  int width = 0;
  int height = 0;
  bool minimized = false;
};

// Takes the next waiting event; false when none is waiting.
bool pollPlatformEvent(PlatformEvent& event);
