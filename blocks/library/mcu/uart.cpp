#include "blocks/library/mcu/uart.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/line_value.h"
#include "blocks/library/mcu/port_binding.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "foundation/stream.h"
#include "scheme/simulation/uart_format.h"

const int BeUartSpeedTable[kBeUartSpeedCount] = {115200, 57600, 56000, 38400, 19200, 11400,
                                                 9600,   2400,  1200,  600,   300,   110};

namespace {
const COLORREF kFill = 0xE0E0E0;
const int kHeight = 20;
const int kCycles = 10;
const int kRom = 100;
const unsigned char kFlagEnabled = 0x01;
const unsigned char kFlagRs485 = 0x02;
const unsigned char kMaxParity = 2;
const wchar_t* const kDirName = L"dir485";
const wchar_t* const kDirHint = L"Направление передачи данных по RS-485. Вывести на любой выход";
// Bindings of the line pins: RX read at (x - 90, y - 6), TX driven at
// (x + 90, y - 6).
const McuPinBinding kRxBinding = {-90, -6, CBEIOPort::kModeAltInput, -60, kMcuLineRs232, -1, true};
const McuPinBinding kTxBinding = {90, -6, CBEIOPort::kModeAltOutput, 60, -1, -1, false};
}  // namespace

CBEUART::CBEUART() : CBEInterfaceDevice(1, 1, true, true) {
  fillColor = kFill;
  enabled = 0;
  flags |= kBeBlockDevice;
  rect.bottom = rect.top + kHeight;
  SpreadInputs();
  SpreadOutputs();
  if (inputCount > 0) {
    inputs[0]->name = L"RXD";
    inputs[0]->type = kMcuLineRs232;
  }
  if (outputCount > 0) {
    outputs[0]->name = L"TXD";
    outputs[0]->type = kMcuLineRs232;
  }
  cycles = kCycles;
  rom = kRom;
  SetSpeedIndex(0);
  UpdateLineFormat();
}

CBEBlock* CBEUART::Create() { return new (std::nothrow) CBEUART; }

void CBEUART::UpdateCaption() {
  if (number >= 128) {
    SetCaption(L"UART");
    return;
  }
  wchar_t text[16];
  swprintf(text, 16, L"UART%d", number);
  SetCaption(text);
}

void CBEUART::UpdateLineFormat() {
  unsigned int word = static_cast<unsigned int>(UartFrameFormatWord(speed, bitsPerByte, parity));
  receiveFormat = word;
  sendFormat = word;
  if (protocol == kRequestMaster) receiveFormat |= kSchUartProtocolFlag;
  if (protocol == kRequestSlave) sendFormat |= kSchUartProtocolFlag;
}

void CBEUART::SetSpeedIndex(int index) {
  if (index < 0) index = 0;
  if (index >= kBeUartSpeedCount) index = kBeUartSpeedCount - 1;
  speedIndex = static_cast<unsigned char>(index);
  speed = BeUartSpeedTable[index];
}

void CBEUART::RxName(wchar_t* name, int size) const {
  if (number < 128) swprintf(name, size, L"RXD%d", number);
  else swprintf(name, size, L"RXD");
}

void CBEUART::TxName(wchar_t* name, int size) const {
  if (number < 128) swprintf(name, size, L"TXD%d", number);
  else swprintf(name, size, L"TXD");
}

bool CBEUART::SetRs485(bool on) { return ApplyRs485(on); }

