#include "app/editor/control_panel.h"

#include <new>

#include "app/editor/pult_computer.h"
#include "app/editor/sph_editor.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_host.h"

CSCHPult::CSCHPult() {
  SetName(kVelkControlPanelName);
  typeText = L"Пульт управления";
  nestedScheme = new SchScheme;
  nestedScheme->CreateBlock("PultComputer");
}

CSCHPult::~CSCHPult() {
  CSphEditor::CloseEditorsOfScheme(nestedScheme);
  delete nestedScheme;
  nestedScheme = nullptr;
}

bool CSCHPult::Edit() {
  // The program opens the editor; the component itself does not change.
  if (nestedScheme) GetSchemeHost()->OpenSchemeEditor(nestedScheme, CSphEditor::kEditorPanel, 0, 0);
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
  nestedScheme->Read(stream, 0);
  CSCHBlock::Load(stream);
}

CSCHBlock* CreateCSCHPult() { return new (std::nothrow) CSCHPult; }

void RegisterControlPanelClasses() {
  g_schClassRegistry.SetCreator("PULT", CreateCSCHPult);
  g_schClassRegistry.SetCreator("PultComputer", CreateCSCHPultComputer);
}
