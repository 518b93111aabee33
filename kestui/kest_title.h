// Captioned widgets of the Kest framework: push buttons, check boxes, radio
// buttons and self-painted labels.
//
// Notifications to the owning form: a click (mouse, or Enter and Space on a
// check box, Space on a radio) gives exactly one WM_COMMAND (id, window) with
// notification code 0, posted by Click after the check mark has changed. The
// standard button's own BN_CLICKED for keys is not produced for check boxes
// and radios, so it cannot double the framework's notification. A push button
// reports its mouse clicks through Click and its Space key through the
// system's BN_CLICKED; either way one WM_COMMAND per press.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/kest_container.h"
#include "kestui/kest_control.h"

// Size code of a label: measure the caption in this direction.
constexpr int KEST_LABEL_MEASURE = static_cast<int>(0x80000000u);

class CKestTitleControl : public CKestControl {
public:
  // SetWindowTextW; answers whether it succeeded.
  bool SetCaption(const wchar_t* text);
};

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

class CKestLabel : public CKestTitleControl {
public:
  // A self-painted "MainClass" window (WS_EX_TRANSPARENT), no id.
  // width or height KEST_LABEL_MEASURE: the caption measured with the
  // container's font (text width; text height + 2; 10 x 20 without caption).
  // stack with KEST_POS_FLOW: the label and the next flow widget share one
  // cell, the label above. alignment: below 0 left, 0 centred, above 0 right.
  // In a container with a gradient the label is transparent.
  CKestLabel(CKestContainer* container, const wchar_t* caption, uint32_t position, bool stack,
             int width, int height, int8_t alignment);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int8_t GetAlignment() const { return alignment_; }
  void SetAlignment(int8_t alignment);

  // The size a caption takes in a font (text width, text height + 2;
  // 10 x 20 for a null or empty caption).
  static SIZE MeasureCaption(HFONT font, const wchar_t* caption);

private:
  void Paint(HDC dc);

  int8_t alignment_ = -1;
};
