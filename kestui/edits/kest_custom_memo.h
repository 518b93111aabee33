// The common part of the Kest framework's multi-line edits.
#pragma once

#include <windows.h>

#include "kestui/edits/kest_custom_edit.h"

class CKestCustomMemo : public CKestCustomEdit {
public:
  // WM_GETDLGCODE by the two flags; Enter dropped when not accepted.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Zero-based line of the caret (selection start) and its column in it.
  int GetCaretLine() const;
  int GetCaretColumn() const;

  bool AcceptsEnter() const { return enterAccepted_; }
  bool WantsTab() const { return wantTab_; }

protected:
  bool enterAccepted_ = false;
  bool wantTab_ = false;
};

