#pragma once
#include <functional>
#include <string>
#include <string_view>

// The one way the program's diagnostics leave it: log lines, the stderr
// form of message boxes and the shader compiler's words all pass here, so a
// script reads one format and one switch routes them all. Single thread.
//
// Each report is one line on stderr, flushed at once:
//   Info, Warning, Error   "velmora: TEXT"  (the program's name, see below)
//   Message                "CAPTION: TEXT", the text of a message box that
//                          was not shown as a box; line breaks as \n
enum class DiagnosticLevel { Info, Warning, Error, Message };

// A line of the program's own (Message lines come from reportMessage).
void report(DiagnosticLevel level, std::string_view text);
// What failed (a file, a device, a step) and why, in one call:
// "velmora: SUBJECT: CAUSE".
void reportError(std::string_view subject, std::string_view cause);
void reportWarning(std::string_view subject, std::string_view cause);
// A message box's text on the stderr route.
void reportMessage(std::string_view caption, std::string_view text);

// The line reportMessage writes, without the newline.
std::string messageLine(std::string_view caption, std::string_view text);

// The name the program's own lines start with; "velmora" unless a tool
// names itself.
void setDiagnosticProgram(std::string_view name);

// Where finished lines (without the newline) go instead of stderr, for
// tests that read them; an empty function restores stderr.
using DiagnosticWriter = std::function<void(DiagnosticLevel level, const std::string& line)>;
void setDiagnosticWriter(DiagnosticWriter writer);
