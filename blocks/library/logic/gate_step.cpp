#include "blocks/library/logic/gate_step.h"

#include <cstring>

#include "blocks/engine/block.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/logic/mask_cell.h"
#include "blocks/library/scalar_value.h"

void WriteBitOutput(BeOutputPin* output, int bit) {
  output->type = kBeSignalBit;
  memset(output->value, 0, sizeof output->value);
  output->value[0] = static_cast<unsigned char>(bit);
}

void StepGateBits(CBEBlock* block, bool orGate) {
  if (block->outputCount < 1) return;
  BeOutputPin* out = block->outputs[0];
  const int decided = orGate ? 1 : 0;
  bool passed = false;
  for (int i = 0; i < block->inputCount; ++i) {
    const BeOutputPin* source = block->inputs[i]->source;
    if (!source) continue;
    if (source->type == kBeSignalBit) {
      if ((source->value[0] != 0) == orGate) {
        WriteBitOutput(out, decided);
        return;
      }
    } else if (!passed) {
      out->type = source->type;
      // The source may be this very output.
      memmove(out->value, source->value, sizeof out->value);
      passed = true;
    } else {
      WriteBitOutput(out, decided);
      return;
    }
  }
  if (!passed) WriteBitOutput(out, 1 - decided);
}

void StepGateIntegers(CBEBlock* block, bool orGate) {
  if (block->outputCount < 1) return;
  uint32_t bits = orGate ? 0u : 0xFFFFFFFFu;
  for (int i = 0; i < block->inputCount; ++i) {
    const BeOutputPin* source = block->inputs[i]->source;
    if (!source || !IsIntegerDataType(source->type)) continue;
    uint32_t x = static_cast<uint32_t>(ReadIntegerValue(source->value, source->type));
    bits = orGate ? bits | x : bits & x;
  }
  WriteIntegerValue(block->outputs[0]->value, kBeSignalInt, bits);
}

void RestoreGateOutput(CBEBlock* block) {
  if (block->inputCount < 1 || block->outputCount < 1) return;
  BeOutputPin* out = block->outputs[0];
  if (out->type == block->inputs[0]->type) return;
  out->type = block->inputs[0]->type;
  memset(out->value, 0, sizeof out->value);
}

void SizeGatePins(CBEBlock* block) {
  int n = block->inputCount;
  block->rect.bottom = block->rect.top + kGateInputPitch * n;
  block->SetInputCount(n);
  block->SetOutputCount(block->outputCount);
  if (n < 1) return;
  for (int i = 1; i < n; ++i) block->inputs[i]->type = block->inputs[0]->type;
}
