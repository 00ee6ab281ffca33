#include "platform/child_pipe.h"

#include <algorithm>

#include "platform/win32/win32_common.h"

namespace {
constexpr DWORD kErrorTailBytes = 600;

HANDLE handle(void* h) { return static_cast<HANDLE>(h); }

// One argument as the child's command-line parser (CommandLineToArgvW and
// the C runtime's) reads it back: quoted when it must be, backslashes
// doubled only before a quote.
std::string quoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

// The program's file as a command prompt would find it: on the PATH, with
// ".exe" added when the name has no extension.
bool findProgram(const std::string& program, std::string& path) {
  char found[MAX_PATH];
  const DWORD length = SearchPathA(nullptr, program.c_str(), ".exe", MAX_PATH, found, nullptr);
  if (length == 0 || length >= MAX_PATH) return false;
  path.assign(found, length);
  return true;
}

HANDLE temporaryErrorLog() {
  char folder[MAX_PATH];
  char name[MAX_PATH];
  if (GetTempPathA(MAX_PATH, folder) == 0 || GetTempFileNameA(folder, "vlm", 0, name) == 0) return nullptr;
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  return file == INVALID_HANDLE_VALUE ? nullptr : file;
}
}  // namespace

ChildPipe::~ChildPipe() {
  kill();
  if (errorLog_ != nullptr) CloseHandle(handle(errorLog_));
}

bool ChildPipe::start(const std::string& program, const std::vector<std::string>& args, std::string& error) {
  std::string path;
  if (!findProgram(program, path)) {
    error = "the program \"" + program + "\" was not found";
    return false;
  }
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE childEnd = nullptr;
  HANDLE ourEnd = nullptr;
  if (!CreatePipe(&childEnd, &ourEnd, &inherited, 0)) {
    error = systemErrorText(GetLastError());
    return false;
  }
  // Only the child's end is inherited, or the child would hold the pipe
  // open against itself and never see its end.
  SetHandleInformation(ourEnd, HANDLE_FLAG_INHERIT, 0);
  errorLog_ = temporaryErrorLog();

  std::string commandLine = quoteArgument(program);
  for (const std::string& a : args) commandLine += " " + quoteArgument(a);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childEnd;
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = errorLog_ != nullptr ? handle(errorLog_) : GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION child{};
  // A process group of its own: a Ctrl-C in the console reaches us only.
  const BOOL started = CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child);
  const DWORD startError = GetLastError();
  CloseHandle(childEnd);
  if (!started) {
    CloseHandle(ourEnd);
    error = systemErrorText(startError);
    return false;
  }
  CloseHandle(child.hThread);
  process_ = child.hProcess;
  input_ = ourEnd;
  return true;
}

bool ChildPipe::write(const void* data, size_t size, std::string& error) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const auto chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(handle(input_), bytes, chunk, &written, nullptr) || written == 0) {
      const DWORD code = GetLastError();
      error = code == ERROR_NO_DATA || code == ERROR_BROKEN_PIPE ? "it stopped reading" : systemErrorText(code);
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

bool ChildPipe::finish(std::string& error) {
  if (input_ != nullptr) {
    CloseHandle(handle(input_));
    input_ = nullptr;
  }
  return wait(error);
}

bool ChildPipe::wait(std::string& error) {
  if (process_ == nullptr) return true;
  WaitForSingleObject(handle(process_), INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(handle(process_), &status);
  CloseHandle(handle(process_));
  process_ = nullptr;
  if (status == 0) return true;
  error = "ended with status " + std::to_string(status);
  return false;
}

void ChildPipe::kill() {
  if (input_ != nullptr) {
    CloseHandle(handle(input_));
    input_ = nullptr;
  }
  if (process_ != nullptr) {
    TerminateProcess(handle(process_), 1);
    std::string ignored;
    wait(ignored);
  }
}

std::string ChildPipe::errorTail() const {
  LARGE_INTEGER size{};
  if (errorLog_ == nullptr || !GetFileSizeEx(handle(errorLog_), &size) || size.QuadPart <= 0) return {};
  const LONGLONG from = std::max<LONGLONG>(0, size.QuadPart - kErrorTailBytes);
  std::string text(static_cast<size_t>(size.QuadPart - from), '\0');
  // Read at an offset: the child shares the handle's file position.
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(from & 0xFFFFFFFF);
  at.OffsetHigh = static_cast<DWORD>(from >> 32);
  DWORD got = 0;
  if (!ReadFile(handle(errorLog_), text.data(), static_cast<DWORD>(text.size()), &got, &at)) got = 0;
  text.resize(got);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}
