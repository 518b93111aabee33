#include "units/computers/pult_computer.h"

#include <new>

#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/interfaces/usb_adapter.h"
#include "blocks/panel/ui_blocks/be_ui.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/sim_log.h"
#include "units/catalogues/unit_catalogues.h"
#include "units/unit_program.h"

namespace {

struct PinRow {
  int kind;
  const wchar_t* description;
  int offset;
};
const PinRow kPins[] = {
    {kSchPinUsb, L"USB для подключения различных устройств", 113},
    {kSchPinEthernet, L"Ethernet", 81},
    {kSchPinElectric, L"Опционально, питание", 62},
    {kSchPinElectric, L"Опционально, питание", 43},
};

// The class picture, loaded by the first Paint.
CKestImage g_notebookPicture;

// A device block of the program, made by class id; null when the
// catalogue lacks the class or memory ran out.
CBEBlock* MakeDevice(BeScheme* program, unsigned int classId, const wchar_t* caption) {
  CBEBlock* block = program->CreateBlock(classId);
  if (block) {
    block->flags |= kBeBlockDevice;
    if (caption) block->SetCaption(caption);
  }
  return block;
}

}  // namespace

CSCHPultComputer::CSCHPultComputer() {
  BuildPultComputerPalette();
  program_ = new BeScheme;
  InitUnitProgram(program_, GetPultComputerCatalogue(), this);
  program_->frequency = kUnitComputerFrequency;

  MakeDevice(program_, kUIBlockClassId, nullptr);
  if (CBELAN* usb = dynamic_cast<CBELAN*>(MakeDevice(program_, kBeUSBClassId, L"USB"))) usb->pinIndex = kUsbPin;
  if (CBELAN* lan = dynamic_cast<CBELAN*>(MakeDevice(program_, kBeLANClassId, L"Ethernet")))
    lan->pinIndex = kEthernetPin;
  MakeDevice(program_, kBeWiFiClassId, nullptr);
  MakeDevice(program_, kBeDynamicsClassId, nullptr);

  flags |= kSchBoardPart;
  SetName(L"Компьютер пульта управления");
  typeText = L"Компьютер пульта управления";
  rect = RECT{0, 0, 230, 157};
  if (SetPinCount(4)) {
    for (int i = 0; i < 4; ++i) {
      pins[i].kind = kPins[i].kind;
      pins[i].description = kPins[i].description;
      pins[i].offset = kPins[i].offset;
      pins[i].side = kSchSideRight;
    }
  }
}

CSCHPultComputer::~CSCHPultComputer() {
  delete program_;
  program_ = nullptr;
}

void CSCHPultComputer::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_notebookPicture, L"notebook.png")) g_notebookPicture.Draw(dc, rect.left, rect.top);
}

bool CSCHPultComputer::Edit() { return EditUnitProgram(this, program_); }

void CSCHPultComputer::Start() {
  CSCHBlock::Start();
  discharged_ = 0;
  battery_ = kUnitPultBatterySeconds;
  program_->Start();
}

void CSCHPultComputer::Step(float dt) {
  if (pinCount < 4) return;
  float U2, R2, U3, R3;
  GetPinInput(kSupplyPin, &U2, &R2);
  GetPinInput(kSupplyReturnPin, &U3, &R3);
  const float RL = kUnitPultChargerLoad;
  SetPinSource(kSupplyPin, U3, R3 + RL);
  SetPinSource(kSupplyReturnPin, U2, R2 + RL);
  float V = (U3 - U2) * RL / (RL + R2 + R3);
  if (V > kUnitPultChargeVoltage) {
    battery_ += 2 * dt;
    if (battery_ > kUnitPultBatterySeconds) battery_ = kUnitPultBatterySeconds;
  } else {
    battery_ -= dt;
    if (battery_ < 0 && !discharged_) {
      discharged_ = 1;
      SimMessageLog::Global().AppendText(L"Батарея компьютера управления полностью разряжена!");
    }
  }
  if (!discharged_) program_->Step(dt);
}

void CSCHPultComputer::Stop() {
  program_->Stop();
  CSCHBlock::Stop();
}

void CSCHPultComputer::Save(CStream* stream) {
  WriteUnitProgram(program_, stream);
  CSCHBlock::Save(stream);
}

void CSCHPultComputer::Load(CStream* stream) {
  program_->DeleteBlocks(false);
  if (!ReadUnitProgram(program_, stream)) return;
  CSCHBlock::Load(stream);
}

CSCHBlock* CreateCSCHPultComputer() { return new (std::nothrow) CSCHPultComputer; }
