#include "blocks/panel/ui_blocks/be_ui_joystick.h"

#include <new>

#include "blocks/engine/output_pin.h"
#include "blocks/panel/items/velk_ui_joystick.h"
#include "kestui/graphics/image.h"

CBEUIJoystick::CBEUIJoystick() {
  SetSize(60, 48);
  SetOutputCount(2);
  if (Output(1)) {
    Output(0)->type = kBeSignalFloat;
    Output(0)->description = L"Значение по оси X";
    Output(0)->yOffset = 12;
    Output(1)->type = kBeSignalFloat;
    Output(1)->description = L"Значение по оси Y";
    Output(1)->yOffset = 39;
  }
}

CBEBlock* CBEUIJoystick::Create() { return KeepIfPinsMade(new (std::nothrow) CBEUIJoystick, 0, 2); }

void CBEUIJoystick::Step(float) {
  CVelkUIJoystick* joystick = dynamic_cast<CVelkUIJoystick*>(item);
  if (!joystick || !Output(1)) return;
  Output(0)->SetFloat(joystick->xValue);
  Output(1)->SetFloat(joystick->yValue);
}

void CBEUIJoystick::Draw(HDC dc) {
  static CKestImage picture;
  DrawPicture(dc, &picture, L"joystick.jpg");
}
