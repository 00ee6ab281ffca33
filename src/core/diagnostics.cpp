#include "core/diagnostics.h"

#include <cstdio>
#include <utility>

namespace {
std::string g_program = "velmora";
DiagnosticWriter g_writer;

void emit(DiagnosticLevel level, const std::string& line) {
  if (g_writer) {
    g_writer(level, line);
    return;
  }
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

std::string programLine(std::string_view text) {
  std::string line = g_program;
  line += ": ";
  line += text;
  return line;
}
}  // namespace

void report(DiagnosticLevel level, std::string_view text) { emit(level, programLine(text)); }

void reportError(std::string_view subject, std::string_view cause) {
  emit(DiagnosticLevel::Error, programLine(std::string(subject) + ": " + std::string(cause)));
}

void reportWarning(std::string_view subject, std::string_view cause) {
  emit(DiagnosticLevel::Warning, programLine(std::string(subject) + ": " + std::string(cause)));
}

void reportMessage(std::string_view caption, std::string_view text) {
  emit(DiagnosticLevel::Message, messageLine(caption, text));
}

std::string messageLine(std::string_view caption, std::string_view text) {
  std::string line(caption);
  line += ": ";
  for (char c : text) {
    if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  return line;
}

void setDiagnosticProgram(std::string_view name) { g_program = name; }

void setDiagnosticWriter(DiagnosticWriter writer) { g_writer = std::move(writer); }
