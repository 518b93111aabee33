// The AVR microcontroller: a new chip, the model's keys, pins laid out and
// named by package, the supply and ground chains, the symbol and the
// footprint, the record with the program inside, and records refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_host.h"
#include "blocks/engine/block_scheme.h"
#include "components/devices/device_kit.h"
#include "components/electronic/chips/chip_text.h"
#include "components/electronic/usb/circuit_parts.h"
#include "foundation/memory_stream.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/model/scheme.h"
#include "scheme/simulation/net.h"
#include "units/avr/avr.h"
#include "units/avr/avr_pin_tables.h"
#include "units/catalogues/unit_catalogues.h"
#include "units/unit_classes.h"
#include "units/avr/avr_kit.h"

namespace {

using avrtest::Make;
using avrtest::Model;
using avrtest::Package;
using avrtest::UnitBench;

std::wstring Text(const wchar_t* text) { return text ? text : L"(null)"; }

TEST(Avr, ANewChipHasTheDefaultsAndAnEmptyProgramOnTheAvrCatalogue) {
  UnitBench bench;
  CAVR* chip = bench.Create<CAVR>("AVR");
  ASSERT_NE(nullptr, chip);
  EXPECT_EQ(L"DD1", Text(chip->instanceName));
  EXPECT_EQ(L"Микроконтроллер AVR", Text(chip->typeText));
  EXPECT_EQ(0, chip->pinCount);
  EXPECT_EQ(1.0f, chip->freq);
  EXPECT_EQ(8, chip->ROM);
  EXPECT_EQ(3, chip->Timers);
  EXPECT_EQ(3, chip->PWM);
  EXPECT_EQ(1, chip->UART);
  EXPECT_EQ(8, chip->ADC);
  EXPECT_EQ(4.5f, chip->Umin);
  EXPECT_EQ(6.0f, chip->Umax);
  EXPECT_EQ(kUnitAvrWideDip, chip->corps);
  EXPECT_EQ(0, chip->PCINTx);
  EXPECT_EQ(0, chip->programmer);
  EXPECT_FALSE(chip->IsRunning());
  BeScheme* program = chip->GetProgram();
  ASSERT_NE(nullptr, program);
  EXPECT_EQ(GetAvrCatalogue(), program->catalogue);
  EXPECT_NE(nullptr, program->catalogue);
  EXPECT_EQ(chip, program->owner);
  EXPECT_EQ(1826, program->sharedRoutineRom);
  EXPECT_EQ(312, program->baseRom);
  EXPECT_EQ(150, program->baseRam);
  EXPECT_EQ(0, program->GetBlockCount());
  // A second chip shares the catalogue and takes the next name.
  CAVR* other = bench.Create<CAVR>("AVR");
  ASSERT_NE(nullptr, other);
  EXPECT_EQ(L"DD2", Text(other->instanceName));
  EXPECT_EQ(program->catalogue, other->GetProgram()->catalogue);
  EXPECT_NE(program, other->GetProgram());
  EXPECT_NE(GetBoardComputerCatalogue(), program->catalogue);
}

TEST(Avr, TheModelsKeysSetTheFieldsAndTheProgramsClockAndLimits) {
  UnitBench bench;
  Model m = Package("32", "2");
  m.Umin = "1.8";
  m.I = "12";
  m.ADC = "8";
  m.UART = "2";
  m.ROM = "32";
  m.RAM = "2048";
  m.PWM = "6";
  m.PCINTx = "5";
  m.program = "7";
  CAVR* chip = Make(bench, m);
  ASSERT_NE(nullptr, chip);
  EXPECT_EQ(32, chip->pinCount);
  EXPECT_EQ(kUnitAvrQuadFlat, chip->corps);
  EXPECT_EQ(1.8f, chip->Umin);
  EXPECT_EQ(5.5f, chip->Umax);
  EXPECT_EQ(16.0f, chip->freq);
  EXPECT_EQ(0.012f, chip->Imax);  // milliamperes into amperes
  EXPECT_EQ(8, chip->ADC);
  EXPECT_EQ(2, chip->UART);
  EXPECT_EQ(3, chip->Timers);
  EXPECT_EQ(6, chip->PWM);
  EXPECT_EQ(32, chip->ROM);
  EXPECT_EQ(2048, chip->RAM);
  EXPECT_EQ(1, chip->PCINTx);
  EXPECT_EQ(7, chip->programmer);
  EXPECT_STREQ("ATmega8A-PU", chip->model);
  EXPECT_EQ(L"avr", Text(chip->tableName));
  BeScheme* program = chip->GetProgram();
  EXPECT_EQ(16e6f, program->frequency);
  EXPECT_EQ(32 * 1024, program->romLimit);
  EXPECT_EQ(2048, program->ramLimit);
  // The 32-pin names with pin-change interrupts and a quartz.
  EXPECT_EQ(L"XTAL1", Text(chip->pins[6].name));
  EXPECT_EQ(L"PB6/XTAL1/TOSC1/PCINT6", Text(chip->pins[6].description));
  EXPECT_EQ(L"PD3/OC2B", Text(chip->pins[0].name));
  // A ROM too large for the limit's bytes is the largest limit.
  chip->ROM = 1 << 22;
  chip->BuildPins();
  EXPECT_EQ(0x7FFFFFFF, program->romLimit);
}

TEST(Avr, PinsArePlacedByPackage) {
  struct Case {
    const char* n;
    const char* corps;
    int width, height;    // symbol, pixels
    float fpWidth, fpLength;  // footprint, millimetres
    int perSide[4];       // left, top, right, bottom
  };
  const Case cases[] = {
      // Dual rows: half the pins left, half right, 20 px a pin pair, 200 px wide.
      {"28", "0", 200, 280, 15.24f, 13 * 2.54f + 1.778f, {14, 0, 14, 0}},
      {"28", "1", 200, 280, 7.62f, 13 * 2.54f + 1.778f, {14, 0, 14, 0}},
      {"40", "0", 200, 400, 15.24f, 19 * 2.54f + 1.778f, {20, 0, 20, 0}},
      {"40", "1", 200, 400, 7.62f, 19 * 2.54f + 1.778f, {20, 0, 20, 0}},
      // Quad: a quarter on each side, left, bottom, right, top; 20 px a pin
      // and 40 px more, 0.8 mm a pin and 3.4 mm more.
      {"32", "2", 200, 200, 7 * 0.8f + 3.4f, 7 * 0.8f + 3.4f, {8, 8, 8, 8}},
      {"44", "2", 260, 260, 10 * 0.8f + 3.4f, 10 * 0.8f + 3.4f, {11, 11, 11, 11}},
      {"64", "2", 360, 360, 15 * 0.8f + 3.4f, 15 * 0.8f + 3.4f, {16, 16, 16, 16}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.n << " pins, package " << c.corps);
    UnitBench bench;
    CAVR* chip = Make(bench, Package(c.n, c.corps));
    ASSERT_NE(nullptr, chip);
    ASSERT_EQ(atoi(c.n), chip->pinCount);
    EXPECT_EQ(c.width, chip->rect.right - chip->rect.left);
    EXPECT_EQ(c.height, chip->rect.bottom - chip->rect.top);
    EXPECT_FLOAT_EQ(c.fpWidth, chip->footprintWidth);
    EXPECT_FLOAT_EQ(c.fpLength, chip->footprintLength);
    int count[4] = {0, 0, 0, 0};
    for (int i = 0; i < chip->pinCount; ++i) {
      ++count[chip->pins[i].side & 3];
      EXPECT_EQ(i + 1, chip->pins[i].number);
    }
    EXPECT_EQ(c.perSide[kSchSideLeft], count[kSchSideLeft]);
    EXPECT_EQ(c.perSide[kSchSideTop], count[kSchSideTop]);
    EXPECT_EQ(c.perSide[kSchSideRight], count[kSchSideRight]);
    EXPECT_EQ(c.perSide[kSchSideBottom], count[kSchSideBottom]);
    // The quad package goes round: pin 1 on the left, the second quarter
    // at the bottom.
    const int q = chip->pinCount / 4;
    if (c.corps[0] == '2') {
      EXPECT_EQ(kSchSideLeft, chip->pins[0].side);
      EXPECT_EQ(kSchSideBottom, chip->pins[q].side);
      EXPECT_EQ(kSchSideRight, chip->pins[2 * q].side);
      EXPECT_EQ(kSchSideTop, chip->pins[3 * q].side);
    } else {
      EXPECT_EQ(kSchSideLeft, chip->pins[chip->pinCount / 2 - 1].side);
      EXPECT_EQ(kSchSideRight, chip->pins[chip->pinCount / 2].side);
    }
    // Every pin points at its table's texts.
    AvrPinVariant variant = {false, true, false};
    for (int i = 0; i < chip->pinCount; ++i) {
      AvrPinText text;
      ASSERT_TRUE(GetAvrPinText(chip->pinCount, variant, i, &text));
      EXPECT_EQ(text.name, chip->pins[i].name) << i;
      EXPECT_EQ(text.description, chip->pins[i].description) << i;
    }
  }
}

TEST(Avr, TheModelsVariantChoosesThePinNames) {
  struct Case {
    const char* n;
    const char* freq;
    const char* timers;
    const char* pwm;
    const char* pcint;
    int pin;  // 1-based
    const wchar_t* name;
    const wchar_t* description;
  };
  const Case cases[] = {
      {"28", "16", "3", "3", "0", 1, L"~RESET", L"RESET/PC6"},
      {"28", "16", "3", "3", "1", 1, L"~RESET", L"PC6/RESET/PCINT14"},
      {"32", "1", "3", "3", "0", 7, L"PB6", L"PB6/XTAL1/TOSC1"},   // exactly 1 MHz
      {"32", "1.5", "3", "3", "0", 8, L"XTAL2", L"PB7/XTAL2/TOSC2"},
      {"40", "8", "3", "8", "0", 14, L"PD0/RXD", L"PD0/RXD"},  // 8 PWM with 3 timers
      {"40", "8", "4", "8", "0", 14, L"PD0/RXD0", L"PD0/RXD0"},
      {"40", "8", "4", "7", "0", 14, L"PD0/RXD", L"PD0/RXD"},
      {"44", "8", "4", "8", "0", 2, L"PB6/OC3A/MOSI", L"PB6/PCINT14/OC3A/MISO"},
      {"44", "8", "4", "8", "1", 9, L"PD0/RXD0", L"PD0/PCINT24/RXD0/T3"},
      {"64", "16", "4", "8", "1", 1, L"~PEN", L"PEN"},
  };
  for (const Case& c : cases) {
    UnitBench bench;
    Model m = Package(c.n, "2");
    m.freq = c.freq;
    m.Timers = c.timers;
    m.PWM = c.pwm;
    m.PCINTx = c.pcint;
    CAVR* chip = Make(bench, m);
    ASSERT_NE(nullptr, chip);
    ASSERT_EQ(atoi(c.n), chip->pinCount);
    EXPECT_EQ(c.name, Text(chip->pins[c.pin - 1].name)) << c.n << " pin " << c.pin;
    EXPECT_EQ(c.description, Text(chip->pins[c.pin - 1].description)) << c.n << " pin " << c.pin;
  }
  // Without "PCINTx" every pin of the 28-pin chip but supply, ground and
  // reference and the reset pin is described by its own name.
  UnitBench bench;
  CAVR* chip = Make(bench, Package("28", "1"));
  ASSERT_NE(nullptr, chip);
  for (int i = 1; i < 28; ++i) {
    if (i == 6 || i == 7 || i == 20 || i == 21) continue;
    EXPECT_EQ(Text(chip->pins[i].name), Text(chip->pins[i].description)) << i + 1;
  }
}

TEST(Avr, AModelThatNoTableKnowsIsRefused) {
  struct Case {
    const char* key;
    const char* value;
  };
  const Case cases[] = {{"n", "30"}, {"n", "0"}, {"n", "-28"}, {"corps", "3"}, {"corps", "-1"},
                        {"Timers", "2"}, {"Timers", "5"}, {"Timers", "8"}, {"PWM", "9"}, {"PWM", "-1"},
                        {"PWM", "33"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.key << " " << c.value);
    UnitBench bench;
    Model m = Package("40", "1");
    if (!strcmp(c.key, "n")) m.n = c.value;
    if (!strcmp(c.key, "corps")) m.corps = c.value;
    if (!strcmp(c.key, "Timers")) m.Timers = c.value;
    if (!strcmp(c.key, "PWM")) m.PWM = c.value;
    CAVR* chip = Make(bench, m);
    ASSERT_NE(nullptr, chip);
    // The base fields only: the model's name, but no pins and the defaults.
    EXPECT_STREQ("ATmega8A-PU", chip->model);
    EXPECT_EQ(0, chip->pinCount);
    EXPECT_EQ(1.0f, chip->freq);
    EXPECT_EQ(kUnitAvrWideDip, chip->corps);
    EXPECT_EQ(3, chip->Timers);
    EXPECT_EQ(3, chip->PWM);
    EXPECT_EQ(80, chip->rect.right - chip->rect.left);
    EXPECT_EQ(100, chip->rect.bottom - chip->rect.top);
  }
  // Timer counts 0, 3 and 4 and PWM counts up to 8 are known; a pair the
  // timer table lacks (3 timers, 5 channels) is kept as it is.
  for (const char* timers : {"0", "3", "4"}) {
    for (const char* pwm : {"0", "5", "8"}) {
      UnitBench bench;
      Model m = Package("40", "1");
      m.Timers = timers;
      m.PWM = pwm;
      CAVR* chip = Make(bench, m);
      ASSERT_NE(nullptr, chip);
      EXPECT_EQ(40, chip->pinCount) << timers << " " << pwm;
      EXPECT_EQ(atoi(timers), chip->Timers);
      EXPECT_EQ(atoi(pwm), chip->PWM);
    }
  }
}

// ---------------------------------------------------------------- nets

struct ChainCase {
  const char* n;
  std::vector<int> connected;  // 1-based pins wired to parts of their own
  int ground;                  // 1-based pin chosen
  int supply;
  int aref;
  int avcc;
  std::vector<int> oneNet;  // pins that end on one net
};

TEST(Avr, SupplyAndGroundPinsAreChainedIntoOneNetEach) {
  const ChainCase cases[] = {
      // Nothing wired: the first pin of each chain.
      {"28", {}, 8, 7, 21, 20, {}},
      {"28", {8, 22, 7}, 22, 7, 21, 20, {8, 22}},
      {"28", {22}, 22, 7, 21, 20, {}},
      {"32", {}, 3, 6, 20, 18, {}},
      {"32", {4}, 3, 4, 20, 18, {}},
      {"32", {6, 4}, 3, 4, 20, 18, {6, 4}},
      {"32", {3, 5}, 5, 6, 20, 18, {3, 5}},
      {"32", {3, 5, 21}, 21, 6, 20, 18, {3, 5, 21}},
      {"40", {}, 31, 10, 32, 30, {}},
      {"40", {11}, 11, 10, 32, 30, {}},
      {"40", {31, 11, 10}, 11, 10, 32, 30, {31, 11}},
      {"44", {28}, 28, 5, 29, 27, {}},
      {"44", {6, 39}, 39, 5, 29, 27, {6, 39}},
      {"44", {5, 17, 38, 18}, 18, 38, 29, 27, {5, 17, 38}},
      {"44", {5}, 6, 5, 29, 27, {}},
      {"64", {53}, 53, 52, 62, 64, {}},
      {"64", {22, 63, 52, 21}, 63, 21, 62, 64, {22, 63}},
      {"64", {22, 53, 63}, 63, 52, 62, 64, {22, 53, 63}},
  };
  for (const ChainCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.n << " pins, " << c.connected.size() << " connected");
    UnitBench bench;
    CAVR* chip = Make(bench, Package(c.n, "2"));
    ASSERT_NE(nullptr, chip);
    // Without the application circuit, whose grounds would wire the ground
    // pins: each case wires its own pins.
    DeleteCircuit(chip);
    ASSERT_EQ(0, chip->childCount);
    for (int pin : c.connected) bench.Wire(chip, pin - 1, bench.Part(1), 0);
    bench.scheme->BuildNets();
    // The stored indices are the pin numbers less 1.
    EXPECT_EQ(c.ground - 1, chip->GetGroundPin());
    EXPECT_EQ(c.supply - 1, chip->GetSupplyPin());
    EXPECT_EQ(c.aref - 1, chip->GetArefPin());
    EXPECT_EQ(c.avcc - 1, chip->GetAvccPin());
    for (int pin : c.oneNet) {
      ASSERT_NE(nullptr, chip->pins[pin - 1].net) << pin;
      EXPECT_EQ(chip->pins[c.oneNet[0] - 1].net, chip->pins[pin - 1].net) << pin;
    }
    // Supply and ground stay apart; every wired pin kept a net.
    for (int pin : c.connected) EXPECT_NE(nullptr, chip->pins[pin - 1].net) << pin;
    SchNet* ground = chip->pins[c.ground - 1].net;
    SchNet* supply = chip->pins[c.supply - 1].net;
    if (ground && supply) {
      EXPECT_NE(ground, supply);
    }
    bench.scheme->DeleteNets();
  }
}

