#include "blocks/panel/ui_blocks/be_ui_trackbar.h"

#include <new>

#include "blocks/engine/output_pin.h"
#include "blocks/panel/items/velk_ui_trackbar.h"
#include "kestui/graphics/image.h"

CBEUITrackBar::CBEUITrackBar() {
  SetSize(30, 60);
  if (SetOutputCount(1)) {
    Output(0)->type = kBeSignalFloat;
    Output(0)->description = L"Значение";
  }
}

CBEBlock* CBEUITrackBar::Create() { return KeepIfPinsMade(new (std::nothrow) CBEUITrackBar, 0, 1); }

void CBEUITrackBar::Step(float) {
  CVelkUITrackBar* slider = dynamic_cast<CVelkUITrackBar*>(item);
  if (!slider || !Output(0)) return;
  Output(0)->SetFloat(slider->value);
}

void CBEUITrackBar::Draw(HDC dc) {
  static CKestImage picture;
  DrawPicture(dc, &picture, L"trackbar.jpg");
}
