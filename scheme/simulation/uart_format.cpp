#include "scheme/simulation/uart_format.h"

int UartFormatWord(int speed, int stopBits, int parity) {
  const int stop = stopBits > 2 ? 2 : stopBits;
  const int frameBits = 9 + stop + (parity != 0 ? 1 : 0);
  return speed | (frameBits << 16) | (parity << 24);
}