TEST(Avr, AChipWithoutATableChoosesNoSupplyPins) {
  UnitBench bench;
  CAVR* chip = bench.Create<CAVR>("AVR");
  ASSERT_NE(nullptr, chip);
  bench.scheme->BuildNets();
  EXPECT_EQ(-1, chip->GetGroundPin());
  EXPECT_EQ(-1, chip->GetSupplyPin());
  EXPECT_EQ(-1, chip->GetArefPin());
  EXPECT_EQ(-1, chip->GetAvccPin());
  bench.scheme->DeleteNets();
}

TEST(Avr, FloatingPinsAreOpenAtZeroVolts) {
  UnitBench bench;
  CAVR* chip = Make(bench, Package("28", "1"));
  ASSERT_NE(nullptr, chip);
  circuit::Part* source = bench.Source(5, 100);
  bench.Wire(chip, 13, source, 0);
  bench.scheme->BuildNets();
  chip->SetPinSource(13, 5, 10);
  chip->SetAllPinsFloating();
  EXPECT_EQ(0.0f, chip->pins[13].I);
  EXPECT_FLOAT_EQ(1.0f / 5000000.0f, chip->pins[13].G);
  bench.scheme->DeleteNets();
}

TEST(Avr, AChildPartTurnsAQuarterAroundTheChip) {
  UnitBench bench;
  CAVR* chip = bench.Create<CAVR>("AVR");
  CSCHBlock* part = bench.Create<CSCHBlock>("GND");
  ASSERT_NE(nullptr, chip);
  ASSERT_NE(nullptr, part);
  chip->boardX = 10;
  chip->boardY = 20;
  part->boardX = 13;
  part->boardY = 24;
  part->orientation = 3;
  CAVR::RotateChildPart(chip, part);
  EXPECT_EQ(0, part->orientation);
  EXPECT_FLOAT_EQ(6, part->boardX);  // 10 - (24 - 20)
  EXPECT_FLOAT_EQ(23, part->boardY);  // 20 + (13 - 10)
  CAVR::RotateChildPart(chip, part);
  CAVR::RotateChildPart(chip, part);
  CAVR::RotateChildPart(chip, part);
  EXPECT_EQ(3, part->orientation);
  EXPECT_FLOAT_EQ(13, part->boardX);
  EXPECT_FLOAT_EQ(24, part->boardY);
}

