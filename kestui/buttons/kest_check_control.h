// The common part of the Kest framework's check boxes and radio buttons.
#pragma once

#include <windows.h>

#include "kestui/buttons/kest_title_control.h"

// Shared by check boxes and radios: the background brush answered to the
// parent's WM_CTLCOLOR*, and keyboard handling that leaves the standard
// control's own key notification out.
class CKestCheckControl : public CKestTitleControl {
public:
  ~CKestCheckControl() override;
  // Stores the colour and replaces the brush; answers the new brush.
  HBRUSH SetBackColor(COLORREF color) override;
  bool IsChecked() const;

protected:
  CKestCheckControl() = default;
  // WM_KEST_CTLCOLOR; true when the message was one.
  bool HandleColor(UINT message, WPARAM wParam, LRESULT* result);
  // Space reaches the standard control neither down nor up (it would press
  // itself and notify a second time); the shortcut table of a menu still
  // sees it.
  bool SwallowSpaceKey(UINT message, WPARAM wParam);

  HBRUSH brush_ = nullptr;
};

