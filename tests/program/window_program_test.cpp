// The real binary on a private virtual display: the dialog, the window, the
// messages and the exit codes, as a user meets them.
#include <gtest/gtest.h>

#include "child_process.h"
#include "resources/setup_dialog_template.h"
#include "run_folder.h"
#include "virtual_display.h"

namespace {
const std::string kDialogTitle = " Velmora  by Drov - 2006 ";
constexpr double kWindowWait = 30.0;
constexpr double kExitWait = 20.0;

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(display.ok()) << "Xvfb did not start"; }

  // Run in the generated data, which start-up needs for its loading picture.
  std::unique_ptr<ChildProcess> start(std::vector<std::string> args) {
    args.insert(args.end(), {"--data", VELMORA_DATA_DIR});
    return std::make_unique<ChildProcess>(
        VELMORA_EXECUTABLE, args,
        std::vector<std::pair<std::string, std::string>>{{"DISPLAY", display.name()}, {"SDL_AUDIODRIVER", "dummy"}});
  }

  // Centre of a dialog control, in window coordinates.
  static std::string controlCentre(int id) {
    for (const DialogControl& c : setup_dialog::kTemplate.controls) {
      if (c.id == id) {
        const int x = static_cast<int>((c.x + c.width / 2) * setup_dialog::kPixelsPerUnitX);
        const int y = static_cast<int>((c.y + c.height / 2) * setup_dialog::kPixelsPerUnitY);
        return std::to_string(x) + " " + std::to_string(y);
      }
    }
    return "0 0";
  }

  void click(const WindowBox& w, int controlId) {
    display.xdotool("mousemove --window " + std::to_string(w.id) + " " + controlCentre(controlId) + " click 1");
  }

  // A dialog takes a click only once it has drawn its buttons: clicks again
  // until the dialog has gone.
  void clickUntilClosed(const WindowBox& w, int controlId) {
    EXPECT_TRUE(waitUntil(
        [&] {
          if (!display.findWindow(kDialogTitle).has_value()) return true;
          click(w, controlId);
          return false;
        },
        kWindowWait));
  }

  void expectDemoWindowThenClose(ChildProcess& p) {
    const auto window = display.waitForWindow(kDemoTitle, kWindowWait);
    ASSERT_TRUE(window.has_value()) << p.err();
    EXPECT_EQ(window->width, 800);
    EXPECT_EQ(window->height, 600);
    EXPECT_EQ(window->x, 50);
    EXPECT_EQ(window->y, 50);
    display.requestClose(*window);
    EXPECT_EQ(p.waitExit(kExitWait), 0) << p.err();
  }

  VirtualDisplay display;
};

TEST_F(ProgramTest, DialogQuitEscapeAndClosingEndWithZeroAndNeverOpenTheWindow) {
  for (const std::string how : {"Quit", "Escape", "close"}) {
    SCOPED_TRACE(how);
    auto p = start({"--messages", "stderr"});
    const auto dialog = display.waitForWindow(kDialogTitle, kWindowWait);
    ASSERT_TRUE(dialog.has_value()) << p->err();
    if (how == "Quit") {
      EXPECT_EQ(dialog->width, static_cast<int>(setup_dialog::kTemplate.width * setup_dialog::kPixelsPerUnitX));
      clickUntilClosed(*dialog, setup_dialog::kQuit);
    } else if (how == "Escape") {
      display.xdotool("key --window " + std::to_string(dialog->id) + " Escape");
    } else {
      display.requestClose(*dialog);
    }
    EXPECT_EQ(p->waitExit(kExitWait), 0) << p->err();
    EXPECT_FALSE(display.findWindow(kDemoTitle).has_value());
  }
}

TEST_F(ProgramTest, DialogRunAndEnterOpenTheTitledWindowAndClosingItEndsWithZero) {
  for (const bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "Return" : "Run");
    auto p = start({"--windowed", "--no-music", "--messages", "stderr"});
    const auto dialog = display.waitForWindow(kDialogTitle, kWindowWait);
    ASSERT_TRUE(dialog.has_value()) << p->err();
    if (byKey) {
      display.xdotool("key --window " + std::to_string(dialog->id) + " Return");
    } else {
      clickUntilClosed(*dialog, setup_dialog::kRun);
    }
    expectDemoWindowThenClose(*p);
    EXPECT_FALSE(display.findWindow(kDialogTitle).has_value());
    EXPECT_EQ(p->err().find("ERROR"), std::string::npos) << p->err();
  }
}

}  // namespace
