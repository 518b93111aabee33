#include "kestui/forms/kest_input_dialog.h"

#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_flow_layout.h"
#include "kestui/edits/kest_edit.h"

namespace {

constexpr int kDialogWidth = 400;
constexpr int kDialogHeight = 130;
constexpr int kGap = 8;
constexpr int kPromptWidth = 460;

// The input box. The edit takes the focus whenever the box becomes active
// and the focus is not already inside it, and whenever the box itself gets
// it. Giving the focus before the box is shown would make the modal loop
// remember the edit, instead of the caller's control, as the focus to give
// back.
class CKestInputDialog : public CKestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    bool hasEdit = edit_ && edit_->GetHandle();
    if (hasEdit && message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
      HWND focus = GetFocus();
      if (!focus || focus == window_ || !IsChild(window_, focus)) edit_->SetFocus();
    }
    // The system gives the focus to the box itself when it has nothing
    // better: pass it on, as dialogs do.
    if (hasEdit && message == WM_SETFOCUS) {
      edit_->SetFocus();
      return 0;
    }
    return CKestForm::WindowProc(message, wParam, lParam);
  }

  CKestEdit* edit_ = nullptr;
};

}  // namespace

wchar_t* ShowInputDialog(CKestForm* owner, const wchar_t* caption, const wchar_t* prompt,
                         const wchar_t* initialText) {
  auto* dialog = new CKestInputDialog();
  if (!dialog->Create(owner, caption, KEST_POS_CENTER, kDialogWidth, kDialogHeight, nullptr, false,
                      false, true, true)) {
    delete dialog;
    return nullptr;
  }
  HWND window = dialog->GetHandle();
  dialog->SetReady(false);
  KestFlowLayout* flow = dialog->GetFlowLayout();
  if (flow) flow->gap = kGap;

  // The prompt stays inside the box, so a long one wraps instead of being cut.
  int promptWidth = dialog->GetClientWidth() - 2 * kGap;
  if (promptWidth <= 0 || promptWidth > kPromptWidth) promptWidth = kPromptWidth;
  new CKestLabel(dialog, prompt, KEST_POS_FLOW, false, promptWidth, 18, -1);
  dialog->NewFlowRow();
  dialog->edit_ = new CKestEdit(dialog, 0, KEST_POS_FLOW, 372, 21, false, 0, true);
  dialog->BeginCenteredRows();
  new CKestButton(dialog, L"OK", true, IDOK, KEST_POS_FLOW, 80, 25, nullptr, 1);
  new CKestButton(dialog, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, 80, 25, nullptr, 2);
  dialog->CenterFlowRows();
  dialog->edit_->SetText(initialText ? initialText : L"");
  dialog->SetReady(true);

  int result = dialog->ShowModal(false);

  wchar_t* text = nullptr;
  if (GetControlFromHandle(window) == dialog) {
    if (result == 1 && dialog->edit_->GetHandle()) text = dialog->edit_->GetText();
    delete dialog;
  }
  return text;
}
