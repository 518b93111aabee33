// CVelkUIIndicator: the indicator of a control panel. Its user-interface
// block writes the value on its input into the indicator's text, with the
// indicator's number of decimals for floating-point values.
#pragma once

#include "blocks/panel/velk_ui_control.h"

const int kUiIndicatorWidth = 64;
const int kUiIndicatorHeight = 20;
const int kUiIndicatorTextChars = 64;  // with the terminator
const int kUiIndicatorMaxDecimals = 15;

class CVelkUIIndicator : public CVelkUIControl {
public:
  explicit CVelkUIIndicator(UiPanel* panel);
  static CVelkUIControl* Create(UiPanel* panel);

  void BuildProperties(UiPropertyList* list) override;
  void CreateBlock() override;
  // A sunken frame.
  void DrawBackground(HDC dc) override;
  // "0.000": the editor never shows the run-time text.
  void DrawFace(HDC dc) override;
  void Save(CStream* stream) override;
  // Decimals outside 0 to 15 are brought into that range.
  bool Load(CStream* stream) override;

  // Copies text, cut to 63 characters.
  void SetText(const wchar_t* newText);

  // Fields, in this order.
  wchar_t text[kUiIndicatorTextChars] = {};
  int decimals = 3;
};
