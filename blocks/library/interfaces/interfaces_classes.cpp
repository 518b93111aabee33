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
    {kBeCOMPortClassId, CBECOMPort::Create}, {kBeBoardUARTClassId, CBEBoardUART::Create},
    {kBeLANClassId, CBELAN::Create},         {kBeUSBClassId, CBEUSB::Create},
    {kBeWiFiClassId, CBEWiFi::Create},       {kBeGPIOClassId, CBEGPIO::Create},
    {kBeLPTClassId, CBELPT::Create},         {kBeAudioInClassId, CBEAudioIn::Create},
    {kBeDynamicsClassId, CBEDynamics::Create},
};
const int kInterfaceClassRowCount = sizeof(kInterfaceClassRows) / sizeof(kInterfaceClassRows[0]);

const BeDeviceEntryRow kBoardComputerDeviceRows[] = {
    {kBeCOMPortClassId, L"COM-порт"}, {kBeBoardUARTClassId, L"UART"}, {kBeLANClassId, L"LAN-адаптер"},
    {kBeUSBClassId, L"USB-host"},     {kBeWiFiClassId, L"WiFi-модуль"}, {kBeGPIOClassId, L"GPIO"},
    {kBeLPTClassId, L"LPT"},          {kBeAudioInClassId, L"AudioIn"},
};
const int kBoardComputerDeviceRowCount = sizeof(kBoardComputerDeviceRows) / sizeof(kBoardComputerDeviceRows[0]);

const BeDeviceEntryRow kPultComputerDeviceRows[] = {
    {kBeLANClassId, L"LAN-адаптер"},
    {kBeUSBClassId, L"USB-host"},
    {kBeWiFiClassId, L"WiFi-модуль"},
    {kBeDynamicsClassId, L"Аудио-система"},
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