// ---------------------------------------------------------------- editing

class EditorHost : public CBlockHost {
public:
  EditorHost() : scope_(this) {}
  bool OpenBlockEditor(BeScheme* scheme, const wchar_t* title) override {
    programs.push_back(scheme);
    titles.push_back(title ? title : L"");
    return true;
  }
  std::vector<BeScheme*> programs;
  std::vector<std::wstring> titles;

private:
  CBlockHostScope scope_;
};

TEST(Avr, EditOpensTheProgramTitledWithTheInstanceName) {
  UnitBench bench;
  EditorHost host;
  CAVR* chip = Make(bench, Package("28", "0"));
  ASSERT_NE(nullptr, chip);
  EXPECT_FALSE(chip->Edit());
  EXPECT_FALSE(chip->Edit());
  ASSERT_EQ(2u, host.programs.size());
  EXPECT_EQ(chip->GetProgram(), host.programs[0]);
  EXPECT_EQ(L"DD1", host.titles[0]);
}

// ---------------------------------------------------------------- drawing

TEST(Avr, TheSymbolShowsTheNameAboveAndTheModelUpToItsCommaBelowTheMiddle) {
  UnitBench bench;
  Model m = Package("28", "0");
  m.model = "ATmega8,RC";
  CAVR* cut = Make(bench, m);
  m.model = "ATmega8";
  CAVR* whole = Make(bench, m);
  m.model = "ATmega8RC";
  CAVR* longer = Make(bench, m);
  ASSERT_NE(nullptr, cut);
  ASSERT_NE(nullptr, whole);
  ASSERT_NE(nullptr, longer);
  for (CAVR* chip : {cut, whole, longer}) chip->SetName(L"DD7");

  comptest::SymbolCanvas a(240, 320), b(240, 320), c(240, 320);
  EXPECT_TRUE(a.Paint(cut, 20, 20));
  EXPECT_TRUE(b.Paint(whole, 20, 20));
  EXPECT_TRUE(c.Paint(longer, 20, 20));
  a.Save(L"avr_symbol.bmp");
  // The body: 200 x 280, outlined black, filled 0xEEEEEE.
  EXPECT_EQ(RGB(0, 0, 0), a.Pixel(20, 20));
  EXPECT_EQ(RGB(0, 0, 0), a.Pixel(219, 299));
  EXPECT_EQ(RGB(0xEE, 0xEE, 0xEE), a.Pixel(25, 25));
  EXPECT_EQ(RGB(255, 255, 255), a.Pixel(221, 301));
  // Middle at y 160: the name above it, the model below it.
  const int middle = 160;
  auto dark = [](const comptest::SymbolCanvas& canvas, int y1, int y2) {
    int n = 0;
    for (int y = y1; y < y2; ++y)
      for (int x = 22; x < 218; ++x)
        if (GetRValue(canvas.Pixel(x, y)) < 128) ++n;
    return n;
  };
  EXPECT_GT(dark(a, middle - 20, middle), 10);
  EXPECT_GT(dark(a, middle, middle + 20), 10);
  EXPECT_EQ(0, dark(a, 30, middle - 20));
  EXPECT_EQ(0, dark(a, middle + 20, 290));
  // Up to the comma: the same as the model without the rest; the whole
  // model otherwise.
  int differ = 0, differLonger = 0;
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x) {
      differ += a.Pixel(x, y) != b.Pixel(x, y);
      differLonger += b.Pixel(x, y) != c.Pixel(x, y);
    }
  EXPECT_EQ(0, differ);
  EXPECT_GT(differLonger, 0);
}

