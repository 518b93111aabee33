// How the interface devices join the program and their units: the library's
// creators, the hidden entries of the computers' catalogues, the lookup
// that makes a unit's device blocks, what a block asks of its unit, and
// the property dialogs.
#include <vector>

#include "block_kit.h"
#include "blocks/library/device_owner.h"
#include "blocks/library/interfaces/audio_in.h"
#include "blocks/library/interfaces/board_uart.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/dynamics.h"
#include "blocks/library/interfaces/gpio.h"
#include "blocks/library/interfaces/interfaces_classes.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/interfaces/lpt.h"
#include "blocks/library/interfaces/usb_adapter.h"
#include "blocks/library/interfaces/wifi_module.h"
#include "foundation/buffer_failure_scope.h"

namespace {

using blocktest::Bench;

template <class T>
bool Is(CBEBlock* block) {
  return dynamic_cast<T*>(block) != nullptr;
}

struct DeviceClass {
  unsigned int classId;
  const wchar_t* caption;
  bool (*isClass)(CBEBlock*);
  bool hasDialog;
};
const DeviceClass kBoardDevices[] = {
    {kBeCOMPortClassId, L"COM-порт", Is<CBECOMPort>, true},
    {kBeBoardUARTClassId, L"UART", Is<CBEBoardUART>, true},
    {kBeLANClassId, L"LAN-адаптер", Is<CBELAN>, true},
    {kBeUSBClassId, L"USB-host", Is<CBEUSB>, true},
    {kBeWiFiClassId, L"WiFi-модуль", Is<CBEWiFi>, true},
    {kBeGPIOClassId, L"GPIO", Is<CBEGPIO>, true},
    {kBeLPTClassId, L"LPT", Is<CBELPT>, false},
    {kBeAudioInClassId, L"AudioIn", Is<CBEAudioIn>, false},
};
const DeviceClass kPultDevices[] = {
    {kBeLANClassId, L"LAN-адаптер", Is<CBELAN>, true},
    {kBeUSBClassId, L"USB-host", Is<CBEUSB>, true},
    {kBeWiFiClassId, L"WiFi-модуль", Is<CBEWiFi>, true},
    {kBeDynamicsClassId, L"Аудио-система", Is<CBEDynamics>, false},
};

void ExpectEntries(const BeCatalogueGroup* group, const DeviceClass* classes, int count) {
  ASSERT_EQ(count, group->entryCount);
  for (int i = 0; i < count; ++i) {
    const BeCatalogueEntry* entry = group->Entry(i);
    EXPECT_EQ(classes[i].classId, entry->classId) << i;
    EXPECT_STREQ(classes[i].caption, entry->caption) << i;
    EXPECT_EQ(nullptr, entry->bitmap) << "no palette picture";
    CBEBlock* block = entry->creator();
    ASSERT_NE(nullptr, block);
    EXPECT_TRUE(classes[i].isClass(block)) << i;
    EXPECT_TRUE(block->IsDevice()) << i;
    delete block;
  }
}

TEST(InterfaceClasses, TheComputersCataloguesHoldTheirDevicesHidden) {
  BeBlockCreatorTable creators;
  ASSERT_TRUE(RegisterBlockLibraryCreators(&creators));
  for (const DeviceClass& c : kBoardDevices) EXPECT_NE(nullptr, creators.Find(c.classId));
  EXPECT_NE(nullptr, creators.Find(kBeDynamicsClassId));
  EXPECT_EQ(9, kInterfaceClassRowCount);

  BeCatalogue board;
  BeCatalogueGroup* hidden = board.AddGroup(nullptr);
  ASSERT_TRUE(AddDeviceEntries(hidden, kBoardComputerDeviceRows, kBoardComputerDeviceRowCount, creators));
  ExpectEntries(hidden, kBoardDevices, 8);
  // Adding again adds nothing.
  ASSERT_TRUE(AddDeviceEntries(hidden, kBoardComputerDeviceRows, kBoardComputerDeviceRowCount, creators));
  EXPECT_EQ(8, hidden->entryCount);

  BeCatalogue pult;
  BeCatalogueGroup* pultHidden = pult.AddGroup(nullptr);
  ASSERT_TRUE(AddDeviceEntries(pultHidden, kPultComputerDeviceRows, kPultComputerDeviceRowCount, creators));
  ExpectEntries(pultHidden, kPultDevices, 4);

  // Classes without creator are left out; a refused entry is reported.
  BeBlockCreatorTable few;
  few.Set(kBeGPIOClassId, CBEGPIO::Create);
  BeCatalogue partial;
  BeCatalogueGroup* group = partial.AddGroup(nullptr);
  ASSERT_TRUE(AddDeviceEntries(group, kBoardComputerDeviceRows, kBoardComputerDeviceRowCount, few));
  ASSERT_EQ(1, group->entryCount);
  EXPECT_EQ(kBeGPIOClassId, group->Entry(0)->classId);
  BeCatalogueGroup* refused = partial.AddGroup(L"x");
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(AddDeviceEntries(refused, kPultComputerDeviceRows, kPultComputerDeviceRowCount, creators));
  }
  EXPECT_FALSE(AddDeviceEntries(nullptr, kPultComputerDeviceRows, 1, creators));
}

