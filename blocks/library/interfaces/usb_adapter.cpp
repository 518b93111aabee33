#include "blocks/library/interfaces/usb_adapter.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "scheme/simulation/pin_model.h"

CBEBlock* CBEUSB::Create() { return new (std::nothrow) CBEUSB; }

int CBEUSB::NetKind() const { return kSchSourceUsbHost; }

bool CBEUSB::ShowProperties() { return ShowBlockDialog(this, kBeUSBClassId); }
