// Cleaning up after form tests: every live form goes, with what it owns, and
// the quit request that the end of a main form posts is dropped so that it
// does not end the next test's loop at once.
#pragma once

#include <windows.h>

#include "kestui/forms/kest_custom_form.h"
#include "support/test_support.h"

namespace velktest {

// Removes WM_QUIT requests waiting in this thread's queue; answers whether
// there was any.
inline bool DropQuitRequests() {
  MSG msg;
  bool any = false;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) any = true;
  return any;
}

inline void CloseAllLiveForms() {
  // Top-level forms take their children and owned forms with them.
  while (LiveForms.count > 0) {
    CKestCustomForm* form = LiveForms.forms[LiveForms.count - 1];
    HWND window = form ? form->GetHandle() : nullptr;
    if (window && IsWindow(window)) {
      HWND top = GetAncestor(window, GA_ROOT);
      DestroyWindow(top ? top : window);
    } else {
      delete form;
    }
    if (LiveForms.count > 0 && LiveForms.forms[LiveForms.count - 1] == form) {
      RemoveLiveFormAt(LiveForms.count - 1);  // a form that would not go
    }
  }
  FlushEvents();
  DropQuitRequests();
}

}  // namespace velktest
