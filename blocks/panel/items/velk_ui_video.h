// CVelkUIVideo: the video window of a control panel. Its user-interface
// block fills one of four picture slots (camera frame, scan sector, local
// map, global map) from its video input, and puts the last mouse press,
// normalised to -1..1 across the window, on its outputs.
#pragma once

#include "blocks/panel/velk_ui_control.h"

const int kUiVideoWidth = 320;
const int kUiVideoHeight = 240;
const int kUiVideoSlotCount = 4;

class CVelkUIVideo : public CVelkUIControl {
public:
  explicit CVelkUIVideo(UiPanel* panel);
  static CVelkUIControl* Create(UiPanel* panel);

  void CreateBlock() override;
  // Black.
  void DrawBackground(HDC dc) override;
  // "Видео" in white, centred.
  void DrawFace(HDC dc) override;
  void OnMouseDown(int px, int py) override;

  // Fields, in this order.
  const void* pictures[kUiVideoSlotCount] = {};  // not owned: the producers' records
  float mouseX = 0.0f;
  float mouseY = 0.0f;
};
