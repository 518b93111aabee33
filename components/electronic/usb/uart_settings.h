// What the USB-UART parts share: their four line settings with the format
// words built from them, the settings' place in the record and the bridging
// of packets between a UART line and a USB link (the settings form:
// uart_settings_form.h).
#pragma once

class CStream;
class SchPacketSet;

// Protocols.
const int kElecUartAsynchronous = 0;
const int kElecUartRequestMaster = 1;
const int kElecUartRequestSlave = 2;

// The speeds the settings form offers ("11400", not 14400; no 4800).
const int kElecUartSpeedCount = 12;
extern const int kElecUartSpeeds[kElecUartSpeedCount];

struct UartSettings {
  int speed = 115200;            // baud
  signed char stopBits = 1;      // 1, 2, or 3 for one and a half
  signed char parity = 0;        // 0 none, 1 even, 2 odd
  signed char protocol = kElecUartAsynchronous;

  // The format expected of packets received on the UART line (bit 30 with
  // the request-based master) and the one stamped on the packets sent out
  // on it (bit 30 with the request-based slave).
  int ReceiveFormat() const;
  int SendFormat() const;

  // Speed (low 16 bits), stop bits, parity, protocol: 5 bytes. Load reads
  // the speed into a cleared field; the stored 0xC200 stands for 115200.
  void Save(CStream* stream) const;
  void Load(CStream* stream);
};

// Passes data between a UART line and a USB link. The packets of received
// (the UART sender's set, may be null) whose format is receiveFormat are
// merged into link, and the sender's set takes link's newer packets; the
// sender's packets of other formats are skipped, never removed, so that
// another receiver on the line still finds them. Then every packet of link
// gets sendFormat. Nothing for a null link.
void BridgeUartPackets(SchPacketSet* received, int receiveFormat, SchPacketSet* link, int sendFormat);
