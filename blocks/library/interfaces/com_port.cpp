#include "blocks/library/interfaces/com_port.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/device_owner.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "scheme/model/block.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"
#include "scheme/simulation/uart_format.h"

namespace {

// The level across the receiver: U above ground through the source's and
// the ground's resistances into the receiver's, rounded to float so that
// both widths decide a threshold alike.
float AcrossReceiver(float U, float R, float Ug, float Rg, float receiver) {
  double volts = static_cast<double>(U) - Ug;
  return RoundToFloat(volts * receiver / (static_cast<double>(receiver) + Rg + R));
}

}  // namespace

CBECOMPort::CBECOMPort() : CBEInterfaceDevice(0, 0, true, true) {
  enabled = 1;
  flags |= kBeBlockDevice;
  rect.bottom = rect.top + kPortHeight;
  fillColor = kPortFill;
  UpdateLineFormat();
}

CBECOMPort::~CBECOMPort() {
  // A port deleted during a run takes its line's data off the net, so that
  // no net keeps a source that no longer exists.
  CSCHBlock* owner = GetOwnerComponent(this);
  const int td = pinIndex + 1;
  if (owner && td >= 0 && td < owner->pinCount) {
    SchPin& pin = owner->pins[td];
    if (pin.net && pin.net->source == &signalSource) {
      pin.net->source = nullptr;
      pin.net->sourceKind = kSchSourceOwnWeight;
    }
    if (pin.source == &signalSource) {
      pin.source = nullptr;
      pin.sourceKind = kSchSourceOwnWeight;
    }
  }
  FreeBuffer(rdName);
  FreeBuffer(tdName);
  FreeBuffer(gndName);
}

CBEBlock* CBECOMPort::Create() { return new (std::nothrow) CBECOMPort; }

void CBECOMPort::UpdateLineFormat() {
  unsigned int word = static_cast<unsigned int>(UartFrameFormatWord(speed, bitsPerByte, parity));
  receiveFormat = word;
  sendFormat = word;
  if (protocol == kComMaster) receiveFormat |= kSchUartProtocolFlag;
  if (protocol == kComSlave) sendFormat |= kSchUartProtocolFlag;
}

bool CBECOMPort::SetPinNames(const wchar_t* rd, const wchar_t* td, const wchar_t* gnd) {
  ReplaceString(&rdName, rd);
  ReplaceString(&tdName, td);
  ReplaceString(&gndName, gnd);
  return (!rd || rdName) && (!td || tdName) && (!gnd || gndName);
}

void CBECOMPort::Step(float dt) { StepLine(dt, kRs232Levels); }

void CBECOMPort::StepLine(float dt, const SerialLineLevels& line) {
  CSCHBlock* owner = GetOwnerComponent(this);
  if (!owner) {
    // No unit: every pin reads as unwired, so nothing arrives.
    incoming = nullptr;
    CBEInterfaceDevice::Step(dt);
    return;
  }
  const int rd = pinIndex, td = pinIndex + 1, gnd = pinIndex + 2;
  float Ug, Rg;
  owner->GetPinInput(gnd, &Ug, &Rg);
  SchPinState S = {};
  owner->GetPinState(rd, &S);
  float a = AcrossReceiver(S.U, S.R, Ug, Rg, line.receiverOhms);
  float b = AcrossReceiver(S.U2, S.R2, Ug, Rg, line.receiverOhms);
  bool levelsPass = line.idleHigh ? (a > line.threshold && b < line.threshold)
                                   : (a < -line.threshold && b > line.threshold);
  incoming = levelsPass && S.sourceKind == kSchSourceSerial ? S.source : nullptr;
  owner->SetPinSource(rd, Ug, Rg + line.receiverOhms);
  owner->SetPinSource(gnd, S.U, S.R + line.receiverOhms);

  CBEInterfaceDevice::Step(dt);

  SchPinState out = {};
  out.U = Ug + line.idleVolts;
  out.R = Rg + line.driverOhms;
  out.U2 = Ug + line.activeVolts;
  out.R2 = Rg + line.driverOhms;
  out.sourceKind = kSchSourceSerial;
  out.source = &signalSource;
  owner->SetPinState(td, out);
}

void CBECOMPort::Save(CStream* stream) {
  stream->WriteInt32(speed);
  stream->WriteByte(bitsPerByte & 0xFF);
  stream->WriteByte(parity);
  stream->WriteByte(stopBits);
  stream->WriteInt16(pinIndex & 0xFFFF);
  stream->WriteByte(protocol);
  CBEInterfaceDevice::Save(stream);
}

bool CBECOMPort::Load(CStream* stream) {
  int storedSpeed;
  unsigned char bits, storedParity, stop, pinLow, pinHigh, storedProtocol;
  if (!ReadInt32Checked(stream, &storedSpeed) || !ReadByteChecked(stream, &bits) ||
      !ReadByteChecked(stream, &storedParity) || storedParity > kComMaxParity ||
      !ReadByteChecked(stream, &stop) || stop < 1 || stop > kComMaxStopBits ||
      !ReadByteChecked(stream, &pinLow) || !ReadByteChecked(stream, &pinHigh) ||
      !ReadByteChecked(stream, &storedProtocol) || storedProtocol > kComSlave ||
      !InterfaceRecordReadable(stream))
    return false;
  speed = storedSpeed;
  bitsPerByte = bits;
  parity = storedParity;
  stopBits = stop;
  pinIndex = pinLow | (pinHigh << 8);
  protocol = storedProtocol;
  UpdateLineFormat();
  return CBEInterfaceDevice::Load(stream);
}

bool CBECOMPort::ShowProperties() { return ShowBlockDialog(this, kBeCOMPortClassId); }
