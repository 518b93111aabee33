// A radio button of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/buttons/kest_check_control.h"
#include "kestui/containers/kest_container.h"

class CKestRadio : public CKestCheckControl {
public:
  // "BUTTON", BS_RADIOBUTTON (not automatic), unchecked.
  CKestRadio(CKestContainer* container, const wchar_t* caption, int id, uint32_t position,
             int width, int height, const wchar_t* hint);

  // Checks itself, unchecks every sibling radio of the same parent window
  // (giving them WS_TABSTOP), then posts WM_COMMAND to the form. Radios of
  // two groups therefore live in separate containers.
  void Click() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void SetChecked(bool checked);
};

