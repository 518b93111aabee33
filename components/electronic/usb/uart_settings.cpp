#include "components/electronic/usb/uart_settings.h"

#include "foundation/stream.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/uart_format.h"

const int kElecUartSpeeds[kElecUartSpeedCount] = {110, 300, 600, 1200, 2400, 9600, 11400, 19200, 38400, 56000, 57600, 115200};

namespace {

// 115200 does not fit the record's 16 bits; its low half stands for it.
const int kStoredFastSpeed = 0xC200;

}  // namespace

int UartSettings::ReceiveFormat() const {
  int f = UartFormatWord(speed, stopBits, parity);
  if (protocol == kElecUartRequestMaster) f |= kSchUartProtocolFlag;
  return f;
}

int UartSettings::SendFormat() const {
  int f = UartFormatWord(speed, stopBits, parity);
  if (protocol == kElecUartRequestSlave) f |= kSchUartProtocolFlag;
  return f;
}

void UartSettings::Save(CStream* s) const {
  const unsigned short low = static_cast<unsigned short>(speed & 0xFFFF);
  s->Write(&low, 2);
  s->WriteByte(static_cast<unsigned char>(stopBits));
  s->WriteByte(static_cast<unsigned char>(parity));
  s->WriteByte(static_cast<unsigned char>(protocol));
}

void UartSettings::Load(CStream* s) {
  unsigned short low = 0;
  s->Read(&low, 2);
  speed = low == kStoredFastSpeed ? 115200 : low;
  stopBits = static_cast<signed char>(s->ReadByte());
  parity = static_cast<signed char>(s->ReadByte());
  protocol = static_cast<signed char>(s->ReadByte());
}

void BridgeUartPackets(SchPacketSet* received, int receiveFormat, SchPacketSet* link, int sendFormat) {
  if (!link) return;
  if (received && received != link) {
    SchPacketSet mine;
    for (int i = 0; i < received->count; i++)
      if (received->packets[i]->format == receiveFormat) mine.Append(received->packets[i]);
    link->Merge(&mine);
    // The sender takes the link's newer packets; nothing of the sender's
    // goes back into the link beyond its packets of this format.
    SchPacketSet* copy = SchPacketSet::Clone(link);
    if (copy) {
      received->Merge(copy);
      delete copy;
    }
  }
  for (int i = 0; i < link->count; i++) link->packets[i]->format = sendFormat;
}
