#include "platform/message_box.h"

#include "core/diagnostics.h"
#include "platform/win32/win32_common.h"

namespace {
MessageRoute g_route = MessageRoute::Box;

UINT iconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return MB_ICONINFORMATION;
    case MessageIcon::Exclamation:
      return MB_ICONEXCLAMATION;
    case MessageIcon::Stop:
      return MB_ICONSTOP;
  }
  return MB_ICONINFORMATION;
}

// The answer of a real box, or 0 when none could be shown.
int showBox(const std::string& caption, const std::string& text, UINT buttons, MessageIcon icon) {
  if (g_route != MessageRoute::Box) return 0;
  return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(),
                     buttons | iconFlag(icon) | MB_SETFOREGROUND | MB_TOPMOST);
}
}  // namespace

void setMessageRoute(MessageRoute route) { g_route = route; }

void showMessage(const std::string& caption, const std::string& text, MessageIcon icon) {
  // No box could be shown: the message must still reach the user.
  if (showBox(caption, text, MB_OK, icon) == 0) reportMessage(caption, text);
}

bool askYesNo(const std::string& caption, const std::string& text, MessageIcon icon) {
  const int answer = showBox(caption, text, MB_YESNO | MB_DEFBUTTON1, icon);
  if (answer != 0) return answer == IDYES;
  reportMessage(caption, text);
  return true;
}
