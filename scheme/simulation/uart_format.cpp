#include "scheme/simulation/uart_format.h"

int UartFormatWord(int speed, int stopBits, int parity) {
  const int stop = stopBits > 2 ? 2 : stopBits;
  const int frameBits = 9 + stop + (parity != 0 ? 1 : 0);
  return UartFrameFormatWord(speed, frameBits, parity);
}

int UartFrameFormatWord(int speed, int frameBits, int parity) {
  // Shifted as unsigned: a frame or parity field from a damaged record must
  // not make the shift undefined.
  return static_cast<int>(static_cast<unsigned>(speed) | (static_cast<unsigned>(frameBits) << 16) |
                          (static_cast<unsigned>(parity) << 24));
}
