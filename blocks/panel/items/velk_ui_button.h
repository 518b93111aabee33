// CVelkUIButton: the button of a control panel. Its user-interface block
// puts the pressed state on its output. A latching button toggles with each
// press; pressing a button of a group releases the other buttons of the
// group.
#pragma once

#include "blocks/panel/velk_ui_control.h"

const int kUiButtonWidth = 104;
const int kUiButtonHeight = 32;
const COLORREF kUiButtonTextColor = 0x000000;
const COLORREF kUiButtonColor = 0xAAAAAA;
const COLORREF kUiButtonPressedColor = 0xFF6633;

class CVelkUIButton : public CVelkUIControl {
public:
  explicit CVelkUIButton(UiPanel* panel);
  ~CVelkUIButton() override;
  static CVelkUIControl* Create(UiPanel* panel);

  void BuildProperties(UiPropertyList* list) override;
  void CreateBlock() override;
  // The released look: outline, shaded face, bevels and text.
  void DrawBackground(HDC dc) override;
  // The pressed look, only while pressed.
  void DrawFace(HDC dc) override;
  void Save(CStream* stream) override;
  bool Load(CStream* stream) override;
  void OnMouseDown(int px, int py) override;
  void OnMouseMove(int px, int py) override;
  void OnMouseUp(int px, int py) override;
  void OnKeyDown(int key) override;
  void OnKeyUp(int key) override;
  void DrawGL() override;

  // Releases the other buttons of the panel in the same group (none for
  // group 0).
  void ReleaseGroup();
  bool Inside(int px, int py) const;

  // Fields, in this order.
  unsigned char latching = 0;
  int group = 0;
  wchar_t* text = nullptr;      // owned
  wchar_t* fontName = nullptr;  // owned
  int fontStyle = 0;
  int fontSize = 16;
  COLORREF textColor = kUiButtonTextColor;
  COLORREF buttonColor = kUiButtonColor;
  COLORREF pressedColor = kUiButtonPressedColor;
  unsigned char latchedState = 0;
  unsigned char captured = 0;
  unsigned char pressed = 0;

private:
  // The rows of the face from light to the button colour; blended once more
  // with the pressed colour when pressedLook.
  void PaintFaceRows(HDC dc, bool pressedLook);
  void Press();
};
