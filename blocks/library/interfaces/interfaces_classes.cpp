#include "blocks/library/interfaces/interfaces_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/library/interfaces/audio_in.h"
#include "blocks/library/interfaces/board_uart.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/dynamics.h"
#include "blocks/library/interfaces/gpio.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/interfaces/lpt.h"
#include "blocks/library/interfaces/usb_adapter.h"
#include "blocks/library/interfaces/wifi_module.h"

const BeLibraryClassRow kInterfaceClassRows[] = {
    {kCOMPortClassId, CBECOMPort::Create}, {kBoardUARTClassId, CBEBoardUART::Create},
    {kLANClassId, CBELAN::Create},         {kUSBClassId, CBEUSB::Create},
    {kWiFiClassId, CBEWiFi::Create},       {kGPIOClassId, CBEGPIO::Create},
    {kLPTClassId, CBELPT::Create},         {kAudioInClassId, CBEAudioIn::Create},
    {kDynamicsClassId, CBEDynamics::Create},
};
const int kInterfaceClassRowCount = sizeof(kInterfaceClassRows) / sizeof(kInterfaceClassRows[0]);

const BeDeviceEntryRow kBoardComputerDeviceRows[] = {
    {kCOMPortClassId, L"COM-порт"}, {kBoardUARTClassId, L"UART"}, {kLANClassId, L"LAN-адаптер"},
    {kUSBClassId, L"USB-host"},     {kWiFiClassId, L"WiFi-модуль"}, {kGPIOClassId, L"GPIO"},
    {kLPTClassId, L"LPT"},          {kAudioInClassId, L"AudioIn"},
};
const int kBoardComputerDeviceRowCount = sizeof(kBoardComputerDeviceRows) / sizeof(kBoardComputerDeviceRows[0]);

const BeDeviceEntryRow kPultComputerDeviceRows[] = {
    {kLANClassId, L"LAN-адаптер"},
    {kUSBClassId, L"USB-host"},
    {kWiFiClassId, L"WiFi-модуль"},
    {kDynamicsClassId, L"Аудио-система"},
};
const int kPultComputerDeviceRowCount = sizeof(kPultComputerDeviceRows) / sizeof(kPultComputerDeviceRows[0]);

bool AddDeviceEntries(BeCatalogueGroup* group, const BeDeviceEntryRow* rows, int count,
                      const BeBlockCreatorTable& creators) {
  if (!group || (!rows && count > 0)) return false;
  for (int i = 0; i < count; ++i) {
    BeBlockCreator creator = creators.Find(rows[i].classId);
    if (!creator) continue;
    bool held = false;
    for (int k = 0; k < group->entryCount && !held; ++k) held = group->Entry(k)->classId == rows[i].classId;
    if (held) continue;
    if (!group->AddEntry(rows[i].classId, creator, rows[i].caption, nullptr)) return false;
  }
  return true;
}
