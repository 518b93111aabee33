#include "blocks/library/typed_block.h"

#include "blocks/engine/block.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/scalar_value.h"
#include "foundation/stream.h"

namespace {
// A base record's fixed part: rectangle, an empty caption, flags; then each
// input's link and route, each output's identity and hardware byte.
const int kBaseFixedBytes = 16 + 2 + 1;
const int kBaseInputBytes = 16;
const int kBaseOutputBytes = 5;
}  // namespace

void SetPinTypes(CBEBlock* block, BeSignalType type) {
  for (int i = 0; i < block->inputCount; ++i) block->inputs[i]->type = type;
  for (int i = 0; i < block->outputCount; ++i) block->outputs[i]->type = type;
}

void ChangeInputType(BeInputPin* input, BeSignalType type) {
  if (!input) return;
  if (input->type != type) input->source = nullptr;
  input->type = type;
}

void ChangeOutputType(BeOutputPin* output, BeSignalType type) {
  if (!output) return;
  if (output->type != type) output->Disconnect();
  output->type = type;
}

void ChangeBlockType(CBEBlock* block, BeSignalType type) {
  for (int i = 0; i < block->inputCount; ++i) ChangeInputType(block->inputs[i], type);
  for (int i = 0; i < block->outputCount; ++i) ChangeOutputType(block->outputs[i], type);
}

bool ReadDataTypeByte(CStream* stream, BeSignalType* type) {
  unsigned char code;
  if (!ReadByteChecked(stream, &code) || !IsScalarDataType(code)) return false;
  *type = code;
  return true;
}

bool BaseRecordCanFollow(CStream* stream, int inputCount, int outputCount) {
  long long need = kBaseFixedBytes + static_cast<long long>(kBaseInputBytes) * inputCount +
                   static_cast<long long>(kBaseOutputBytes) * outputCount;
  return BytesLeft(stream) >= need;
}

bool LoadBaseWithType(CBEBlock* block, CStream* stream, BeSignalType type, BeSignalType was) {
  SetPinTypes(block, type);
  if (block->CBEBlock::Load(stream)) return true;
  SetPinTypes(block, was);
  return false;
}

void ApplyTypeCost(CBEBlock* block, const BeTypeCost* costs, BeSignalType type, bool setsShared) {
  if (!IsScalarDataType(type)) return;
  const BeTypeCost& row = costs[type - kBeSignalChar];
  block->cycles = row.cycles;
  block->rom = row.rom;
  if (setsShared) block->sharedRoutine = row.shared ? 1 : 0;
}
