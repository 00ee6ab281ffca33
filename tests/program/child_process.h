#pragma once
#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A program started with extra environment variables, its output captured in files.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::pair<std::string, std::string>>& env);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit code, or nothing when it did not end in time (it is then killed).
  std::optional<int> waitExit(double timeoutSeconds);
  bool running();
  // Sends a signal, as a terminal's Ctrl-C (SIGINT) would.
  void signal(int number);
  std::string out() const;
  std::string err() const;

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string outPath_;
  std::string errPath_;
};

std::string readFile(const std::string& path);
