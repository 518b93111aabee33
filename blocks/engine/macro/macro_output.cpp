#include "blocks/engine/macro/macro_output.h"

#include <cstring>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/macro/macro.h"
#include "blocks/engine/macro/port_drawing.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "foundation/stream.h"

CBEMacroOutput::CBEMacroOutput() {
  flags = kBeBlockDevice;
  rect = RECT{0, 0, 70, 17};
  fillColor = kBeMacroFill;
  SetInputCount(1);
}

CBEMacroOutput::~CBEMacroOutput() {
  BeOutputPin* pin = owner ? owner->Output(index) : nullptr;
  if (pin && caption && pin->name == caption) pin->name = nullptr;
}

CBEBlock* CBEMacroOutput::Create() {
  // A port whose pin could not be made is no port.
  CBEMacroOutput* port = new CBEMacroOutput;
  if (port->inputCount == 1) return port;
  delete port;
  return nullptr;
}

void CBEMacroOutput::Step(float) {
  BeOutputPin* pin = owner ? owner->Output(index) : nullptr;
  if (!pin || inputCount < 1 || !inputs[0]->source) return;
  memcpy(pin->value, inputs[0]->source->value, sizeof pin->value);
}

void CBEMacroOutput::Save(CStream* stream) {
  stream->WriteInt32(index);
  stream->WriteByte(inputCount > 0 ? inputs[0]->type : 0);
  CBEBlock::Save(stream);
}

bool CBEMacroOutput::Load(CStream* stream) {
  int stored;
  unsigned char type;
  if (!ReadInt32Checked(stream, &stored) || !ReadByteChecked(stream, &type)) return false;
  if (!IsStoredPortType(type) || inputCount < 1) return false;
  index = stored;
  inputs[0]->type = (inputs[0]->type & ~0xFF) | type;
  return CBEBlock::Load(stream);
}

void CBEMacroOutput::Draw(HDC dc) {
  const RECT& r = rect;
  POINT corners[5] = {{r.right, r.top}, {r.left + 7, r.top}, {r.left, r.top + 7},
                      {r.left + 7, r.bottom}, {r.right, r.bottom}};
  DrawMacroPort(dc, corners, fillColor, r.right - 4, r.top, r.bottom, caption, r.left + 13, r.top + 1);
}