// Paints what a footprint of that package should be: the package, the
// marking of its kind and the white instance name.
void PaintExpectedFootprint(PcbPainter* p, CAVR* chip, const wchar_t* model) {
  p->SetPlacement(chip->boardX, chip->boardY, chip->orientation);
  const COLORREF grey = RGB(0x99, 0x99, 0x99);
  if (chip->corps == kUnitAvrQuadFlat) {
    p->DrawQuadFlatPackage(chip->pinCount);
    DrawFootprintText(p, 0, -0.5f, 1, L"ATMEL", 0, grey);
    DrawFootprintText(p, 0, 0.5f, 1, model, 0, grey);
  } else if (chip->corps == kUnitAvrWideDip || chip->corps == kUnitAvrDip) {
    if (chip->corps == kUnitAvrWideDip) p->DrawWideDipPackage(chip->pinCount);
    else p->DrawDipPackage(chip->pinCount);
    DrawFootprintText(p, 1, 0, 2, L"ATMEL", 1, grey);
    DrawFootprintText(p, -1, 0, 2, model, 1, grey);
  }
  DrawFootprintText(p, 0, -chip->footprintLength / 2 - 2, 3, chip->instanceName, 0, RGB(255, 255, 255));
}

int DifferentPixels(const comptest::FootprintCanvas& a, const comptest::FootprintCanvas& b) {
  int n = 0;
  for (int y = 0; y < a.painter.height; ++y)
    for (int x = 0; x < a.painter.width; ++x) n += GetPixel(a.painter.dc, x, y) != GetPixel(b.painter.dc, x, y);
  return n;
}

