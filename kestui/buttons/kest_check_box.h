// A check box of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/buttons/kest_check_control.h"
#include "kestui/containers/kest_container.h"

class CKestCheckBox : public CKestCheckControl {
public:
  // "BUTTON", BS_CHECKBOX (not automatic), checked as given.
  CKestCheckBox(CKestContainer* container, const wchar_t* caption, bool checked, int id,
                uint32_t position, int width, int height, const wchar_t* hint);

  // Toggles the check mark, then posts WM_COMMAND to the form.
  void Click() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void SetChecked(bool checked);
};

