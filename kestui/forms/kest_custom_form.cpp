#include "kestui/forms/kest_custom_form.h"

#include "foundation/plain_array.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/hints/kest_hint.h"

KestLiveFormList LiveForms = {0, nullptr};

namespace {

constexpr int LiveFormStep = 32;

}  // namespace

bool SetLiveFormCount(int count) {
  if (count < 0) count = 0;
  if (!ResizeSteppedArray(&LiveForms.forms, LiveForms.count, count, LiveFormStep)) return false;
  LiveForms.count = count;
  return true;
}

bool AddLiveForm(CKestCustomForm* form) {
  int index = LiveForms.count;
  if (!SetLiveFormCount(index + 1)) return false;
  LiveForms.forms[index] = form;
  return true;
}

int FindLiveForm(const CKestCustomForm* form) {
  for (int i = 0; i < LiveForms.count; ++i) {
    if (LiveForms.forms[i] == form) return i;
  }
  return -1;
}

void RemoveLiveFormAt(int index) {
  if (index < 0 || index >= LiveForms.count) return;
  for (int i = index; i + 1 < LiveForms.count; ++i) LiveForms.forms[i] = LiveForms.forms[i + 1];
  SetLiveFormCount(LiveForms.count - 1);  // shrinking never fails
}

void RemoveLiveForm(CKestCustomForm* form) { RemoveLiveFormAt(FindLiveForm(form)); }

CKestCustomForm::CKestCustomForm() {
  topLevel_ = true;
  AddLiveForm(this);
}

CKestCustomForm::~CKestCustomForm() { RemoveLiveForm(this); }

void CKestCustomForm::SetCaption(const wchar_t* text) {
  if (window_) SetWindowTextW(window_, text);
}

LRESULT CKestCustomForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      HWND self = window_;
      InvalidateTransparentChildren(self);
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(self, &ps);
      paintDC_ = dc;
      painting_ = 1;
      try {
        SendMessageW(self, WM_KEST_PAINT, 0, reinterpret_cast<LPARAM>(self));
      } catch (...) {
      }
      EndPaint(self, &ps);
      if (GetControlFromHandle(self) == this) {
        paintDC_ = nullptr;
        painting_ = 0;
      }
      return 0;
    }
    case WM_ACTIVATE:
      // The default procedure still runs, so that the focus follows.
      if (LOWORD(wParam) != WA_INACTIVE) PostMessageW(window_, WM_KEST_ENDLAYOUT, 0, 0);
      else HideHintOfWindow(window_);
      break;
    case WM_ACTIVATEAPP:
      if (!wParam) HideHintOfWindow(window_);
      break;
    case WM_KEST_ENDLAYOUT:
      Realign();
      break;
    default:
      break;
  }
  return CKestContainer::WindowProc(message, wParam, lParam);
}
