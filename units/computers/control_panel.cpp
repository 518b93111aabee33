#include "units/computers/control_panel.h"

#include <new>

#include "scheme/model/scheme.h"
#include "scheme/model/scheme_host.h"

const wchar_t kUnitControlPanelName[] = L"Пульт управления";

CSCHPult::CSCHPult() {
  SetName(kUnitControlPanelName);
  typeText = L"Пульт управления";
  rect = RECT{0, 0, 200, 100};
  nestedScheme = new SchScheme;
  nestedScheme->CreateBlock("PultComputer");
}

CSCHPult::~CSCHPult() {
  // The nested scheme's editors close as it goes.
  delete nestedScheme;
  nestedScheme = nullptr;
}

void CSCHPult::Paint(HDC dc) {
  PaintBody(dc, RGB(0xEE, 0xEE, 0xEE));
  PaintName(dc, instanceName, RGB(0, 0, 0));
}

bool CSCHPult::Edit() {
  // The program opens the editor; the component itself does not change.
  if (nestedScheme) GetSchemeHost()->OpenSchemeEditor(nestedScheme, kUnitControlPanelEditorMode, 0, 0);
  return false;
}

void CSCHPult::JoinInternalNets() {
  if (nestedScheme) nestedScheme->BuildNets();
}

void CSCHPult::Start() {
  if (nestedScheme) nestedScheme->StartSimulation();
}

void CSCHPult::Step(float dt) {
  if (nestedScheme) nestedScheme->StepSimulation(dt);
}

void CSCHPult::Stop() {
  if (nestedScheme) nestedScheme->StopSimulation();
}

void CSCHPult::Save(CStream* stream) {
  nestedScheme->Write(stream, 0);
  CSCHBlock::Save(stream);
}

void CSCHPult::Load(CStream* stream) {
  nestedScheme->DeleteObjects();
  // A nested scheme that fails marks the outer read broken itself
  // (SchScheme::Read); reading on would read the rest from its middle.
  if (!nestedScheme->Read(stream, 0)) return;
  CSCHBlock::Load(stream);
}

CSCHBlock* CreateCSCHPult() { return new (std::nothrow) CSCHPult; }