bool CBEUART::ApplyRs485(bool on) {
  if ((rs485 != 0) == on) return true;
  const int m = ReceiveFieldCount();
  if (on) {
    if (m == 0) {
      if (!SetOutputCount(2)) return false;
    } else {
      // The first received field becomes the direction output; a smaller
      // block that cannot be had leaves the larger one in use.
      memmove(receiveChannels, receiveChannels + 1, m - 1);
      ResizeSteppedArray(&receiveChannels, m, m - 1);
      FreeBuffer(const_cast<wchar_t*>(outputs[1]->name));
    }
    for (int i = 1; i < outputCount; ++i) outputs[i]->Disconnect();
    fixedOutputs = 2;
    outputs[1]->name = kDirName;
    outputs[1]->description = kDirHint;
    outputs[1]->type = kBeSignalBit;
    memset(outputs[1]->value, 0, sizeof outputs[1]->value);
  } else {
    if (!ResizeSteppedArray(&receiveChannels, m, m + 1)) return false;
    memmove(receiveChannels + 1, receiveChannels, m);
    receiveChannels[0] = 0;
    for (int i = 1; i < outputCount; ++i) outputs[i]->Disconnect();
    outputs[1]->name = nullptr;
    outputs[1]->description = nullptr;
    fixedOutputs = 1;
  }
  rs485 = on ? 1 : 0;
  // The same count again: only the height and the pins' places follow.
  SetReceiveFieldCount(ReceiveFieldCount());
  return true;
}

void CBEUART::BindPins() {
  wchar_t rx[16], tx[16];
  RxName(rx, 16);
  TxName(tx, 16);
  if (inputCount < 1 || outputCount < 1) return;
  if (enabled) {
    BindPortToInput(CBEIOPort::Find(scheme, rx), inputs[0], kRxBinding);
    CBEIOPort* port = CBEIOPort::Find(scheme, tx);
    if (port) {
      outputs[0]->hardware = 1;
      BindPortToOutput(port, outputs[0], kTxBinding);
    }
    return;
  }
  ReleaseInputPort(inputs[0], false, true);
  CBEIOPort* port = CBEIOPort::Find(scheme, tx);
  if (port) port->SetMode(CBEIOPort::kModeInput);
  outputs[0]->hardware = 0;
}

void CBEUART::Step(float dt) {
  if (!enabled) return;
  incoming = nullptr;
  const BeOutputPin* rx = inputCount > 0 ? inputs[0]->source : nullptr;
  if (rx && rx->type == kMcuLineRs232) incoming = LineSourceOf(rx->value);
  CBEInterfaceDevice::Step(dt);
  if (outputCount > 0) PutLineSource(outputs[0]->value, &signalSource, this, &lineHandle);
  if (rs485 && outputCount > 1) outputs[1]->value[0] = sending;
}

void CBEUART::Save(CStream* stream) {
  unsigned char bits = (enabled ? kFlagEnabled : 0) | (rs485 ? kFlagRs485 : 0);
  stream->WriteByte(bits);
  stream->WriteByte(number);
  stream->WriteByte(speedIndex);
  stream->WriteByte(static_cast<unsigned char>(bitsPerByte & 0xFF));
  stream->WriteByte(parity);
  stream->WriteByte(protocol);
  CBEInterfaceDevice::Save(stream);
}

bool CBEUART::Load(CStream* stream) {
  unsigned char bits, storedNumber, index, frameBits, storedParity, storedProtocol;
  if (!ReadByteChecked(stream, &bits) || !ReadByteChecked(stream, &storedNumber) ||
      !ReadByteChecked(stream, &index) || !ReadByteChecked(stream, &frameBits) ||
      !ReadByteChecked(stream, &storedParity) || storedParity > kMaxParity ||
      !ReadByteChecked(stream, &storedProtocol) || storedProtocol > kRequestSlave)
    return false;
  const bool withDir = (bits & kFlagRs485) != 0;
  // The interface part is measured with the fixed outputs it will have.
  const unsigned char fixedNow = fixedOutputs;
  fixedOutputs = withDir ? 2 : 1;
  bool readable = InterfaceRecordReadable(stream);
  fixedOutputs = fixedNow;
  if (!readable || !ApplyRs485(withDir)) return false;
  enabled = (bits & kFlagEnabled) ? 1 : 0;
  number = storedNumber;
  SetSpeedIndex(index);
  bitsPerByte = frameBits;
  parity = storedParity;
  protocol = storedProtocol;
  UpdateLineFormat();
  return CBEInterfaceDevice::Load(stream);
}

bool CBEUART::ShowProperties() { return ShowBlockDialog(this, kBeAvrUARTClassId); }
