// CVelkUILine: a straight line on the control panel ("Линия") between two
// end points, of a colour and thickness. Its rectangle follows its ends;
// the editor moves the whole line or drags either end (codes 9 and 10).
#pragma once

#include "blocks/panel/velk_ui_control.h"

class CVelkUILine : public CVelkUIControl {
public:
  // From (0, 0) to (104, 28), 0x666666, 3 pixels thick.
  explicit CVelkUILine(UiPanel* panel);

  // Name, x1, y1, x2, y2, colour, thickness 1..20.
  void BuildProperties(UiPropertyList* list) override;
  // The first end at the point, the second 104 pixels to its right.
  void SetPosition(int newX, int newY) override;
  // 9 or 10 near an end, 0 near the straight line through both, else -1.
  int HitTest(int px, int py) override;
  // 0 moves both ends, 9 the first, 10 the second.
  void DragHandle(int code, int dx, int dy) override;
  void DrawBackground(HDC dc) override;
  // A small circle at each end.
  void DrawSelection(HDC dc) override;
  // Base record, x1, y1, x2, y2, colour (4 bytes each), thickness (1).
  void Save(CStream* stream) override;
  bool Load(CStream* stream) override;

  // The rectangle around both ends with the thickness and a pixel to spare.
  void UpdateBounds();

  int x1 = 0;
  int y1 = 0;
  int x2 = 104;
  int y2 = 28;
  COLORREF color = 0x666666;
  int thickness = 3;
};

CVelkUIControl* NewVelkUILine(UiPanel* panel);
