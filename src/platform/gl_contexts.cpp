#include "platform/gl_contexts.h"

#include <SDL.h>

bool platformCurrentGl(void*& window, void*& context) {
  context = SDL_GL_GetCurrentContext();
  window = SDL_GL_GetCurrentWindow();
  if (context == nullptr || window == nullptr) {
    context = window = nullptr;
    return false;
  }
  return true;
}

void* platformCreateSharedContext(void* window) {
  if (window == nullptr || SDL_GL_GetCurrentContext() == nullptr) {
    SDL_SetError("no GL context is current to share with");
    return nullptr;
  }
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
  SDL_GLContext context = SDL_GL_CreateContext(static_cast<SDL_Window*>(window));
  // Later contexts (a test's, a re-created window's) must not share by accident.
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
  return context;
}

bool platformMakeContextCurrent(void* window, void* context) {
  return SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window), static_cast<SDL_GLContext>(context)) == 0;
}

void platformDeleteSharedContext(void* context) {
  if (context != nullptr) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}
