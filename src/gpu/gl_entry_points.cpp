#include "gpu/gl_entry_points.h"

#include <type_traits>

#include "platform/gl_window.h"

namespace {

constinit GlProcResolver resolveProc = &platformGlProcAddress;

// The stubs need their function's name as a constant with a home of its own.
#define VELMORA_GL_ENTRY_NAME(name, type) constexpr char name##Name[] = #name;
VELMORA_GL_ENTRIES(VELMORA_GL_ENTRY_NAME)
#undef VELMORA_GL_ENTRY_NAME

template <typename Function>
struct EntryStub;

// One stub per entry, with exactly the function's own argument list, so a
// call through a stub leaves the caller's stack as the real function would.
template <typename R, typename... Args>
struct EntryStub<R(APIENTRY*)(Args...)> {
  template <auto entry, const char* name>
  static R APIENTRY call(Args... args) {
    auto* function = reinterpret_cast<R(APIENTRY*)(Args...)>(resolveProc(name));
    if (function == nullptr) {
      if constexpr (std::is_void_v<R>) {
        return;
      } else {
        return R{};
      }
    }
    glExtensionTable.*entry = function;
    return function(args...);
  }
};

#define VELMORA_GL_ENTRY_STUB(name, type) &EntryStub<type>::call<&GlExtensionTable::name, name##Name>,
constexpr GlExtensionTable stubs = {VELMORA_GL_ENTRIES(VELMORA_GL_ENTRY_STUB)};
#undef VELMORA_GL_ENTRY_STUB

}  // namespace

// Constant-initialised: usable from other objects' static initialisers.
constinit GlExtensionTable glExtensionTable = stubs;

void resetGlExtensionTable() { glExtensionTable = stubs; }

GlProcResolver setGlProcResolver(GlProcResolver resolver) {
  GlProcResolver previous = resolveProc;
  resolveProc = resolver != nullptr ? resolver : &platformGlProcAddress;
  return previous;
}
