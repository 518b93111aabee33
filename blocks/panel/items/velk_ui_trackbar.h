// CVelkUITrackBar: the slider of a control panel. Its user-interface block
// puts the slider's value on its output. Values run from the top-or-left
// value to the bottom-or-right value along a groove with 8 pixels of margin
// at each end.
#pragma once

#include "blocks/panel/velk_ui_control.h"

const int kUiTrackBarWidth = 40;
const int kUiTrackBarHeight = 104;
// Pixels between an end of the item and the first or last value.
const int kUiTrackMargin = 8;

class CVelkUITrackBar : public CVelkUIControl {
public:
  explicit CVelkUITrackBar(UiPanel* panel);
  static CVelkUIControl* Create(UiPanel* panel);

  void BuildProperties(UiPropertyList* list) override;
  void CreateBlock() override;
  // The sunken groove and the ticks.
  void DrawBackground(HDC dc) override;
  // The thumb at the default value.
  void DrawFace(HDC dc) override;
  void Save(CStream* stream) override;
  // Also puts the value back to the default value.
  bool Load(CStream* stream) override;
  void OnMouseDown(int px, int py) override;
  void OnMouseMove(int px, int py) override;
  void OnMouseUp(int px, int py) override;
  void DrawGL() override;

  // The pixel along the groove that shows v (an equal top and bottom value
  // put every value at the first pixel).
  int ValueToPixel(float v) const;
  // The value at pixel p along the groove, snapped to the step counted from
  // the default value and held between the end values.
  float PixelToValue(int p) const;
  // The tick pixels along the groove: the default value's first, then the
  // values reached from it by whole tick steps toward both ends, at most one
  // per pixel. Answers how many were written (at most capacity).
  int TickPixels(int* pixels, int capacity) const;
  // The same for the ticks that lie in the pixels first to last along the
  // groove (the default's tick comes first wherever it lies). The walk
  // starts at the first step that reaches them, so its length is bounded by
  // the pixels, not by how far the default lies from the range.
  int TickPixels(int* pixels, int capacity, int firstPixel, int lastPixel) const;

  // Fields, in this order.
  unsigned char vertical = 1;
  int thumbWidth = 20;
  int thumbSize = 12;
  int grooveWidth = 5;
  unsigned char autoReturn = 0;
  float defaultValue = 0.0f;
  float step = 0.0f;
  float topValue = -1.0f;
  float bottomValue = 1.0f;
  unsigned char showTicks = 1;
  float tickStep = 0.25f;
  float value = 0.0f;
  unsigned char dragging = 0;
  int grabOffset = 0;

private:
  int AlongStart() const { return vertical ? y : x; }
  int Length() const { return vertical ? height : width; }
  int CentreAcross() const { return vertical ? x + width / 2 : y + height / 2; }
  // The thumb's rectangle at pixel t along the groove.
  RECT ThumbRect(int t) const;
};
