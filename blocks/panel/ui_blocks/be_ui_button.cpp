#include "blocks/panel/ui_blocks/be_ui_button.h"

#include <new>

#include "blocks/engine/output_pin.h"
#include "blocks/panel/items/velk_ui_button.h"
#include "kestui/graphics/image.h"

CBEUIButton::CBEUIButton() {
  SetSize(60, 20);
  if (SetOutputCount(1)) {
    Output(0)->type = kBeSignalBit;
    Output(0)->description = L"Состояние кнопки (нажата или нет)";
  }
}

CBEBlock* CBEUIButton::Create() { return KeepIfPinsMade(new (std::nothrow) CBEUIButton, 0, 1); }

void CBEUIButton::Step(float) {
  CVelkUIButton* button = dynamic_cast<CVelkUIButton*>(item);
  if (!button || !Output(0)) return;
  Output(0)->value[0] = button->pressed;
}

void CBEUIButton::Draw(HDC dc) {
  static CKestImage picture;
  DrawPicture(dc, &picture, L"button.jpg");
}
