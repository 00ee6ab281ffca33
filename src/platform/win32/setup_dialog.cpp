#include "platform/setup_dialog.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/win32/win32_common.h"

namespace {
constexpr WORD kButtonClass = 0x0080;

// A dialog template in memory, as DialogBoxIndirectParam reads it: the
// header, then each control, every one on a four-byte boundary.
class TemplateWriter {
 public:
  template <typename T>
  void put(const T& value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    data_.insert(data_.end(), bytes, bytes + sizeof value);
  }
  void putWord(WORD w) { put(w); }
  // Dialog templates hold UTF-16 text; the template's texts are ASCII.
  void putText(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) putWord(static_cast<WORD>(static_cast<unsigned char>(*c)));
    putWord(0);
  }
  void alignToDword() {
    while (data_.size() % 4 != 0) data_.push_back(0);
  }
  // The system wants the start on a four-byte boundary, which the heap's
  // blocks always are.
  std::vector<uint8_t> take() { return std::move(data_); }

 private:
  std::vector<uint8_t> data_;
};

DWORD controlStyle(DialogControlKind kind) {
  switch (kind) {
    case DialogControlKind::DefaultButton:
      return BS_DEFPUSHBUTTON | WS_TABSTOP;
    case DialogControlKind::Button:
      return BS_PUSHBUTTON | WS_TABSTOP;
    case DialogControlKind::GroupBox:
      return BS_GROUPBOX;
    case DialogControlKind::CheckBox:
      return BS_AUTOCHECKBOX | WS_TABSTOP;
  }
  return BS_PUSHBUTTON;
}

std::vector<uint8_t> buildTemplate(const DialogTemplate& dialog) {
  TemplateWriter w;
  DLGTEMPLATE header{};
  header.style = DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  header.cdit = static_cast<WORD>(dialog.controls.size());
  header.x = static_cast<short>(dialog.x);
  header.y = static_cast<short>(dialog.y);
  header.cx = static_cast<short>(dialog.width);
  header.cy = static_cast<short>(dialog.height);
  w.put(header);
  w.putWord(0);  // no menu
  w.putWord(0);  // the system's dialog class
  w.putText(dialog.title);
  w.putWord(static_cast<WORD>(dialog.fontPoints));
  w.putText(dialog.fontName);
  for (const DialogControl& c : dialog.controls) {
    w.alignToDword();
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_VISIBLE | controlStyle(c.kind);
    item.x = static_cast<short>(c.x);
    item.y = static_cast<short>(c.y);
    item.cx = static_cast<short>(c.width);
    item.cy = static_cast<short>(c.height);
    item.id = static_cast<WORD>(c.id);
    w.put(item);
    w.putWord(0xFFFF);  // a class given by its number: the button
    w.putWord(kButtonClass);
    w.putText(c.text);
    w.putWord(0);  // no creation data
  }
  return w.take();
}

struct DialogSession {
  const DialogTemplate* dialog;
  std::array<bool, 6> checked;
};

INT_PTR CALLBACK setupDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* session = reinterpret_cast<DialogSession*>(GetWindowLongPtrA(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(window, DWLP_USER, lParam);
      session = reinterpret_cast<DialogSession*>(lParam);
      for (size_t i = 0; i < session->dialog->controls.size(); ++i) {
        const DialogControl& c = session->dialog->controls[i];
        if (c.kind == DialogControlKind::CheckBox) {
          CheckDlgButton(window, c.id, session->checked[i] ? BST_CHECKED : BST_UNCHECKED);
        }
      }
      SetForegroundWindow(window);
      return TRUE;
    case WM_COMMAND:
      // Enter presses the default button (IDOK, the Run button's id);
      // Escape and closing the window send IDCANCEL, the Quit button's.
      if (LOWORD(wParam) == setup_dialog::kRun) {
        for (size_t i = 0; i < session->dialog->controls.size(); ++i) {
          const DialogControl& c = session->dialog->controls[i];
          if (c.kind == DialogControlKind::CheckBox)
            session->checked[i] = IsDlgButtonChecked(window, c.id) == BST_CHECKED;
        }
        EndDialog(window, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == setup_dialog::kQuit) {
        EndDialog(window, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}
}  // namespace

DialogOutcome runSetupDialog(const DialogTemplate& dialog, std::array<bool, 6>& checked) {
  static_assert(setup_dialog::kRun == IDOK && setup_dialog::kQuit == IDCANCEL);
  const std::vector<uint8_t> bytes = buildTemplate(dialog);
  DialogSession session{&dialog, checked};
  const INT_PTR result =
      DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), nullptr,
                              setupDialogProc, reinterpret_cast<LPARAM>(&session));
  if (result == IDOK) {
    checked = session.checked;
    return DialogOutcome::Run;
  }
  if (result == IDCANCEL) return DialogOutcome::Quit;
  setPlatformError("DialogBoxIndirectParam", true);
  return DialogOutcome::Unavailable;
}
