// The format word of serial packets: every packet passed over a UART line
// carries the line's settings, so that a receiver with other settings can
// tell it is not meant for it. Circuit parts and the serial blocks build it
// with the same function.
#pragma once

// Bit 30 marks the request-based protocol.
const int kSchUartProtocolFlag = 0x40000000;

// speed OR (frame bits << 16) OR (parity << 24), frame bits = 9 + stop bits
// (at most 2; 3 stands for one and a half and counts as 2) + 1 with a parity
// (0 none, 1 even, 2 odd). The speed is ORed in whole: 115200 sets bit 16 as
// well, and both sides of a line build the word alike.
int UartFormatWord(int speed, int stopBits, int parity);
