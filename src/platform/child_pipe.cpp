#include "platform/child_pipe.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {
constexpr size_t kErrorTailBytes = 600;

int unlinkedTempFile() {
  char name[] = "/tmp/velmora-helper-XXXXXX";
  const int fd = mkstemp(name);
  if (fd >= 0) unlink(name);
  return fd;
}

std::string describeStatus(int status) {
  if (WIFEXITED(status)) return "ended with status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return std::string("was killed by signal ") + strsignal(WTERMSIG(status));
  return "ended abnormally";
}
}  // namespace

ChildPipe::~ChildPipe() {
  kill();
  if (errorLog_ >= 0) close(errorLog_);
}

bool ChildPipe::start(const std::string& program, const std::vector<std::string>& args, std::string& error) {
  // A helper that dies must show up as a failed write, not end us.
  signal(SIGPIPE, SIG_IGN);
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return false;
  }
  errorLog_ = unlinkedTempFile();

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], 0);
  if (errorLog_ >= 0) posix_spawn_file_actions_adddup2(&actions, errorLog_, 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const int spawned = posix_spawnp(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(pipeEnds[0]);
  if (spawned != 0) {
    pid_ = -1;
    close(pipeEnds[1]);
    error = spawned == ENOENT ? "the program \"" + program + "\" was not found" : std::strerror(spawned);
    return false;
  }
  input_ = pipeEnds[1];
  return true;
}

bool ChildPipe::write(const void* data, size_t size, std::string& error) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(input_, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = errno == EPIPE ? "it stopped reading" : std::strerror(errno);
      return false;
    }
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool ChildPipe::finish(std::string& error) {
  if (input_ >= 0) {
    close(input_);
    input_ = -1;
  }
  return wait(error);
}

bool ChildPipe::wait(std::string& error) {
  if (pid_ <= 0) return true;
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0) {
    if (errno != EINTR) {
      error = std::strerror(errno);
      pid_ = -1;
      return false;
    }
  }
  pid_ = -1;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  error = describeStatus(status);
  return false;
}

void ChildPipe::kill() {
  if (input_ >= 0) {
    close(input_);
    input_ = -1;
  }
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    std::string ignored;
    wait(ignored);
  }
}

std::string ChildPipe::errorTail() const {
  if (errorLog_ < 0) return {};
  const off_t size = lseek(errorLog_, 0, SEEK_END);
  if (size <= 0) return {};
  const off_t from = size > static_cast<off_t>(kErrorTailBytes) ? size - static_cast<off_t>(kErrorTailBytes) : 0;
  std::string text(static_cast<size_t>(size - from), '\0');
  const ssize_t got = pread(errorLog_, text.data(), text.size(), from);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}
