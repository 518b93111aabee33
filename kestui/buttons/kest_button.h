// A push button of the Kest framework.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/buttons/kest_title_control.h"
#include "kestui/containers/kest_container.h"

class CKestButton : public CKestTitleControl {
public:
  // "BUTTON", BS_DEFPUSHBUTTON when defaultButton, else BS_PUSHBUTTON.
  // modalResult: non-zero closes the owning form with that result when the
  // button is pressed (WM_CLOSE (result) posted to the form, which still
  // receives the WM_COMMAND).
  CKestButton(CKestContainer* container, const wchar_t* caption, bool defaultButton, int id,
              uint32_t position, int width, int height, const wchar_t* hint, int modalResult);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int GetModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

private:
  int modalResult_ = 0;
};

