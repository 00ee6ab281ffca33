// Leak checking in the sanitizer build: the session bus library that SDL's
// X11 video start-up pulls in keeps a buffer it never frees. It is not ours
// and would fail every GL test binary, so the leak checker skips it. This
// file holds the one definition for the whole binary.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
