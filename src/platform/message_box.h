#pragma once
#include <string>

// Message boxes as the demo shows them. Real boxes by default; scripts and
// tests route them to the diagnostic sink (core/diagnostics.h: one
// "CAPTION: TEXT" line each on stderr) and take the default answer.
enum class MessageRoute { Box, Stderr };
enum class MessageIcon { Information, Exclamation, Stop };

void setMessageRoute(MessageRoute route);

void showMessage(const std::string& caption, const std::string& text, MessageIcon icon);

// Yes/No question; Yes is the default answer. Returns true for Yes.
bool askYesNo(const std::string& caption, const std::string& text, MessageIcon icon);
