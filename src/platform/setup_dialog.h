#pragma once
#include <array>

#include "resources/setup_dialog_template.h"

enum class DialogOutcome { Run, Quit, Unavailable };

// Shows the dialog modally in a small window of its own. `checked` holds one
// state per control, in template order: read at open, written back at Run.
// Enter presses the default button; Escape or closing the window is Quit.
DialogOutcome runSetupDialog(const DialogTemplate& dialog, std::array<bool, 6>& checked);
