#include "blocks/library/digital/rs_flip_flop.h"

#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/pin_levels.h"
#include "blocks/library/typed_block.h"

CBERSFlipFlop::CBERSFlipFlop() {
  rect = RECT{0, 0, 50, 40};
  fillColor = kDigitalFill;
  SetInputCount(2);
  SetOutputCount(1);
  if (inputCount == 2 && outputCount == 1) {
    inputs[0]->name = L"R";
    inputs[0]->description = L"Сброс";
    inputs[1]->name = L"S";
    inputs[1]->description = L"Установка";
    outputs[0]->name = L"Q";
    outputs[0]->description = L"Состояние";
  }
  cycles = 8;
  rom = 20;
}

CBEBlock* CBERSFlipFlop::Create() { return KeepIfPinsMade(new (std::nothrow) CBERSFlipFlop, 2, 1); }

void CBERSFlipFlop::Start() { WriteInt32Value(outputs[0]->value, 0); }

void CBERSFlipFlop::Step(float) {
  if (IsInputActive(inputs[0])) {
    WriteInt32Value(outputs[0]->value, 0);
  } else if (IsInputActive(inputs[1])) {
    WriteInt32Value(outputs[0]->value, 1);
  }
}

void CBERSFlipFlop::Draw(HDC dc) {
  DrawBody(dc);
  DrawDigitalLetter(dc, rect, L"T");
}
