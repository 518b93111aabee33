// An MDI child window of the Kest framework.
#pragma once

#include <windows.h>

#include "kestui/forms/kest_custom_form.h"
#include "kestui/forms/kest_form.h"

class CKestMDIChildForm : public CKestCustomForm {
public:
  CKestMDIChildForm() = default;
  // Asks the MDI client to refresh the window menu.
  ~CKestMDIChildForm() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // DefMDIChildProcW.
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Creates the visible child window in the frame's MDI client. position:
  // KEST_POS_FLOW system default, KEST_POS_CENTER centred in the frame, or
  // KestPos (x, y). False without an MDI client or when no window was made.
  bool Create(CKestForm* frame, const wchar_t* caption, bool sizeable, bool minimizeBox,
              uint32_t position, int width, int height);

private:
  HWND mdiClient_ = nullptr;
};

