#include "blocks/library/mcu/twi.h"

#include <cmath>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/line_value.h"
#include "blocks/library/mcu/port_binding.h"
#include "blocks/library/mcu/pulse_clock.h"
#include "foundation/stream.h"
#include "scheme/simulation/packet_set.h"

namespace {
const COLORREF kFill = 0xE0E0E0;
const McuPinBinding kSdaBinding = {-100, -16, CBEIOPort::kModeBus, -20, kMcuLineSda, 0, false};
}  // namespace

CBETWI::CBETWI() : CBEInterfaceDevice(2, 0, true, true) {
  bitsPerByte = 16;
  flags |= kBeBlockDevice;
  rect = RECT{0, 0, 120, 40};
  fillColor = kFill;
  SpreadInputs();
  if (inputCount > 1) {
    inputs[0]->name = L"SDA";
    inputs[0]->type = kMcuLineSda;
    inputs[1]->name = L"SCL";
    inputs[1]->type = kMcuLineScl;
  }
}

CBEBlock* CBETWI::Create() { return new (std::nothrow) CBETWI; }

void CBETWI::UpdateBitRate() {
  double divisor = 16.0 + 2.0 * twbr * std::ldexp(1.0, 2 * twps);
  double v = static_cast<double>(ProcessorFrequency(this)) / divisor;
  speed = !(v > 0) ? 0 : v >= 2147483647.0 ? 2147483647 : static_cast<int>(std::trunc(v));
}

void CBETWI::AttachToScheme(BeScheme* newScheme) {
  CBEInterfaceDevice::AttachToScheme(newScheme);
  UpdateBitRate();
}

void CBETWI::BindPins() {
  if (inputCount < 2) return;
  if (mode == kOff) {
    ReleaseInputPort(inputs[0], true, true);
    ReleaseInputPort(inputs[1], true, true);
    return;
  }
  McuPinBinding scl = {-100, -6, mode == kMaster ? CBEIOPort::kModeBus : CBEIOPort::kModeAltInput, -20,
                       kMcuLineScl, 0, false};
  BindPortToInput(CBEIOPort::Find(scheme, L"SDA"), inputs[0], kSdaBinding);
  BindPortToInput(CBEIOPort::Find(scheme, L"SCL"), inputs[1], scl);
}

void CBETWI::Start() {
  if (mode != kOff && inputCount > 1 && inputs[0]->source && inputs[1]->source) {
    inputs[0]->source->type = kMcuLineSda;
    enabled = 1;
  }
  CBEInterfaceDevice::Start();
}

void CBETWI::Step(float dt) {
  if (mode == kOff || inputCount < 2 || !inputs[0]->source || !inputs[1]->source) return;
  BeOutputPin* scl = inputs[1]->source;
  if (mode == kMaster) scl->type = kMcuLineScl;
  else if (scl->type != kMcuLineScl) return;
  SchSignalSource* line = LineSourceOf(inputs[0]->source->value);
  incoming = line && line->packets ? line : nullptr;
  CBEInterfaceDevice::Step(dt);
  if (incoming && signalSource.packets && incoming->packets != signalSource.packets)
    signalSource.packets->Merge(incoming->packets);
}

void CBETWI::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"TWI");
}

void CBETWI::Save(CStream* stream) {
  stream->WriteByte(mode);
  stream->WriteByte(twbr);
  stream->WriteByte(twps);
  CBEInterfaceDevice::Save(stream);
}

bool CBETWI::Load(CStream* stream) {
  unsigned char m, rate, scale;
  if (!ReadByteChecked(stream, &m) || m > kSlave || !ReadByteChecked(stream, &rate) ||
      !ReadByteChecked(stream, &scale) || scale > kLastPrescaler || !InterfaceRecordReadable(stream))
    return false;
  mode = m;
  twbr = rate;
  twps = scale;
  bool ok = CBEInterfaceDevice::Load(stream);
  UpdateBitRate();
  return ok;
}

bool CBETWI::ShowProperties() { return ShowBlockDialog(this, kBeAvrTWIClassId); }
