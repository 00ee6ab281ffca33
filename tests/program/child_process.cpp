#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

namespace {
std::string tempPath(const char* stem) {
  std::string pattern = std::string("/tmp/velmora-") + stem + "-XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd >= 0) close(fd);
  return pattern;
}
}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::pair<std::string, std::string>>& env)
    : outPath_(tempPath("out")), errPath_(tempPath("err")) {
  pid_ = fork();
  if (pid_ == 0) {
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    const int out = open(outPath_.c_str(), O_WRONLY | O_TRUNC);
    const int err = open(errPath_.c_str(), O_WRONLY | O_TRUNC);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
}

ChildProcess::~ChildProcess() {
  if (running()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  unlink(outPath_.c_str());
  unlink(errPath_.c_str());
}

bool ChildProcess::running() {
  int status = 0;
  if (pid_ <= 0 || status_ || waitpid(pid_, &status, WNOHANG) != pid_) return pid_ > 0 && !status_;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

std::optional<int> ChildProcess::waitExit(double timeoutSeconds) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(timeoutSeconds * 1000));
  while (running() && std::chrono::steady_clock::now() <= deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (!running()) return status_;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
  return std::nullopt;
}

void ChildProcess::signal(int number) {
  if (running()) kill(pid_, number);
}

std::string ChildProcess::out() const { return readFile(outPath_); }
std::string ChildProcess::err() const { return readFile(errPath_); }
