#include "blocks/library/mcu/spi.h"

#include <cmath>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/line_value.h"
#include "blocks/library/mcu/port_binding.h"
#include "blocks/library/mcu/pulse_clock.h"
#include "foundation/stream.h"

namespace {
const COLORREF kFill = 0xE0E0E0;

struct PortRow {
  const wchar_t* text;  // what the pin block's caption holds
  bool input;           // a pin the peripheral reads (else one it drives)
  int pin;              // the peripheral's input or output
  McuPinBinding binding;
};

const PortRow kMasterRows[] = {
    {L"MISO", true, 0, {-100, -6, CBEIOPort::kModeAltInput, -20, kMcuLineSpi, 0, false}},
    {L"MOSI", false, 0, {100, -16, CBEIOPort::kModeAltOutput, 20, kMcuLineSpi, -1, false}},
    {L"SCK", false, 1, {100, -6, CBEIOPort::kModeAltOutput, 20, kMcuLineSck, -1, false}},
};
const PortRow kSlaveRows[] = {
    {L"MOSI", true, 0, {-100, -26, CBEIOPort::kModeAltInput, -20, kMcuLineSpi, 0, false}},
    {L"SCK", true, 1, {-100, -16, CBEIOPort::kModeAltInput, -25, kMcuLineSck, 0, false}},
    {L"SS", true, 2, {-100, -6, CBEIOPort::kModeAltInput, -30, kBeSignalBit, 1, false}},
    {L"MISO", false, 0, {100, -16, CBEIOPort::kModeAltOutput, 20, kMcuLineSpi, -1, false}},
};

// v truncated to a whole speed; 0 for what is not a positive number.
int WholeSpeed(double v) {
  if (!(v > 0)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  return static_cast<int>(std::trunc(v));
}
}  // namespace

CBESPI::CBESPI() : CBEInterfaceDevice(3, 2, true, true) {
  flags |= kBeBlockDevice;
  rect = RECT{0, 0, 120, 60};
  fillColor = kFill;
  SpreadInputs();
  SpreadOutputs();
  static const wchar_t* const kInputNames[3] = {L"MISO", L"SCK", L"SS"};
  static const BeSignalType kInputTypes[3] = {kMcuLineSpi, kMcuLineSck, kMcuLineSpi};
  for (int i = 0; i < 3 && i < inputCount; ++i) {
    inputs[i]->name = kInputNames[i];
    inputs[i]->type = kInputTypes[i];
  }
  static const wchar_t* const kOutputNames[2] = {L"MOSI", L"SCK"};
  static const BeSignalType kOutputTypes[2] = {kMcuLineSpi, kMcuLineSck};
  for (int i = 0; i < 2 && i < outputCount; ++i) {
    outputs[i]->name = kOutputNames[i];
    outputs[i]->type = kOutputTypes[i];
    outputs[i]->hardware = 1;
  }
}

CBEBlock* CBESPI::Create() { return new (std::nothrow) CBESPI; }

void CBESPI::UpdateLineFormat() {
  bitsPerByte = 9;
  speed = WholeSpeed(static_cast<double>(ProcessorFrequency(this)) / std::ldexp(1.0, divider + 1));
  sendFormat = mode + (inversePolarity ? 0x10u : 0u) + (inverseEdge ? 0x20u : 0u) + (inverseBitOrder ? 0x40u : 0u);
  receiveFormat = sendFormat ^ 3u;
}

void CBESPI::AttachToScheme(BeScheme* newScheme) {
  CBEInterfaceDevice::AttachToScheme(newScheme);
  UpdateLineFormat();
}

CBEIOPort* CBESPI::FindDataOutPort() const {
  if (!scheme || outputCount < 1) return nullptr;
  for (CBEIOPort* p = static_cast<CBEIOPort*>(scheme->portBlocks); p; p = p->nextPort)
    if (p->inputCount > 0 && p->inputs[0]->source == outputs[0]) return p;
  return nullptr;
}

void CBESPI::BindPins() {
  if (inputCount < 3 || outputCount < 2) return;
  for (int i = 0; i < 3; ++i) ReleaseInputPort(inputs[i], true, true);
  ReleaseOutputPort(scheme, outputs[0]);
  ReleaseOutputPort(scheme, outputs[1]);
  const PortRow* rows = mode == kMaster ? kMasterRows : mode == kSlave ? kSlaveRows : nullptr;
  const int count = mode == kMaster ? 3 : mode == kSlave ? 4 : 0;
  for (int r = 0; r < count; ++r) {
    CBEIOPort* port = CBEIOPort::Find(scheme, rows[r].text);
    if (rows[r].input) BindPortToInput(port, inputs[rows[r].pin], rows[r].binding);
    else BindPortToOutput(port, outputs[rows[r].pin], rows[r].binding);
  }
}

void CBESPI::Start() {
  CBEInterfaceDevice::Start();
  dataOut = FindDataOutPort();
}

void CBESPI::Step(float dt) {
  if (inputCount < 3 || outputCount < 2) return;
  if (mode == kMaster) {
    outputs[1]->type = kMcuLineSck;
    enabled = 1;
  } else if (mode == kSlave) {
    enabled = 0;
    // Looked up again: the block named at Start may have gone since.
    dataOut = FindDataOutPort();
    if (!dataOut || !inputs[0]->source || !inputs[1]->source || !inputs[2]->source) return;
    dataOut->mode = CBEIOPort::kModeAltReleased;
    if (inputs[1]->source->type != kMcuLineSck || inputs[2]->source->value[0] != 0) return;
    dataOut->mode = CBEIOPort::kModeAltOutput;
    enabled = 1;
  } else {
    return;
  }
  incoming = nullptr;
  const BeOutputPin* in = inputs[0]->source;
  if (in && in->type == kMcuLineSpi && LinePacketsOf(in->value)) incoming = LineSourceOf(in->value);
  CBEInterfaceDevice::Step(dt);
  outputs[0]->type = kMcuLineSpi;
  PutLineSource(outputs[0]->value, &signalSource, this, &lineHandle);
}

void CBESPI::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"SPI");
}

void CBESPI::Save(CStream* stream) {
  stream->WriteByte(mode);
  stream->WriteByte(inversePolarity);
  stream->WriteByte(inverseEdge);
  stream->WriteByte(inverseBitOrder);
  stream->WriteByte(divider);
  CBEInterfaceDevice::Save(stream);
}

bool CBESPI::Load(CStream* stream) {
  unsigned char m, pol, edge, order, div;
  if (!ReadByteChecked(stream, &m) || m > kSlave || !ReadByteChecked(stream, &pol) ||
      !ReadByteChecked(stream, &edge) || !ReadByteChecked(stream, &order) || !ReadByteChecked(stream, &div) ||
      div > kLastDivider || !InterfaceRecordReadable(stream))
    return false;
  mode = m;
  inversePolarity = pol;
  inverseEdge = edge;
  inverseBitOrder = order;
  divider = div;
  bool ok = CBEInterfaceDevice::Load(stream);
  UpdateLineFormat();
  return ok;
}

bool CBESPI::ShowProperties() { return ShowBlockDialog(this, kBeAvrSPIClassId); }
