// Documents and editors for the tests of opening, saving, the scheme editor
// and the scheme view: the component classes registered as start-up does,
// the program folders, the linked model path and the bus preset restored
// after each test, and a sample scheme with several components and wires.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/app_fixture.h"
#include "units/unit_classes.h"
#include "app/editor/sph_editor.h"
#include "app/shell/main_form.h"
#include "app/shell/startup.h"
#include "app/views/scheme_view.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "kestui/forms/kest_custom_form.h"
#include "scheme/model/bus.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/model/wire.h"
#include "support/test_support.h"

namespace apptest {

// Every live scheme editor, in creation order.
inline std::vector<CSphEditor*> LiveEditors() {
  std::vector<CSphEditor*> editors;
  for (int i = 0; i < LiveForms.count; i++)
    if (CSphEditor* e = dynamic_cast<CSphEditor*>(LiveForms.forms[i])) editors.push_back(e);
  return editors;
}

inline CSphEditor* OnlyEditor() {
  std::vector<CSphEditor*> editors = LiveEditors();
  return editors.size() == 1 ? editors[0] : nullptr;
}

// A wire from pin pa of a to pin pb of b.
inline SchWire* Connect(SchScheme* scheme, CSCHBlock* a, int pa, CSCHBlock* b, int pb) {
  SchWire* w = new SchWire(scheme);
  w->kind = static_cast<unsigned char>(a->pins[pa].kind);
  EXPECT_TRUE(w->AttachToPin(0, a, pa));
  EXPECT_TRUE(w->AttachToPin(1, b, pb));
  return w;
}

inline CSCHBlock* Place(SchScheme* scheme, const char* className, int x, int y) {
  CSCHBlock* b = scheme->CreateBlock(className);
  EXPECT_NE(nullptr, b) << className;
  if (b) b->MoveTo(x, y);
  return b;
}

// The sample document: two multimeters and a ground joined by electric
// wires, two hydraulic fittings joined by a hose, and a bus of three cores.
struct SampleScheme {
  explicit SampleScheme(SchScheme* s) : scheme(s) {
    meterA = Place(s, "Multimeter", 60, 40);
    meterB = Place(s, "Multimeter", 300, 40);
    ground = Place(s, "GND", 200, 240);
    tee = Place(s, "T_GIDRO", 80, 320);
    fiveWay = Place(s, "5_GIDRO", 300, 330);
    wireAB = Connect(s, meterA, 1, meterB, 0);
    // Left from the meter, down, right, and down onto the ground's pin.
    wireGround = Connect(s, meterA, 0, ground, 0);
    wireGround->SetCoordinateCount(2);
    wireGround->coords[0] = 30;
    wireGround->coords[1] = 200;
    hose = Connect(s, tee, 1, fiveWay, 0);
    bus = new SchBus(s);
    bus->SetSlotCount(3);
    bus->x0 = 480;
    bus->y0 = 100;
    bus->x1 = 600;
    bus->y1 = 260;
    bus->endDir = 0;
    bus->SetCoordinateCount(1);
    bus->coords[0] = 540;
  }
  SchScheme* scheme;
  CSCHBlock *meterA, *meterB, *ground, *tee, *fiveWay;
  SchWire *wireAB, *wireGround, *hose;
  SchBus* bus;
};

// The bytes of a scheme's stream.
inline std::vector<uint8_t> StreamBytes(SchScheme* scheme) {
  CMemoryStream stream;
  scheme->Write(&stream, 0);
  return std::vector<uint8_t>(stream.data, stream.data + stream.size);
}

class EditorTest : public WindowsTest {
protected:
  void SetUp() override {
    WindowsTest::SetUp();
    registryWasFilled_ = g_schClassRegistry.Count() > 0;
    // The rows' creators, so that those given after the component classes
    // (the electronic components) come back too.
    savedCreators_.clear();
    for (int i = 0; i < g_schClassRegistry.Count(); i++)
      savedCreators_.push_back({g_schClassRegistry.Row(i).name, g_schClassRegistry.Row(i).creator});
    g_schClassRegistry.Clear();
    RegisterComponentClasses();
    RegisterUnitComponentCreators();
    folders_ = AppFolders();
    const wchar_t* model = GetModelPath();
    hadModel_ = model != nullptr;
    model_ = model ? model : L"";
    modelCheck_ = GetModelPathCheck();
    busPreset_ = CSphEditor::GetBusCoresPreset();
    freeEnd_ = GetFreeEndPoint();
  }
  void TearDown() override {
    WindowsTest::TearDown();
    g_schClassRegistry.Clear();
    if (registryWasFilled_) RegisterComponentClasses();
    for (const auto& row : savedCreators_) g_schClassRegistry.SetCreator(row.first.c_str(), row.second);
    SetAppFolders(folders_);
    SetModelPathAndCheck(hadModel_ ? model_.c_str() : nullptr, modelCheck_);
    CSphEditor::SetBusCoresPreset(busPreset_);
    SetFreeEndPoint(freeEnd_);
  }

  // Writes the sample document to path; answers its bytes.
  std::vector<uint8_t> WriteSample(const std::wstring& path) {
    SchScheme scheme;
    SampleScheme sample(&scheme);
    std::vector<uint8_t> bytes = StreamBytes(&scheme);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, f);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    EXPECT_EQ(bytes.size(), written);
    return bytes;
  }

  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
  bool registryWasFilled_ = false;
  std::vector<std::pair<std::string, SchBlockCreator>> savedCreators_;
  ProgramFolders folders_;
  bool hadModel_ = false;
  std::wstring model_;
  unsigned char modelCheck_ = 0x99;
  int busPreset_ = 8;
  POINT freeEnd_ = {0, 0};
};

}  // namespace apptest
