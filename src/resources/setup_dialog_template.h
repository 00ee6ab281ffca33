#pragma once
#include <array>

// The setup dialog as a template: texts, control ids and geometry in dialog
// units, the way a dialog resource describes it. The platform layer draws it.
enum class DialogControlKind { DefaultButton, Button, GroupBox, CheckBox };

struct DialogControl {
  int id;
  DialogControlKind kind;
  const char* text;
  int x, y, width, height;  // dialog units
  bool checkedAtOpen;
};

struct DialogTemplate {
  const char* title;
  const char* fontName;
  int fontPoints;
  int x, y, width, height;  // dialog units
  std::array<DialogControl, 6> controls;
};

namespace setup_dialog {
constexpr int kRun = 1;
constexpr int kQuit = 2;
constexpr int kGroup = -1;
constexpr int kMusic = 1011;
constexpr int kWindowed = 1012;
constexpr int kSlowCard = 1013;

constexpr DialogTemplate kTemplate = {
    " Velmora  by Drov - 2006 ",
    "Arial",
    9,
    300,
    300,
    103,
    105,
    {{
        {kRun, DialogControlKind::DefaultButton, "Run ... ", 9, 73, 54, 21, false},
        {kQuit, DialogControlKind::Button, "Quit", 65, 73, 24, 21, false},
        {kGroup, DialogControlKind::GroupBox, "Setup", 2, 3, 99, 98, false},
        {kMusic, DialogControlKind::CheckBox, "Music", 10, 15, 80, 15, true},
        {kWindowed, DialogControlKind::CheckBox, "Windowed", 10, 31, 80, 15, false},
        {kSlowCard, DialogControlKind::CheckBox, "Slow graphics card", 10, 53, 80, 15, false},
    }},
};

// Pixels per dialog unit for a 9-point Arial dialog at 96 dpi.
constexpr float kPixelsPerUnitX = 1.75f;
constexpr float kPixelsPerUnitY = 1.875f;
}  // namespace setup_dialog
