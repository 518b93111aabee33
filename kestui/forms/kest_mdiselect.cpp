// The MDI window list.
#include "kestui/forms/kest_mdiselect.h"

#include <commctrl.h>

#include "foundation/buffers.h"
#include "kestui/containers/kest_container.h"
#include "kestui/core/kest_messages.h"

namespace {

constexpr int ListWidth = 520;
constexpr int ListHeight = 320;

}  // namespace

CMDISelectForm::CMDISelectForm(CKestForm* frame, int* index) : index_(index) {
  if (!Create(frame, L"MDI-окна", KEST_POS_CENTER, ListWidth, ListHeight, nullptr, true, false,
              true, true)) {
    return;
  }
  SetReady(false);
  list_ = new CKestListBox(this, 0, KEST_POS_CLIENT, ListWidth, ListHeight, 0, false);
  if (!list_->GetHandle()) {
    delete list_;
    list_ = nullptr;
  }
  if (list_ && frame) {
    int count = frame->GetMDIChildCount();
    for (int i = 0; i < count; ++i) {
      CKestControl* child = frame->GetMDIChildAt(i);
      wchar_t* caption = child ? child->GetTextCopy() : nullptr;
      list_->AddItem(caption ? caption : L"", 0);
      FreeBuffer(caption);
    }
    if (count > 0) list_->SetSelectedIndex(0);
  }
  Realign();
  if (list_) list_->SetFocus();
  SetReady(true);
}

bool CMDISelectForm::Choose() {
  if (closing_ || !list_) return false;
  int selected = list_->GetSelectedIndex();
  if (selected < 0) return false;
  if (index_) *index_ = selected;
  closing_ = true;
  PostClose(1);
  return true;
}

LRESULT CMDISelectForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsReady() && list_) {
    if (message == WM_NOTIFY) {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && header->hwndFrom == list_->GetHandle() &&
          header->code == static_cast<UINT>(NM_DBLCLK)) {
        return Choose() ? 1 : 0;
      }
    } else if (message == WM_KEST_KEYDOWN && wParam == VK_RETURN) {
      // Enter in the list picks the selected window, as a double click does.
      Choose();
      return 0;
    }
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}

bool ShowMDIWindowList(CKestForm* frame, int* index) {
  if (!frame || !index) return false;
  auto* form = new CMDISelectForm(frame, index);
  if (!form->GetHandle()) {
    delete form;
    return false;
  }
  HWND window = form->GetHandle();
  bool chosen = form->ShowModal(false) == 1;
  // The answer is read; the list goes at once (unless it went already).
  if (IsWindow(window) && GetControlFromHandle(window) == form) delete form;
  return chosen;
}
