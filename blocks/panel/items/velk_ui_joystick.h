// CVelkUIJoystick: the joystick of a control panel. The knob moves up to 40
// pixels from the centre in each direction; its user-interface block puts
// the deflection, scaled to the maxima, on its two outputs (up positive).
#pragma once

#include "blocks/panel/velk_ui_control.h"

const int kUiJoystickSize = 100;
// Pixels of deflection that mean the maximum.
const int kUiJoystickTravel = 40;

class CVelkUIJoystick : public CVelkUIControl {
public:
  explicit CVelkUIJoystick(UiPanel* panel);
  static CVelkUIControl* Create(UiPanel* panel);

  void BuildProperties(UiPropertyList* list) override;
  void CreateBlock() override;
  // The outline of the four-armed cross.
  void DrawBackground(HDC dc) override;
  // The knob at the centre.
  void DrawFace(HDC dc) override;
  void Save(CStream* stream) override;
  bool Load(CStream* stream) override;
  void OnMouseDown(int px, int py) override;
  void OnMouseMove(int px, int py) override;
  void OnMouseUp(int px, int py) override;
  void DrawGL() override;

  // The knob's deflection in pixels for the current values (0 on an axis
  // whose maximum is 0).
  POINT KnobOffset() const;

  // Fields, in this order.
  float maxX = 1.0f;
  float maxY = 1.0f;
  unsigned char axisLock = 0;
  unsigned char autoReturn = 1;
  float xValue = 0.0f;
  float yValue = 0.0f;
  unsigned char dragging = 0;
  int grabX = 0;
  int grabY = 0;
};
