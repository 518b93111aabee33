// The property dialogs of the interface devices: the line parameters of the
// class at the top, the two field lists of CInterfaceDeviceDlg below them.
// Each answers true after "OK" (the parameters, what depends on them and
// the fields written) and false, with the block untouched, otherwise.
#pragma once

class CBEBlock;

// The LAN adapter and the USB host: the field lists alone.
bool ShowLanDialog(CBEBlock* block);
// The COM port and the board's UART: speed, parity, stop bits, protocol.
bool ShowComPortDialog(CBEBlock* block);
// The microcontroller's UART: enabled, RS-485, speed, parity, stop bits,
// protocol.
bool ShowUartDialog(CBEBlock* block);
// The WiFi module: enabled, mode, SSID.
bool ShowWiFiDialog(CBEBlock* block);
// The SPI: mode, clock divider, polarity, clock edge, bit order.
bool ShowSpiDialog(CBEBlock* block);
// The TWI: mode, TWBR and TWPS.
bool ShowTwiDialog(CBEBlock* block);
