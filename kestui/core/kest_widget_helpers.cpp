#include "kestui/core/kest_widget_helpers.h"

#include <commctrl.h>

#include "foundation/buffers.h"
#include "kestui/core/kest_control.h"
#include "kestui/graphics/kest_imagelist.h"

void SetWindowId(HWND window, int id) {
  if (window) SetWindowLongW(window, GWL_ID, id);
}

void SetHintIfAny(CKestControl* control, const wchar_t* hint) {
  if (hint) control->SetHint(hint);
}

HBRUSH ReplaceBrush(HBRUSH old, COLORREF color) {
  if (old) DeleteObject(old);
  return CreateSolidBrush(color);
}

wchar_t* CopyText(HWND window, UINT lengthMessage, UINT textMessage, int index) {
  if (!window) return nullptr;
  LRESULT length = SendMessageW(window, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length <= 0) return nullptr;
  wchar_t* text = AllocWideString(static_cast<size_t>(length));
  if (!text) return nullptr;
  LRESULT got = SendMessageW(window, textMessage, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(text));
  if (got < 0) {
    FreeBuffer(text);
    return nullptr;
  }
  text[got <= length ? got : length] = 0;
  return text;
}

void InitCommonControlClasses(DWORD classes) {
  INITCOMMONCONTROLSEX init = {sizeof init, classes};
  InitCommonControlsEx(&init);
}

void ReplaceImageList(CKestImageList** held, CKestImageList* list) {
  if (list) list->AddRef();
  if (*held) (*held)->Release();
  *held = list;
}

RECT ChildRect(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
