#pragma once
#include <string>

#include "platform/system.h"

// Places the text on the clipboard; true when the clipboard took it.
inline bool copyTextToClipboard(const std::string& text) { return setClipboardText(text); }
