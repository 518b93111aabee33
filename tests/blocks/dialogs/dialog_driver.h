// Driving the block property dialogs in tests: a main form that owns them,
// and a run of a dialog whose modal loop a thread timer answers (fills the
// rows through the form's own controls, then closes it with "OK",
// "Отмена", Esc or the close box).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "block_kit.h"
#include "blocks/dialogs/dialog_classes.h"
#include "blocks/dialogs/frame/property_form.h"
#include "support/form_queries.h"
#include "support/live_forms.h"

namespace dialogtest {

enum class Close { kOk, kCancel, kEscape, kCloseBox };

// Looks at and changes the shown form before it is closed.
using Fill = std::function<void(CBEPropertyForm* form)>;

// The main form of the program, which owns the dialogs, and the program's
// dialog table filled.
class DialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    frame = new CKestForm;
    ASSERT_TRUE(frame->Create(nullptr, L"Velkboard", KestPos(10, 10), 600, 400, nullptr, true, true, true, true));
    frame->Show(false);
    ASSERT_EQ(frame, MainKestForm);
    ASSERT_TRUE(RegisterBlockDialogs());
  }
  void TearDown() override { velktest::CloseAllLiveForms(); }

  blocktest::DialogScope dialogs;
  CKestForm* frame = nullptr;
};

// The newest property form alive, or null.
inline CBEPropertyForm* OpenForm() {
  for (int i = LiveForms.count - 1; i >= 0; i--)
    if (auto* form = dynamic_cast<CBEPropertyForm*>(LiveForms.forms[i])) return form;
  return nullptr;
}

struct Script {
  Fill fill;
  Close close = Close::kOk;
  bool seen = false;
};

inline Script& CurrentScript() {
  static Script script;
  return script;
}

inline void CALLBACK AnswerForm(HWND, UINT, UINT_PTR id, DWORD) {
  CBEPropertyForm* form = OpenForm();
  if (!form || !IsWindowVisible(form->GetHandle())) return;
  KillTimer(nullptr, id);
  Script& script = CurrentScript();
  script.seen = true;
  if (script.fill) script.fill(form);
  switch (script.close) {
    case Close::kOk: SendMessageW(form->GetOkButton()->GetHandle(), BM_CLICK, 0, 0); break;
    case Close::kCancel: SendMessageW(form->GetCancelButton()->GetHandle(), BM_CLICK, 0, 0); break;
    case Close::kEscape: {
      HWND focus = GetFocus() ? GetFocus() : form->GetHandle();
      PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0);
      break;
    }
    case Close::kCloseBox: PostMessageW(form->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
  }
}

// Runs call (which shows one dialog) with the timer answering it; answers
// what call answered.
inline bool Drive(const std::function<bool()>& call, const Fill& fill, Close close) {
  Script& script = CurrentScript();
  script.fill = fill;
  script.close = close;
  script.seen = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, AnswerForm);
  EXPECT_NE(0u, timer);
  bool answer = call();
  KillTimer(nullptr, timer);
  velktest::FlushEvents();
  EXPECT_TRUE(script.seen) << "the dialog was shown";
  EXPECT_EQ(nullptr, OpenForm()) << "the dialog is gone";
  script.fill = nullptr;
  return answer;
}

// The block's ShowProperties, answered so.
inline bool RunDialog(CBEBlock* block, const Fill& fill, Close close = Close::kOk) {
  return Drive([block] { return block->ShowProperties(); }, fill, close);
}

// Rows.
inline CKestSpinEdit* Spin(CBEPropertyForm* form, int row) {
  return dynamic_cast<CKestSpinEdit*>(form->GetRowControl(row));
}
inline CKestComboBox* List(CBEPropertyForm* form, int row) {
  return dynamic_cast<CKestComboBox*>(form->GetRowControl(row));
}
inline CKestEdit* Edit(CBEPropertyForm* form, int row) { return dynamic_cast<CKestEdit*>(form->GetRowControl(row)); }
inline CKestRadioGroupBox* Radios(CBEPropertyForm* form, int row) {
  return dynamic_cast<CKestRadioGroupBox*>(form->GetRowControl(row));
}

inline std::wstring Text(CKestControl* control) {
  return control ? velktest::WindowText(control->GetHandle()) : std::wstring(L"<none>");
}

// Typed over the whole text of an edit or spin edit, as the user would.
inline void TypeInto(CKestControl* control, const wchar_t* text) {
  ASSERT_NE(nullptr, control);
  HWND edit = control->GetHandle();
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_CHAR, VK_BACK, 1);
  for (const wchar_t* c = text; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
}

// Selects the item of a list as the user does: the selection changes and
// the list tells its form (CBN_SELCHANGE, or the code given).
inline void Choose(CKestComboBox* list, int index, int code = CBN_SELCHANGE) {
  ASSERT_NE(nullptr, list);
  list->SetSelectedIndex(index);
  HWND window = list->GetHandle();
  SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code),
               reinterpret_cast<LPARAM>(window));
}

// Clicks a radio item of a group; the form has handled the click when it
// returns.
inline void ClickRadio(CKestRadioGroupBox* group, int index) {
  ASSERT_NE(nullptr, group);
  group->SetItemIndex(index);
  velktest::FlushEvents();
}

inline std::vector<std::wstring> Items(CKestComboBox* list) {
  std::vector<std::wstring> items;
  if (!list) return items;
  for (int i = 0; i < list->GetCount(); ++i) {
    std::vector<wchar_t> text(list->GetItemTextLength(i) + 1);
    list->GetItemText(i, text.data());
    items.push_back(text.data());
  }
  return items;
}

// The selected item's text ("" for none).
inline std::wstring Selected(CKestComboBox* list) {
  int index = list ? list->GetSelectedIndex() : -1;
  if (index < 0) return L"";
  return Items(list)[index];
}

// Checks the frame every dialog shares: owned by the main form, the
// caption, the size, centred on the screen, the labels' captions by row
// (stacked over their controls or beside them), "OK" and "Отмена",
// buttonWidth x 25, centred in the last row.
void ExpectFrame(CBEPropertyForm* form, const wchar_t* caption, int width, int height,
                 const std::vector<std::wstring>& labels, int buttonWidth = 80);

}  // namespace dialogtest
