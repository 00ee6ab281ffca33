#include "platform/interrupt.h"

#include <signal.h>

namespace {
volatile sig_atomic_t g_interrupted = 0;

void onInterrupt(int) { g_interrupted = 1; }
}  // namespace

void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool interruptRequested() { return g_interrupted != 0; }
