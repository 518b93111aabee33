#include "blocks/engine/macro/macro_input.h"

#include <cstring>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/macro/macro.h"
#include "blocks/engine/macro/port_drawing.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "foundation/stream.h"

CBEMacroInput::CBEMacroInput() {
  flags = kBeBlockDevice;
  rect = RECT{0, 0, 70, 14};
  fillColor = kBeMacroFill;
  SetOutputCount(1);
}

CBEMacroInput::~CBEMacroInput() {
  // The macro's pin is named by this port's caption, which goes now.
  BeInputPin* pin = owner ? owner->Input(index) : nullptr;
  if (pin && caption && pin->name == caption) pin->name = nullptr;
}

CBEBlock* CBEMacroInput::Create() {
  // A port whose pin could not be made is no port.
  CBEMacroInput* port = new CBEMacroInput;
  if (port->outputCount == 1) return port;
  delete port;
  return nullptr;
}

void CBEMacroInput::Step(float) {
  BeInputPin* pin = owner ? owner->Input(index) : nullptr;
  if (!pin || !pin->source || outputCount < 1) return;
  memcpy(outputs[0]->value, pin->source->value, sizeof outputs[0]->value);
}

void CBEMacroInput::Save(CStream* stream) {
  stream->WriteInt32(index);
  stream->WriteByte(outputCount > 0 ? outputs[0]->type : 0);
  CBEBlock::Save(stream);
}

bool CBEMacroInput::Load(CStream* stream) {
  int stored;
  unsigned char type;
  if (!ReadInt32Checked(stream, &stored) || !ReadByteChecked(stream, &type)) return false;
  if (!IsStoredPortType(type) || outputCount < 1) return false;
  index = stored;
  outputs[0]->type = (outputs[0]->type & ~0xFF) | type;
  return CBEBlock::Load(stream);
}

void CBEMacroInput::Draw(HDC dc) {
  const RECT& r = rect;
  POINT corners[5] = {{r.left, r.top}, {r.right - 7, r.top}, {r.right, r.top + 7},
                      {r.right - 7, r.bottom}, {r.left, r.bottom}};
  DrawMacroPort(dc, corners, fillColor, r.left, r.top, r.bottom, caption, r.left + 4, r.top + 1);
}
