// The AVR microcontroller in Velkboard: every package of the sample table
// placed in a document, saved and opened again, and its symbol in the
// scheme view with the active-low reset pin's name overlined.
#include <windows.h>

#include <string>
#include <vector>

#include "app/editor/editor_fixture.h"
#include "app/editor/scheme_file.h"
#include "app/shell/velkboard_host.h"
#include "app/views/scheme_view.h"
#include "blocks/engine/block_scheme.h"
#include "components/electronic/component_kit.h"
#include "components/electronic/electronic_classes.h"
#include "kestui/forms/kest_form.h"
#include "support/memory_canvas.h"
#include "units/avr/avr.h"

namespace {

using velktest::DialogAnswerer;
using velktest::TempFolder;

class AvrDocumentTest : public apptest::EditorTest {};

struct SampleModel {
  const char* model;
  int pins;
  int corps;
  const wchar_t* pin1;
};
const SampleModel kSamples[] = {
    {"ATmega8L-8PU, RC 1 \xCC\xC3\xF6", 28, kUnitAvrDip, L"~RESET"},
    {"ATmega8A-PU", 28, kUnitAvrDip, L"~RESET"},
    {"ATmega328P-AU", 32, kUnitAvrQuadFlat, L"PD3/OC2B"},
    {"ATmega16A-PU", 40, kUnitAvrWideDip, L"PB0/XCK/T0"},
    {"ATmega164PA-AU", 44, kUnitAvrQuadFlat, L"PB5/MOSI"},
    {"ATmega128A-AU", 64, kUnitAvrQuadFlat, L"~PEN"},
};

TEST_F(AvrDocumentTest, EveryPackageOfTheSampleTableIsSavedAndOpenedAgain) {
  comptest::SampleTable table(L"avr");
  ASSERT_TRUE(table.loaded);
  TempFolder folder;
  std::wstring path = folder.File(L"avr.vlkx");
  CMainForm* form = MakeMainForm();
  form->OpenScheme(path.c_str());
  SchScheme* scheme = form->GetScheme();
  ASSERT_NE(nullptr, scheme);
  int x = 40;
  for (const SampleModel& sample : kSamples) {
    CompDbRecord* record = table.Find(sample.model);
    ASSERT_NE(nullptr, record) << sample.model;
    CSCHBlock* chip = scheme->CreateBlock(record->GetTextByName("class"));
    ASSERT_NE(nullptr, dynamic_cast<CAVR*>(chip)) << sample.model;
    chip->ApplyDbRecord(record);
    chip->MoveTo(x, 60);
    x += 400;
    ASSERT_EQ(sample.pins, chip->pinCount) << sample.model;
  }
  DialogAnswerer answer(IDOK);
  SendMessageW(form->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
  form->SaveScheme();
  EXPECT_EQ(0, answer.Count());
  EXPECT_FALSE(form->IsModified());
  std::vector<uint8_t> saved = folder.ReadFile(L"avr.vlkx");
  EXPECT_TRUE(velktest::BytesEqual(saved, apptest::StreamBytes(scheme)));

  SchScheme check;
  ASSERT_TRUE(ReadSchemeFile(path.c_str(), &check));
  // The chips with the parts of their application circuits.
  ASSERT_EQ(scheme->BlockCount(), check.BlockCount());
  int chips = 0;
  for (CSCHBlock* b = check.blocks; b; b = b->next) chips += dynamic_cast<CAVR*>(b) ? 1 : 0;
  ASSERT_EQ(6, chips);
  for (const SampleModel& sample : kSamples) {
    CAVR* read = nullptr;
    for (CSCHBlock* b = check.blocks; b; b = b->next)
      if (b->model && std::string(b->model) == sample.model) read = dynamic_cast<CAVR*>(b);
    ASSERT_NE(nullptr, read) << sample.model;
    EXPECT_EQ(sample.pins, read->pinCount) << sample.model;
    EXPECT_EQ(sample.corps, read->corps) << sample.model;
    EXPECT_EQ(std::wstring(sample.pin1), read->pins[0].name ? read->pins[0].name : L"") << sample.model;
    EXPECT_EQ(read, read->GetProgram()->owner);
  }
  EXPECT_TRUE(velktest::BytesEqual(apptest::StreamBytes(&check), saved));
  velktest::SaveScreenshot(form->GetHandle(), L"avr_document.bmp");
}

// A white 32-bit memory bitmap the view paints into.
class Canvas : public velktest::MemoryCanvas {
public:
  Canvas(int width, int height) : MemoryCanvas(width, height) {}
  HDC DC() const { return dc(); }
  bool IsDark(int x, int y) const {
    COLORREF c = At(x, y);
    return GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
  }
  int Inked(int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++)
        if (At(x, y) != RGB(255, 255, 255)) n++;
    return n;
  }
};

SIZE ArialExtent(HDC like, const wchar_t* text) {
  HDC measure = CreateCompatibleDC(like);
  HFONT font = CreateFontW(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
  HGDIOBJ old = SelectObject(measure, font);
  SIZE extent = {0, 0};
  GetTextExtentPoint32W(measure, text, static_cast<int>(wcslen(text)), &extent);
  SelectObject(measure, old);
  DeleteObject(font);
  DeleteDC(measure);
  return extent;
}

TEST_F(AvrDocumentTest, TheResetPinsNameIsOverlinedInTheSymbol) {
  comptest::SampleTable table(L"avr");
  ASSERT_TRUE(table.loaded);
  SchScheme scheme;
  CSCHBlock* chip = scheme.CreateBlock("AVR");
  ASSERT_NE(nullptr, chip);
  chip->ApplyDbRecord(table.Find("ATmega8A-PU"));
  chip->MoveTo(40, 30);
  chip->SetName(L"DD1");
  ASSERT_EQ(28, chip->pinCount);
  CKestForm* host = new CKestForm;
  ASSERT_TRUE(host->Create(nullptr, L"AVR", KestPos(0, 0), 420, 420, nullptr, false, false, true, true));
  CSchemeView* view = new CSchemeView(host, KestPos(0, 0), 300, 350, &scheme);
  ASSERT_NE(nullptr, view->GetHandle());
  Canvas canvas(320, 360);
  view->PaintScheme(canvas.DC(), true);
  canvas.Save(L"avr_scheme_symbol.bmp");

  // Pin 1, "~RESET", on the left: "RESET" drawn right of the anchor with a
  // line one pixel above it; pin 2, "PD0/RXD", has none.
  POINT reset = chip->GetPinAnchor(0), rxd = chip->GetPinAnchor(1);
  ASSERT_EQ(kSchSideLeft, chip->pins[0].side);
  SIZE e1 = ArialExtent(canvas.DC(), L"RESET"), e2 = ArialExtent(canvas.DC(), L"PD0/RXD");
  int tx = reset.x + 9, ty1 = reset.y - e1.cy / 2, ty2 = rxd.y - e2.cy / 2;
  EXPECT_GT(canvas.Inked(tx, ty1, tx + e1.cx, ty1 + e1.cy), 0);
  int line = 0;
  for (int x = tx; x < tx + e1.cx; x++) line += canvas.IsDark(x, ty1 - 1) ? 1 : 0;
  EXPECT_GE(line, e1.cx - 1);
  int none = 0;
  for (int x = tx; x < tx + e2.cx; x++) none += canvas.IsDark(x, ty2 - 1) ? 1 : 0;
  EXPECT_EQ(0, none);
  // The view goes before the scheme it shows.
  ClearAll();
}

TEST_F(AvrDocumentTest, TheApplicationCircuitIsDrawnAroundTheChip) {
  comptest::SampleTable table(L"avr");
  ASSERT_TRUE(table.loaded);
  // The circuit's parts, as Velkboard registers them (the fixture restores
  // the registry).
  RegisterElectronicComponentCreators();
  SchScheme scheme;
  CSCHBlock* chip = scheme.CreateBlock("AVR");
  ASSERT_NE(nullptr, chip);
  chip->MoveTo(40, 30);
  chip->ApplyDbRecord(table.Find("ATmega8A-PU"));  // 16 MHz: with the crystal
  ASSERT_EQ(28, chip->pinCount);
  ASSERT_EQ(160, chip->rect.left);
  CSCHBlock* quartz = nullptr;
  for (int i = 0; i < chip->childCount; i++)
    if (std::string(chip->children[i]->className) == "Quartz") quartz = chip->children[i];
  ASSERT_NE(nullptr, quartz);
  CKestForm* host = new CKestForm;
  ASSERT_TRUE(host->Create(nullptr, L"AVR", KestPos(0, 0), 560, 480, nullptr, false, false, true, true));
  CSchemeView* view = new CSchemeView(host, KestPos(0, 0), 520, 440, &scheme);
  ASSERT_NE(nullptr, view->GetHandle());
  Canvas canvas(520, 440);
  view->PaintScheme(canvas.DC(), true);
  canvas.Save(L"avr_application_circuit.bmp");
  // The crystal, the wire from its upper pin to its junction, and the
  // ground symbols below the chip are drawn.
  const RECT& q = quartz->rect;
  EXPECT_GT(canvas.Inked(q.left, q.top, q.right, q.bottom), 0);
  EXPECT_TRUE(canvas.IsDark(q.left + 12, q.top - 10));
  EXPECT_GT(canvas.Inked(chip->rect.left - 40, chip->rect.bottom + 25, chip->rect.right + 40, chip->rect.bottom + 45), 0);
  ClearAll();
}

}  // namespace