TEST(Avr, TheFootprintMarksTheCyrillicModelUpToItsComma) {
  // "Микро-8,Х" in code page 1251.
  const char cyrillic[] = "\xCC\xE8\xEA\xF0\xEE-8,\xD5";
  struct Case {
    const char* n;
    const char* corps;
    const char* model;
    const wchar_t* marked;
  };
  const Case cases[] = {
      {"28", "0", cyrillic, L"Микро-8"},
      {"40", "1", cyrillic, L"Микро-8"},
      {"44", "2", cyrillic, L"Микро-8"},
      {"64", "2", "ATmega128A-AU", L"ATmega128A-AU"},
      // 31 characters at most.
      {"32", "2", "ATmega328P-AU-1234567890123456789", L"ATmega328P-AU-12345678901234567"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.n << " pins, package " << c.corps);
    UnitBench bench;
    Model m = Package(c.n, c.corps);
    m.model = c.model;
    CAVR* chip = Make(bench, m);
    ASSERT_NE(nullptr, chip);
    chip->boardX = 2;
    chip->boardY = -3;
    chip->orientation = 1;
    comptest::FootprintCanvas drawn(10, 500, 500), expected(10, 500, 500);
    EXPECT_TRUE(drawn.Paint(chip));
    PaintExpectedFootprint(&expected.painter, chip, c.marked);
    EXPECT_GT(drawn.InkCount(), 0);
    EXPECT_EQ(0, DifferentPixels(drawn, expected));
    // The marking is there: without it the pictures differ.
    comptest::FootprintCanvas unmarked(10, 500, 500);
    PaintExpectedFootprint(&unmarked.painter, chip, L"");
    EXPECT_GT(DifferentPixels(drawn, unmarked), 0);
    if (c.corps[0] == '0') drawn.Save(L"avr_footprint.bmp");
  }
}

