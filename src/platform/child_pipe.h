#pragma once
#ifndef _WIN32
#include <sys/types.h>
#endif

#include <cstddef>
#include <string>
#include <vector>

// A helper program fed through a pipe to its standard input; what it says
// on standard error is kept for the message when it fails. The program runs
// in its own process group, so a Ctrl-C at the terminal reaches only us and
// we decide how the helper ends. Starting one makes a broken pipe a failed
// write for the whole process, instead of a signal that ends it. The
// members are each platform's own handles.
class ChildPipe {
 public:
  ChildPipe() = default;
  ~ChildPipe();  // kills a helper still running
  ChildPipe(const ChildPipe&) = delete;
  ChildPipe& operator=(const ChildPipe&) = delete;

  // Starts `program` (looked up in PATH) with `args`. False, with a reason,
  // when it cannot be started (not installed, not executable).
  bool start(const std::string& program, const std::vector<std::string>& args, std::string& error);

  // Writes all bytes. False, with a reason, when the helper has stopped
  // reading (it ended, or failed).
  bool write(const void* data, size_t size, std::string& error);

  // Closes the pipe and waits for the helper to end. False, with a reason,
  // unless it ended with status 0.
  bool finish(std::string& error);

  // Ends the helper at once (any output it was making is left to the caller
  // to remove).
  void kill();

  // The last lines the helper wrote on standard error.
  std::string errorTail() const;

 private:
  bool wait(std::string& error);

#ifdef _WIN32
  void* process_ = nullptr;   // HANDLE
  void* input_ = nullptr;     // HANDLE: our end of the pipe
  void* errorLog_ = nullptr;  // HANDLE: a temporary file deleted on close
#else
  pid_t pid_ = -1;
  int input_ = -1;
  int errorLog_ = -1;  // an unlinked temporary file
#endif
};
