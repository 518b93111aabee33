#include "blocks/library/interfaces/gpio.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/device_owner.h"
#include "blocks/library/base_record.h"
#include "blocks/library/record_scan.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "foundation/plain_array.h"
#include "foundation/stream.h"
#include "scheme/model/block.h"
#include "scheme/simulation/pin_model.h"

namespace {
const float kDriveVolts = 3.3f;
const float kDriveOhms = 250.0f;
const double kDividerOhms = 100000.0;
const float kThresholdVolts = 1.5f;

// What an owner pin reads of its net; an unwired pin (or no owner) 0 V
// behind 5 MOhm.
void ReadPin(const CSCHBlock* owner, int pin, float* U, float* R) {
  *U = 0;
  *R = kSchOpenResistance;
  if (owner) owner->GetPinInput(pin, U, R);
}
}  // namespace

CBEGPIO::CBEGPIO() {
  flags |= kBeBlockDevice;
  fillColor = kHardwareFill;
  rect = RECT{0, 0, 150, kGpioMinHeight};
}

CBEGPIO::~CBEGPIO() {
  FreePinNames();
  FreeBuffer(directions);
  directions = nullptr;
}

CBEBlock* CBEGPIO::Create() { return new (std::nothrow) CBEGPIO; }

void CBEGPIO::FreePinNames() {
  for (int i = 0; i < inputCount; ++i) {
    FreeBuffer(const_cast<wchar_t*>(inputs[i]->name));
    inputs[i]->name = nullptr;
  }
  for (int i = 0; i < outputCount; ++i) {
    FreeBuffer(const_cast<wchar_t*>(outputs[i]->name));
    outputs[i]->name = nullptr;
  }
}

bool CBEGPIO::SetLineCount(int n) {
  if (n < 0 || n > kGpioMaxLines) return false;
  if (!ResizeSteppedArray(&directions, lineCount, n)) return false;
  // New lines are zeroed: read by the program.
  int was = lineCount;
  lineCount = n;
  if (BuildPins()) return true;
  lineCount = was;
  ResizeSteppedArray(&directions, n, was);
  BuildPins();
  return false;
}

bool CBEGPIO::BuildPins() {
  int driven = 0;
  for (int q = 0; q < lineCount; ++q)
    if (directions[q]) ++driven;
  const int read = lineCount - driven;
  const int wasInputs = inputCount;
  if (!SetInputCount(driven)) return false;
  if (!SetOutputCount(read)) {
    SetInputCount(wasInputs);
    return false;
  }
  FreePinNames();
  int height = kGpioLinePitch * lineCount;
  if (height < kGpioMinHeight) height = kGpioMinHeight;
  rect.bottom = rect.top + height;
  int in = 0, out = 0;
  for (int q = 0; q < lineCount; ++q) {
    wchar_t text[16];
    swprintf(text, 16, L"GPIO%d", q);
    // A name that could not be copied leaves the pin unnamed.
    wchar_t* name = DupString(text);
    int y = kGpioLinePitch * q + kGpioFirstLineY;
    if (directions[q]) {
      inputs[in]->name = name;
      inputs[in++]->yOffset = y;
    } else {
      outputs[out]->name = name;
      outputs[out++]->yOffset = y;
    }
  }
  return true;
}

void CBEGPIO::Step(float) {
  CSCHBlock* owner = GetOwnerComponent(this);
  float Ug, Rg;
  GetOwnerGround(this, &Ug, &Rg);
  int in = 0, out = 0;
  for (int q = 0; q < lineCount; ++q) {
    const int pin = firstPin + q;
    if (directions[q]) {
      BeInputPin* input = Input(in++);
      bool high = input && input->source && input->source->value[0] != 0;
      if (owner) owner->SetPinSource(pin, Ug + (high ? kDriveVolts : 0.0f), Rg + kDriveOhms);
    } else {
      BeOutputPin* output = Output(out++);
      float U, R;
      ReadPin(owner, pin, &U, &R);
      if (owner) owner->SetPinSource(pin, Ug, kSchOpenResistance);
      float v = RoundToFloat((static_cast<double>(U) - Ug) * kDividerOhms /
                             (static_cast<double>(Rg) + kDividerOhms + R));
      if (output) output->value[0] = v > kThresholdVolts ? 1 : 0;
    }
  }
}

void CBEGPIO::Save(CStream* stream) {
  stream->WriteByte(lineCount & 0xFF);
  stream->WriteInt16(firstPin & 0xFFFF);
  if (lineCount > 0) stream->Write(directions, lineCount);
  CBEBlock::Save(stream);
}

bool CBEGPIO::Load(CStream* stream) {
  unsigned char count, low, high;
  unsigned char stored[kGpioMaxLines];
  if (!ReadByteChecked(stream, &count) || !ReadByteChecked(stream, &low) || !ReadByteChecked(stream, &high) ||
      !ReadExact(stream, stored, count))
    return false;
  int driven = 0;
  for (int q = 0; q < count; ++q) {
    if (stored[q] > 1) return false;
    driven += stored[q];
  }
  if (!BaseRecordFollows(stream, driven, count - driven)) return false;
  // The record is whole: only memory can fail from here. Step never reads
  // past the pins the block has, whatever the lines say.
  if (!ResizeSteppedArray(&directions, lineCount, count)) return false;
  if (count > 0) memcpy(directions, stored, count);
  lineCount = count;
  firstPin = low | (high << 8);
  if (!BuildPins()) return false;
  return CBEBlock::Load(stream);
}

bool CBEGPIO::ShowProperties() { return ShowBlockDialog(this, kBeGPIOClassId); }
