#include "kestui/forms/kest_mdi_child_form.h"

CKestMDIChildForm::~CKestMDIChildForm() {
  if (mdiClient_ && IsWindow(mdiClient_)) SendMessageW(mdiClient_, WM_MDIREFRESHMENU, 0, 0);
}

bool CKestMDIChildForm::Create(CKestForm* frame, const wchar_t* caption, bool sizeable,
                               bool minimizeBox, uint32_t position, int width, int height) {
  if (!frame || !frame->GetMDIClient() || window_) return false;
  int x = 0, y = 0;
  if (position == KEST_POS_FLOW) {
    x = CW_USEDEFAULT;
    y = CW_USEDEFAULT;
  } else if (position == KEST_POS_CENTER) {
    x = (frame->GetWidth() - width) / 2;
    y = (frame->GetHeight() - height) / 2;
  } else if (!IsKestSpecialPosition(position)) {
    x = static_cast<int>(position & 0xFFFF);
    y = static_cast<int>((position >> 16) & 0xFFFF);
  }
  positionCode_ = position;
  if (!RegisterMDIChildWindowClass()) return false;
  if (!font_) SetFont(frame->GetFont() ? frame->GetFont() : CreateDefaultKestFont());

  DWORD style = sizeable ? 0x12CD0001 : 0x12C80001;
  if (minimizeBox) style |= WS_MINIMIZEBOX;
  MDICREATESTRUCTW mcs;
  mcs.szClass = KestMDIChildClassName;
  mcs.szTitle = caption ? caption : L"";
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = x;
  mcs.y = y;
  mcs.cx = width;
  mcs.cy = height;
  mcs.style = style;
  mcs.lParam = reinterpret_cast<LPARAM>(this);
  mdiClient_ = frame->GetMDIClient();
  HWND made = reinterpret_cast<HWND>(
      SendMessageW(mdiClient_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!made || window_ != made) return false;
  if (font_) SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_->GetHandle()), FALSE);
  ShowWindow(made, SW_SHOW);
  ready_ = true;
  return true;
}

LRESULT CKestMDIChildForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // MDI children have no modal result.
      PostMessageW(window_, WM_KEST_DESTROY, wParam, 0);
      return 0;
    case WM_MDIACTIVATE:
      PostMessageW(window_, WM_KEST_ENDLAYOUT, 0, 0);
      break;
    case WM_KEST_DESTROY: {
      HWND self = window_;
      HWND client = GetParent(self);
      if (client) SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(self), 0);
      return 0;  // this object is gone
    }
    default:
      break;
  }
  return CKestCustomForm::WindowProc(message, wParam, lParam);
}

LRESULT CKestMDIChildForm::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcW(window_, message, wParam, lParam);
}
