#pragma once
#include <array>

#include "app/command_line.h"
#include "app/shell_state.h"

// The check boxes as the dialog opens: its own defaults, then what the
// command line preset.
std::array<bool, 6> initialDialogChecks(const LaunchOptions& options);

// What "Run" makes of the boxes: music, fullscreen unless windowed, slow card.
void applyDialogChecks(const std::array<bool, 6>& checked, ShellState& shell);