TEST(Avr, AnUnknownPackageDrawsOnlyTheInstanceName) {
  UnitBench bench;
  CAVR* chip = Make(bench, Package("28", "0"));
  ASSERT_NE(nullptr, chip);
  chip->corps = 5;
  comptest::FootprintCanvas drawn(10, 500, 500);
  // The white name on the white board: nothing shows.
  EXPECT_TRUE(drawn.Paint(chip));
  EXPECT_EQ(0, drawn.InkCount());
  // A chip without pins likewise.
  CAVR* empty = bench.Create<CAVR>("AVR");
  ASSERT_NE(nullptr, empty);
  EXPECT_TRUE(drawn.Paint(empty));
  EXPECT_EQ(0, drawn.InkCount());
}

// ---------------------------------------------------------------- records

const size_t kHeadBytes = 34;

std::vector<uint8_t> BaseRecord(CSCHBlock* block) {
  CMemoryStream s;
  block->CSCHBlock::Save(&s);
  return comptest::StreamBytes(s);
}

size_t Find(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& what) {
  for (size_t i = 0; i + what.size() <= bytes.size(); ++i)
    if (std::equal(what.begin(), what.end(), bytes.begin() + i)) return i;
  return std::string::npos;
}

Model RecordModel() {
  Model m = Package("32", "2");
  m.Umin = "1.8";
  m.I = "12";
  m.ADC = "8";
  m.UART = "1";
  m.ROM = "32";
  m.RAM = "2048";
  m.PWM = "6";
  m.PCINTx = "1";
  m.program = "1";
  return m;
}

TEST(Avr, TheRecordIsTheModelThePinCountTheBaseRecordAndTheProgram) {
  UnitBench bench;
  CAVR* chip = Make(bench, RecordModel());
  ASSERT_NE(nullptr, chip);
  ASSERT_NE(nullptr, chip->GetProgram()->CreateBlock(kBeAddClassId));
  std::vector<uint8_t> bytes = comptest::SaveBytes(chip);
  std::vector<uint8_t> head = comptest::Golden()
                                  .B(2)           // package
                                  .B(1)           // programming interface
                                  .F(1.8f)        // Umin
                                  .F(5.5f)        // Umax
                                  .F(0.012f)      // I, amperes
                                  .B(8)           // ADC
                                  .B(1)           // UART
                                  .F(16)          // MHz
                                  .I(32)          // ROM, KB
                                  .I(2048)        // RAM, bytes
                                  .B(3 * 32 + 6)  // timers and PWM
                                  .B(1)           // pin-change flag
                                  .I(32)          // pins
                                  .Bytes();
  ASSERT_EQ(kHeadBytes, head.size());
  std::vector<uint8_t> base = BaseRecord(chip);
  ASSERT_GT(bytes.size(), head.size() + base.size() + 4);
  EXPECT_EQ(head, std::vector<uint8_t>(bytes.begin(), bytes.begin() + head.size()));
  EXPECT_EQ(base, std::vector<uint8_t>(bytes.begin() + head.size(), bytes.begin() + head.size() + base.size()));
  EXPECT_EQ(0, memcmp(bytes.data() + head.size() + base.size(), "BE5 ", 4));
}

