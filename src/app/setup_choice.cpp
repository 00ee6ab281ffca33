#include "app/setup_choice.h"

#include "resources/setup_dialog_template.h"

namespace {
size_t indexOf(int id) {
  const auto& controls = setup_dialog::kTemplate.controls;
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].id == id) return i;
  }
  return 0;
}
}  // namespace

std::array<bool, 6> initialDialogChecks(const LaunchOptions& options) {
  std::array<bool, 6> checked{};
  const auto& controls = setup_dialog::kTemplate.controls;
  for (size_t i = 0; i < controls.size(); ++i) checked[i] = controls[i].checkedAtOpen;
  if (options.music) checked[indexOf(setup_dialog::kMusic)] = *options.music;
  if (options.windowed) checked[indexOf(setup_dialog::kWindowed)] = *options.windowed;
  if (options.slowGpu) checked[indexOf(setup_dialog::kSlowCard)] = true;
  return checked;
}

void applyDialogChecks(const std::array<bool, 6>& checked, ShellState& shell) {
  shell.musicEnabled = checked[indexOf(setup_dialog::kMusic)];
  shell.fullscreen = !checked[indexOf(setup_dialog::kWindowed)];
  shell.slowCard = checked[indexOf(setup_dialog::kSlowCard)];
}