// A unit finds its device blocks by caption and makes the missing ones.
TEST(InterfaceClasses, AUnitFindsOrMakesItsDeviceBlocks) {
  Bench bench;
  CBEBlock* com1 = FindOrCreateDeviceBlock(&bench.scheme, L"COM1", kBeCOMPortClassId);
  ASSERT_NE(nullptr, com1);
  EXPECT_TRUE(Is<CBECOMPort>(com1));
  EXPECT_STREQ(L"COM1", com1->caption);
  EXPECT_TRUE(com1->IsDevice());
  CBEBlock* com2 = FindOrCreateDeviceBlock(&bench.scheme, L"COM2", kBeCOMPortClassId);
  EXPECT_NE(com1, com2);
  EXPECT_EQ(com1, FindOrCreateDeviceBlock(&bench.scheme, L"COM1", kBeCOMPortClassId));
  // Found by caption, whatever class was asked for.
  EXPECT_EQ(com1, FindOrCreateDeviceBlock(&bench.scheme, L"COM1", kBeLANClassId));
  EXPECT_EQ(2, bench.scheme.GetBlockCount());
  // The WiFi block's own caption is the one the computer looks for.
  CBEBlock* wifi = bench.scheme.CreateBlock(kBeWiFiClassId);
  EXPECT_EQ(wifi, FindOrCreateDeviceBlock(&bench.scheme, L"Модуль WiFi", kBeWiFiClassId));
  EXPECT_EQ(3, bench.scheme.GetBlockCount());
  EXPECT_EQ(nullptr, FindOrCreateDeviceBlock(nullptr, L"LAN", kBeLANClassId));
  EXPECT_EQ(nullptr, FindOrCreateDeviceBlock(&bench.scheme, L"", kBeLANClassId));
  EXPECT_EQ(nullptr, FindOrCreateDeviceBlock(&bench.scheme, nullptr, kBeLANClassId));
  // A class the catalogue lacks: the scheme tells the user, nothing made.
  EXPECT_EQ(nullptr, FindOrCreateDeviceBlock(&bench.scheme, L"X", 0x12345678));
  EXPECT_EQ(3, bench.scheme.GetBlockCount());
  EXPECT_EQ(1u, bench.host.texts.size());
}

TEST(InterfaceClasses, ABlockReachesItsUnitAndItsGround) {
  Bench bench;
  auto* gpio = bench.Create<CBEGPIO>(kBeGPIOClassId);
  float U = -1, R = -1;
  EXPECT_EQ(nullptr, GetOwnerComponent(gpio));
  GetOwnerGround(gpio, &U, &R);
  EXPECT_EQ(0.0f, U);
  EXPECT_EQ(0.0f, R);
  GetOwnerGround(nullptr, &U, &R);
  EXPECT_EQ(0.0f, U);

  // An owner that is no unit has the ideal ground.
  circuit::Circuit plain;
  circuit::Part* part = plain.Part(1);
  bench.scheme.owner = part;
  EXPECT_EQ(part, GetOwnerComponent(gpio));
  U = R = -1;
  GetOwnerGround(gpio, &U, &R);
  EXPECT_EQ(0.0f, U);
  EXPECT_EQ(0.0f, R);
  bench.scheme.owner = nullptr;

  blocktest::FakeOwner& owner = bench.UseFakeOwner(1);
  owner.SetGround(1.25f, 7.5f);
  EXPECT_EQ(&owner, GetOwnerComponent(gpio));
  GetOwnerGround(gpio, &U, &R);
  EXPECT_EQ(1.25f, U);
  EXPECT_EQ(7.5f, R);
  CBEBlock detached;
  EXPECT_EQ(nullptr, GetOwnerComponent(&detached));
}

std::vector<CBEBlock*> g_shown;
bool ConfirmingDialog(CBEBlock* block) {
  g_shown.push_back(block);
  return true;
}

TEST(InterfaceClasses, PropertiesAnswerFalseUntilADialogIsRegistered) {
  blocktest::DialogScope dialogs;
  g_shown.clear();
  Bench bench;
  std::vector<DeviceClass> all(kBoardDevices, kBoardDevices + 8);
  all.push_back(kPultDevices[3]);
  for (const DeviceClass& c : all) BeBlockDialogTable::Program().Set(c.classId, nullptr);
  for (const DeviceClass& c : all) {
    SCOPED_TRACE(testing::Message() << std::hex << c.classId);
    CBEBlock* block = bench.Create<CBEBlock>(c.classId);
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    EXPECT_FALSE(block->ShowProperties());
    EXPECT_EQ(before, blocktest::RecordBytes(block));
    dialogs.Set(c.classId, ConfirmingDialog);
    size_t shown = g_shown.size();
    EXPECT_EQ(c.hasDialog, block->ShowProperties());
    EXPECT_EQ(shown + (c.hasDialog ? 1 : 0), g_shown.size());
    if (c.hasDialog) {
      EXPECT_EQ(block, g_shown.back());
    }
  }
  // The board UART has a dialog of its own class, not the COM port's.
  BeBlockDialogTable::Program().Set(kBeBoardUARTClassId, nullptr);
  EXPECT_FALSE(bench.Create<CBEBlock>(kBeBoardUARTClassId)->ShowProperties());
}

}  // namespace