TEST(Avr, EveryPackageRoundTripsThroughTheScheme) {
  struct Case {
    const char* n;
    const char* corps;
    const char* timers;
    const char* pwm;
  };
  const Case cases[] = {{"28", "1", "3", "3"}, {"32", "2", "3", "6"}, {"40", "0", "4", "8"},
                        {"44", "2", "4", "8"}, {"64", "2", "4", "7"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    UnitBench bench;
    devtest::ReadErrorHost errors;
    Model m = RecordModel();
    m.n = c.n;
    m.corps = c.corps;
    m.Timers = c.timers;
    m.PWM = c.pwm;
    CAVR* chip = Make(bench, m);
    ASSERT_NE(nullptr, chip);
    chip->MoveTo(140, 60);
    chip->boardX = 12.5f;
    ASSERT_NE(nullptr, chip->GetProgram()->CreateBlock(kBeAddClassId));
    CSCHBlock* ground = bench.Create<CSCHBlock>("GND");
    ASSERT_NE(nullptr, ground);
    bench.Wire(chip, 3, ground, 0);
    std::vector<uint8_t> bytes = comptest::SaveBytes(chip);

    std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
    ASSERT_NE(nullptr, copy);
    CAVR* read = dynamic_cast<CAVR*>(copy->FindBlockByName(L"DD1"));
    ASSERT_NE(nullptr, read);
    EXPECT_EQ(chip->pinCount, read->pinCount);
    EXPECT_EQ(chip->corps, read->corps);
    EXPECT_EQ(atoi(c.timers), read->Timers);
    EXPECT_EQ(atoi(c.pwm), read->PWM);
    EXPECT_EQ(chip->freq, read->freq);
    EXPECT_EQ(chip->Imax, read->Imax);
    EXPECT_EQ(chip->programmer, read->programmer);
    EXPECT_EQ(chip->rect.left, read->rect.left);
    EXPECT_EQ(chip->rect.bottom, read->rect.bottom);
    EXPECT_EQ(chip->footprintLength, read->footprintLength);
    EXPECT_EQ(12.5f, read->boardX);
    for (int i = 0; i < chip->pinCount; ++i) {
      EXPECT_EQ(chip->pins[i].name, read->pins[i].name) << i;
      EXPECT_EQ(chip->pins[i].description, read->pins[i].description) << i;
      EXPECT_EQ(chip->pins[i].side, read->pins[i].side) << i;
    }
    ASSERT_NE(nullptr, read->pins[3].wire);
    BeScheme* program = read->GetProgram();
    EXPECT_EQ(read, program->owner);
    EXPECT_EQ(chip->GetProgram()->GetBlockCount(), program->GetBlockCount());
    EXPECT_GT(program->GetBlockCount(), 1);
    EXPECT_EQ(chip->GetProgram()->frequency, program->frequency);
    EXPECT_EQ(chip->GetProgram()->romLimit, program->romLimit);
    EXPECT_EQ(2048, program->ramLimit);
    EXPECT_EQ(bytes, devtest::ResavedBytes(read));
    EXPECT_TRUE(errors.texts.empty());
  }
}

TEST(Avr, ACombinedTimerByteOfNoTimersReadsAsThree) {
  UnitBench bench;
  CAVR* chip = Make(bench, Package("28", "1"));
  ASSERT_NE(nullptr, chip);
  std::vector<uint8_t> bytes = comptest::SaveBytes(chip);
  ASSERT_EQ(3 * 32 + 3, bytes[28]);
  bytes[28] = 5;  // no timers, 5 PWM channels
  std::unique_ptr<CAVR> copy = comptest::NewDetached<CAVR>("AVR");
  ASSERT_NE(nullptr, copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(28, copy->pinCount);
  EXPECT_EQ(3, copy->Timers);
  EXPECT_EQ(5, copy->PWM);
  // The chip of a model without a "Timers" key keeps 0, stored so.
  Model m = Package("28", "1");
  m.Timers = "0";
  CAVR* none = Make(bench, m);
  ASSERT_NE(nullptr, none);
  EXPECT_EQ(0, none->Timers);
  EXPECT_EQ(3, comptest::SaveBytes(none)[28]);
}

TEST(Avr, ARecordThisChipDoesNotKnowFailsTheReadAndLeavesNothing) {
  struct Case {
    size_t at;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {0, {3}},                       // package
      {0, {0xFF}},
      {28, {2 * 32 + 3}},             // two timers
      {28, {5 * 32 + 3}},             // five
      {28, {3 * 32 + 9}},             // nine PWM channels
      {30, {30, 0, 0, 0}},            // pins
      {30, {0xFF, 0xFF, 0xFF, 0xFF}},  // -1
      {30, {0, 0, 0, 0x40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "at " << c.at << " " << int(c.bytes[0]));
    UnitBench bench;
    devtest::ReadErrorHost errors;
    CAVR* chip = Make(bench, RecordModel());
    ASSERT_NE(nullptr, chip);
    std::vector<uint8_t> head(comptest::SaveBytes(chip));
    head.resize(kHeadBytes);
    bench.Create<CSCHBlock>("GND");
    CMemoryStream out;
    bench.scheme->Write(&out, 0);
    std::vector<uint8_t> stream = comptest::StreamBytes(out);
    size_t where = Find(stream, head);
    ASSERT_NE(std::string::npos, where);
    std::copy(c.bytes.begin(), c.bytes.end(), stream.begin() + where + c.at);
    CMemoryStream in;
    in.Write(stream.data(), static_cast<int>(stream.size()));
    in.Seek(0, 0);
    SchScheme copy;
    EXPECT_FALSE(copy.Read(&in, 0));
    EXPECT_EQ(0, copy.BlockCount());

    // Read on its own, the record changes nothing of the chip.
    std::vector<uint8_t> record = comptest::SaveBytes(chip);
    std::copy(c.bytes.begin(), c.bytes.end(), record.begin() + c.at);
    std::unique_ptr<CAVR> detached = comptest::NewDetached<CAVR>("AVR");
    ASSERT_NE(nullptr, detached);
    comptest::LoadBytes(detached.get(), record);
    EXPECT_EQ(0, detached->pinCount);
    EXPECT_EQ(kUnitAvrWideDip, detached->corps);
    EXPECT_EQ(1.0f, detached->freq);
    EXPECT_EQ(nullptr, detached->instanceName);
  }
}

TEST(Avr, EveryCutOfADocumentWithAChipFailsAndKeepsNothing) {
  UnitBench bench;
  devtest::ReadErrorHost errors;
  CAVR* chip = Make(bench, RecordModel());
  ASSERT_NE(nullptr, chip);
  ASSERT_NE(nullptr, chip->GetProgram()->CreateBlock(kBeAddClassId));
  CMemoryStream out;
  bench.scheme->Write(&out, 0);
  std::vector<uint8_t> stream = comptest::StreamBytes(out);
  for (size_t n = 0; n < stream.size(); ++n) {
    CMemoryStream in;
    if (n) in.Write(stream.data(), static_cast<int>(n));
    in.Seek(0, 0);
    SchScheme copy;
    EXPECT_FALSE(copy.Read(&in, 0)) << n;
    EXPECT_EQ(0, copy.BlockCount()) << n;
  }
  // A record cut inside its own fields leaves a chip as it was.
  std::vector<uint8_t> record = comptest::SaveBytes(chip);
  for (size_t n = 0; n < kHeadBytes; ++n) {
    std::unique_ptr<CAVR> detached = comptest::NewDetached<CAVR>("AVR");
    ASSERT_NE(nullptr, detached);
    comptest::LoadBytes(detached.get(), std::vector<uint8_t>(record.begin(), record.begin() + n));
    EXPECT_EQ(0, detached->pinCount) << n;
    EXPECT_EQ(1.0f, detached->freq) << n;
  }
}

TEST(Avr, AChipWhoseModelWasRefusedSavesAndReadsBackWithoutPins) {
  UnitBench bench;
  CAVR* chip = Make(bench, Package("30", "0"));
  ASSERT_NE(nullptr, chip);
  ASSERT_EQ(0, chip->pinCount);
  std::vector<uint8_t> bytes = comptest::SaveBytes(chip);
  ASSERT_GT(bytes.size(), kHeadBytes);
  EXPECT_EQ(comptest::Golden().I(0).Bytes(), std::vector<uint8_t>(bytes.begin() + 30, bytes.begin() + 34));
  std::unique_ptr<SchScheme> copy = comptest::ReadBack(bench.scheme);
  ASSERT_NE(nullptr, copy);
  CAVR* read = dynamic_cast<CAVR*>(copy->FindBlockByName(L"DD1"));
  ASSERT_NE(nullptr, read);
  EXPECT_EQ(0, read->pinCount);
  EXPECT_STREQ("ATmega8A-PU", read->model);
  EXPECT_EQ(80, read->rect.right - read->rect.left);
  EXPECT_EQ(bytes, devtest::ResavedBytes(read));
}

}  // namespace
