#include "blocks/engine/output_pin.h"

#include <cstring>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"

BeOutputPin::~BeOutputPin() { Disconnect(); }

void BeOutputPin::Disconnect() {
  // A block made by its creator and not yet attached has no links to clear.
  if (!owner || !owner->scheme) return;
  for (CBEBlock* block = owner->scheme->blocks; block; block = block->next) {
    for (int i = 0; i < block->inputCount; ++i) {
      BeInputPin* input = block->inputs[i];
      if (input->source != this) continue;
      input->source = nullptr;
      if (block->GetClassId() == kBePortPinBlockClassId) block->OnInputDisconnected(input);
    }
  }
}

POINT BeOutputPin::GetPosition() const {
  return POINT{owner->rect.right, owner->rect.top + yOffset};
}

void BeOutputPin::SetInt(int v) { memcpy(value, &v, sizeof v); }
int BeOutputPin::GetInt() const {
  int v;
  memcpy(&v, value, sizeof v);
  return v;
}
void BeOutputPin::SetFloat(float v) { memcpy(value, &v, sizeof v); }
float BeOutputPin::GetFloat() const {
  float v;
  memcpy(&v, value, sizeof v);
  return v;
}
void BeOutputPin::SetDouble(double v) { memcpy(value, &v, sizeof v); }
double BeOutputPin::GetDouble() const {
  double v;
  memcpy(&v, value, sizeof v);
  return v;
}
