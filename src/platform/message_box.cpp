#include "platform/message_box.h"

#include <SDL.h>

#include "core/diagnostics.h"

namespace {
MessageRoute g_route = MessageRoute::Box;

Uint32 boxFlags(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return SDL_MESSAGEBOX_INFORMATION;
    case MessageIcon::Exclamation:
      return SDL_MESSAGEBOX_WARNING;
    case MessageIcon::Stop:
      return SDL_MESSAGEBOX_ERROR;
  }
  return SDL_MESSAGEBOX_INFORMATION;
}
}  // namespace

void setMessageRoute(MessageRoute route) { g_route = route; }

void showMessage(const std::string& caption, const std::string& text, MessageIcon icon) {
  if (g_route == MessageRoute::Box &&
      SDL_ShowSimpleMessageBox(boxFlags(icon), caption.c_str(), text.c_str(), nullptr) == 0) {
    return;
  }
  // No display to show a box on: the message must still reach the user.
  reportMessage(caption, text);
}

bool askYesNo(const std::string& caption, const std::string& text, MessageIcon icon) {
  if (g_route == MessageRoute::Box) {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    const SDL_MessageBoxData data = {boxFlags(icon), nullptr, caption.c_str(), text.c_str(), 2, buttons, nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) == 0) return pressed == 1;
  }
  reportMessage(caption, text);
  return true;
}
