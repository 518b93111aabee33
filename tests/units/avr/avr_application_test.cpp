// Applying an AVR model: the pin blocks and peripherals made in the
// program, the crystal, grounds and programming header added around the
// chip with their places, flags and wiring, and a model applied again.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/mcu/avr_timer.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/uart.h"
#include "components/electronic/connectors/pls_connector.h"
#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/discrete/quartz.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "units/avr/avr.h"
#include "units/avr/avr_circuit.h"
#include "units/avr/avr_kit.h"
#include "units/avr/avr_program_blocks.h"

namespace {

using avrtest::Make;
using avrtest::Model;
using avrtest::UnitBench;

// A chip of the bench, its symbol's place before the model was applied in
// *before.
CAVR* MakeNoting(UnitBench& bench, const Model& m, RECT* before) {
  CAVR* chip = bench.Create<CAVR>("AVR");
  if (!chip) return nullptr;
  *before = chip->rect;
  std::unique_ptr<comptest::DbRow> row = avrtest::Row(m);
  chip->ApplyDbRecord(row->Record());
  return chip;
}

Model Chip(const char* n, const char* corps, const char* freq, const char* program) {
  Model m = avrtest::Package(n, corps);
  m.freq = freq;
  m.program = program;
  return m;
}

// The pin blocks of the program by chip pin (0-based).
std::vector<CBEIOPort*> PinBlocks(CAVR* chip) {
  std::vector<CBEIOPort*> ports;
  for (CBEBlock* b = chip->GetProgram()->blocks; b; b = b->next)
    if (CBEIOPort* p = dynamic_cast<CBEIOPort*>(b)) ports.push_back(p);
  std::sort(ports.begin(), ports.end(), [](CBEIOPort* a, CBEIOPort* b) { return a->pinId < b->pinId; });
  return ports;
}

std::set<int> PinIds(CAVR* chip) {
  std::set<int> ids;
  for (CBEIOPort* p : PinBlocks(chip)) ids.insert(p->pinId);
  return ids;
}

// The pins first..last (1-based) as 0-based indices.
std::set<int> Range(std::set<int> ids, int first, int last) {
  for (int pin = first; pin <= last; ++pin) ids.insert(pin - 1);
  return ids;
}

std::vector<CBEBlock*> BlocksOf(CAVR* chip, unsigned int classId) {
  std::vector<CBEBlock*> blocks;
  for (CBEBlock* b = chip->GetProgram()->blocks; b; b = b->next)
    if (b->GetClassId() == classId) blocks.push_back(b);
  std::sort(blocks.begin(), blocks.end(), [](CBEBlock* a, CBEBlock* b) { return a->rect.top < b->rect.top; });
  return blocks;
}

std::vector<CSCHBlock*> Children(CAVR* chip, const char* className) {
  std::vector<CSCHBlock*> parts;
  for (int i = 0; i < chip->childCount; ++i)
    if (chip->children[i]->className && std::string(chip->children[i]->className) == className)
      parts.push_back(chip->children[i]);
  return parts;
}

int WireCount(SchScheme* s) {
  int n = 0;
  for (SchWire* w = s->wires; w; w = w->next) n++;
  return n;
}

std::vector<SchJunction*> Junctions(SchScheme* s) {
  std::vector<SchJunction*> list;
  for (SchJunction* j = s->junctions; j; j = j->next) list.push_back(j);
  return list;
}

// The block and pin at the other end of the wire at a pin (a wire from pin
// to pin); null when there is none.
CSCHBlock* OtherEnd(CSCHBlock* block, int pin, int* otherPin) {
  SchWire* w = block->pins[pin].wire;
  if (!w) return nullptr;
  const int end = block->pins[pin].wireEnd ^ 1;
  if (otherPin) *otherPin = w->ends[end].index;
  return w->GetEndBlock(end);
}

// Whether the pin is wired straight to a ground symbol with the flags.
bool WiredToGround(CSCHBlock* block, int pin, unsigned char flags) {
  CSCHBlock* other = OtherEnd(block, pin, nullptr);
  return other && other->className && std::string(other->className) == "GND" && other->flags == flags &&
         other->parent == (block->parent ? block->parent : block);
}

TEST(AvrApplication, A28PinChipAt1MHzGetsPinBlocksPeripheralsGroundsAndAnSpiHeader) {
  UnitBench bench;
  RECT before;
  CAVR* chip = MakeNoting(bench, Chip("28", "1", "1", "0"), &before);
  ASSERT_NE(nullptr, chip);
  ASSERT_EQ(28, chip->pinCount);

  // Pins 2-6, 9-19 and 23-28 (PB6 and PB7 included), not RESET.
  std::set<int> expected = Range(Range(Range({}, 2, 6), 9, 19), 23, 28);
  EXPECT_EQ(expected, PinIds(chip));
  for (CBEIOPort* p : PinBlocks(chip)) {
    EXPECT_EQ(kBeBlockDevice, p->flags) << p->pinId;
    EXPECT_EQ(CBEIOPort::kModeInput, p->mode) << p->pinId;
    EXPECT_EQ(std::wstring(chip->pins[p->pinId].description), p->GetCaption()) << p->pinId;
  }

  // The peripherals in a column at x 400 from y 20.
  std::vector<CBEBlock*> uarts = BlocksOf(chip, kBeAvrUARTClassId);
  ASSERT_EQ(1u, uarts.size());
  EXPECT_EQ(400, uarts[0]->rect.left);
  EXPECT_EQ(20, uarts[0]->rect.top);
  EXPECT_EQ(255, static_cast<CBEUART*>(uarts[0])->number);  // no number
  std::vector<CBEBlock*> timers = BlocksOf(chip, kBeAvrTimerClassId);
  ASSERT_EQ(3u, timers.size());
  const int channels[3] = {0, 2, 1};
  const int wide[3] = {0, 1, 0};
  for (int k = 0; k < 3; ++k) {
    CBEAvrTimer* t = static_cast<CBEAvrTimer*>(timers[k]);
    EXPECT_EQ(400, t->rect.left);
    EXPECT_EQ(120 + 100 * k, t->rect.top);
    EXPECT_EQ(k, t->number);
    EXPECT_EQ(channels[k], t->channelCount);
    EXPECT_EQ(wide[k], t->wide);
    if (!wide[k]) {
      EXPECT_EQ(255, t->top);
    }
  }
  const unsigned int last[3] = {kBeAvrADCClassId, kBeAvrTWIClassId, kBeAvrSPIClassId};
  for (int k = 0; k < 3; ++k) {
    std::vector<CBEBlock*> b = BlocksOf(chip, last[k]);
    ASSERT_EQ(1u, b.size()) << k;
    EXPECT_EQ(400, b[0]->rect.left);
    EXPECT_EQ(420 + 100 * k, b[0]->rect.top);
  }

  // No crystal: the symbol stays; grounds on pins 8 and 22; the header.
  EXPECT_EQ(before.left, chip->rect.left);
  EXPECT_EQ(before.top, chip->rect.top);
  EXPECT_TRUE(Children(chip, "Quartz").empty());
  EXPECT_TRUE(Children(chip, "Capacitor").empty());
  EXPECT_EQ(3u, Children(chip, "GND").size());
  EXPECT_EQ(4, chip->childCount);
  EXPECT_TRUE(WiredToGround(chip, 7, 0x0C));
  EXPECT_TRUE(WiredToGround(chip, 21, 0x0C));
  EXPECT_TRUE(Junctions(bench.scheme).empty());
  EXPECT_EQ(7, WireCount(bench.scheme));
  for (SchWire* w = bench.scheme->wires; w; w = w->next) EXPECT_EQ(0x0C, w->flags);

  std::vector<CSCHBlock*> headers = Children(chip, "PLS");
  ASSERT_EQ(1u, headers.size());
  CPLSConnector* header = dynamic_cast<CPLSConnector*>(headers[0]);
  ASSERT_NE(nullptr, header);
  EXPECT_STREQ("PLS/BLS", header->model);
  EXPECT_STREQ("1:3", header->options);
  EXPECT_EQ(std::wstring(L"connectors"), header->tableName);
  EXPECT_EQ(std::wstring(L"Разъем под SPI-программатор"), header->typeText);
  EXPECT_EQ(5, header->pinCount);
  EXPECT_EQ(0x0E, header->flags);
  EXPECT_EQ(2, header->side);
  EXPECT_EQ(0, header->orientation);
  EXPECT_FLOAT_EQ(7.62f, header->boardX);
  EXPECT_FLOAT_EQ(6.35f, header->boardY);
  // Beside the chip, 50 px right of pin 21's anchor.
  EXPECT_EQ(chip->GetPinAnchor(20).x + 50, header->rect.left);
  EXPECT_TRUE(WiredToGround(header, 0, 0x0C));
  const int wiredTo[5] = {-1, 1, 19, 18, 17};
  for (int k = 1; k < 5; ++k) {
    int pin = -1;
    EXPECT_EQ(chip, OtherEnd(header, k, &pin)) << k;
    EXPECT_EQ(wiredTo[k] - 1, pin) << k;
  }
}

TEST(AvrApplication, A28PinChipAt16MHzGetsTheCrystalAndMovesRight) {
  UnitBench bench;
  RECT before;
  CAVR* chip = MakeNoting(bench, Chip("28", "1", "16", "0"), &before);
  ASSERT_NE(nullptr, chip);
  ASSERT_LT(before.top, 100);
  // XTAL1 and XTAL2 (pins 9 and 10) get no pin block at 16 MHz.
  EXPECT_EQ(Range(Range(Range({}, 2, 6), 11, 19), 23, 28), PinIds(chip));
  EXPECT_EQ(before.left + 120, chip->rect.left);
  EXPECT_EQ(100, chip->rect.top);

  std::vector<CSCHBlock*> quartzes = Children(chip, "Quartz");
  ASSERT_EQ(1u, quartzes.size());
  CQuartz* quartz = dynamic_cast<CQuartz*>(quartzes[0]);
  ASSERT_NE(nullptr, quartz);
  EXPECT_EQ(16.0f, quartz->frequency);
  EXPECT_EQ(0x0E, quartz->flags);
  EXPECT_NEAR(-8.89f, quartz->boardX, 1e-5);  // -5.08 - 7.62 / 2
  EXPECT_EQ(0.0f, quartz->boardY);
  EXPECT_EQ(before.left, quartz->rect.left);
  EXPECT_EQ(chip->GetPinAnchor(8).y - 6, quartz->rect.top);

  std::vector<CSCHBlock*> caps = Children(chip, "Capacitor");
  ASSERT_EQ(2u, caps.size());
  const RECT q = quartz->rect;
  for (int k = 0; k < 2; ++k) {
    CCapacitor* c = dynamic_cast<CCapacitor*>(caps[k]);
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(1.5e-11f, c->capacitance);
    EXPECT_EQ(1, c->symbolOrientation);
    EXPECT_EQ(kElecCapacitorCeramic, c->kind);
    EXPECT_EQ(kSchSideRight, c->pins[0].side);
    EXPECT_EQ(0x0E, c->flags);
    EXPECT_NEAR(-13.97f, c->boardX, 1e-5);
    EXPECT_NEAR(k == 0 ? -3.81f : 3.81f, c->boardY, 1e-5);
    EXPECT_EQ(before.left - 60, c->rect.left);
    EXPECT_EQ(k == 0 ? q.top - 24 : q.bottom, c->rect.top);
    // Its ground 30 px left and 24 px below its top.
    int pin = -1;
    CSCHBlock* g = OtherEnd(c, 1, &pin);
    ASSERT_NE(nullptr, g);
    EXPECT_TRUE(WiredToGround(c, 1, 0x04));
    EXPECT_EQ(c->rect.left - 30, g->rect.left);
    EXPECT_EQ(c->rect.top + 24, g->rect.top);
  }
  EXPECT_EQ(5u, Children(chip, "GND").size());
  EXPECT_EQ(1u, Children(chip, "PLS").size());

  std::vector<SchJunction*> junctions = Junctions(bench.scheme);
  ASSERT_EQ(2u, junctions.size());
  std::set<std::pair<int, int>> places, wanted = {{q.left + 12, q.top - 12}, {q.left + 12, q.bottom + 12}};
  for (SchJunction* j : junctions) {
    places.insert({j->x, j->y});
    EXPECT_EQ(0x04, j->flags);
    int wires = 0;
    for (SchWire* w : j->wires) wires += w ? 1 : 0;
    EXPECT_EQ(3, wires);
  }
  EXPECT_EQ(wanted, places);
  EXPECT_EQ(7 + 8, WireCount(bench.scheme));

  // The wiring: X1 with the quartz's pin 1 and the first capacitor, X2 with
  // pin 2 and the second, the capacitors' other pins on ground.
  bench.scheme->BuildNets();
  SchNet* x1 = chip->pins[8].net;
  SchNet* x2 = chip->pins[9].net;
  ASSERT_NE(nullptr, x1);
  ASSERT_NE(nullptr, x2);
  EXPECT_NE(x1, x2);
  EXPECT_EQ(x1, quartz->pins[0].net);
  EXPECT_EQ(x1, caps[0]->pins[0].net);
  EXPECT_EQ(x2, quartz->pins[1].net);
  EXPECT_EQ(x2, caps[1]->pins[0].net);
  EXPECT_EQ(bench.scheme->groundNet, caps[0]->pins[1].net);
  EXPECT_EQ(bench.scheme->groundNet, caps[1]->pins[1].net);
  EXPECT_EQ(bench.scheme->groundNet, chip->pins[7].net);
  bench.scheme->DeleteNets();
}

TEST(AvrApplication, A64PinChipWithJtagTurnsItsCrystalAndJoinsTheHeadersGroundToPin53) {
  UnitBench bench;
  Model m = Chip("64", "2", "16", "1");
  m.UART = "2";
  m.Timers = "4";
  m.PWM = "7";
  CAVR* chip = Make(bench, m);
  ASSERT_NE(nullptr, chip);
  ASSERT_EQ(64, chip->pinCount);
  // Ports A to F of 8 pins and G of 5; the JTAG functions stand in the
  // descriptions, so no pin is skipped for them.
  EXPECT_EQ(53u, PinBlocks(chip).size());
  EXPECT_EQ(1u, PinIds(chip).count(53));  // pin 54, PF7/TDI

  std::vector<CBEBlock*> uarts = BlocksOf(chip, kBeAvrUARTClassId);
  ASSERT_EQ(2u, uarts.size());
  for (int j = 0; j < 2; ++j) {
    EXPECT_EQ(20 + 100 * j, uarts[j]->rect.top);
    EXPECT_EQ(j, static_cast<CBEUART*>(uarts[j])->number);
    EXPECT_EQ(std::wstring(j ? L"UART1" : L"UART0"), uarts[j]->GetCaption());
  }
  std::vector<CBEBlock*> timers = BlocksOf(chip, kBeAvrTimerClassId);
  ASSERT_EQ(4u, timers.size());
  const int channels[4] = {1, 3, 1, 3};
  for (int k = 0; k < 4; ++k) {
    CBEAvrTimer* t = static_cast<CBEAvrTimer*>(timers[k]);
    EXPECT_EQ(220 + 100 * k, t->rect.top);
    EXPECT_EQ(channels[k], t->channelCount);
    EXPECT_EQ(k % 2, t->wide);
  }
  EXPECT_EQ(620, BlocksOf(chip, kBeAvrADCClassId).at(0)->rect.top);
  EXPECT_EQ(820, BlocksOf(chip, kBeAvrSPIClassId).at(0)->rect.top);

  // The crystal below the chip, turned three quarters around it on the
  // board: (-15.32, 0) becomes (0, 15.32).
  CSCHBlock* quartz = Children(chip, "Quartz").at(0);
  EXPECT_EQ(chip->rect.bottom + 40, quartz->rect.top);
  EXPECT_EQ(chip->rect.left - 120, quartz->rect.left);
  EXPECT_NEAR(0.0f, quartz->boardX, 1e-5);
  EXPECT_NEAR(15.32f, quartz->boardY, 1e-4);
  EXPECT_EQ(3, quartz->orientation);
  std::vector<CSCHBlock*> caps = Children(chip, "Capacitor");
  ASSERT_EQ(2u, caps.size());
  EXPECT_NEAR(-3.81f, caps[0]->boardX, 1e-4);
  EXPECT_NEAR(20.4f, caps[0]->boardY, 1e-4);
  EXPECT_NEAR(3.81f, caps[1]->boardX, 1e-4);
  EXPECT_NEAR(20.4f, caps[1]->boardY, 1e-4);

  // Pin 53's ground wire carries the header's junction (below).
  for (int pin : {22, 63}) EXPECT_TRUE(WiredToGround(chip, pin - 1, 0x0C)) << pin;

  CPLSConnector* header = dynamic_cast<CPLSConnector*>(Children(chip, "PLS").at(0));
  ASSERT_NE(nullptr, header);
  EXPECT_EQ(6, header->pinCount);
  EXPECT_STREQ("1:4", header->options);
  EXPECT_EQ(std::wstring(L"Разъем под JTAG-программатор"), header->typeText);
  EXPECT_EQ(1, header->side);
  EXPECT_EQ(3, header->orientation);
  EXPECT_FLOAT_EQ(0.0f, header->boardX);
  EXPECT_FLOAT_EQ(-15.24f, header->boardY);
  const int wiredTo[5] = {57, 56, 55, 54, 20};
  for (int k = 0; k < 5; ++k) {
    int pin = -1;
    EXPECT_EQ(chip, OtherEnd(header, k, &pin)) << k;
    EXPECT_EQ(wiredTo[k] - 1, pin) << k;
  }
  // The header's ground meets the wire of pin 53 in a junction 18 px above
  // the chip.
  const POINT a53 = chip->GetPinAnchor(52);
  SchJunction* join = nullptr;
  for (SchJunction* j : Junctions(bench.scheme))
    if (j->x == a53.x && j->y == chip->rect.top - 18) join = j;
  ASSERT_NE(nullptr, join);
  EXPECT_EQ(0x0C, join->flags);
  bench.scheme->BuildNets();
  ASSERT_NE(nullptr, header->pins[5].net);
  EXPECT_EQ(bench.scheme->groundNet, header->pins[5].net);
  EXPECT_EQ(bench.scheme->groundNet, chip->pins[52].net);
  bench.scheme->DeleteNets();
}

TEST(AvrApplication, A32PinChipGivesItsAnalogOnlyPinsHardwareBlocksAndSharesAGround) {
  UnitBench bench;
  Model m = Chip("32", "2", "16", "0");
  m.PWM = "6";
  CAVR* chip = Make(bench, m);
  ASSERT_NE(nullptr, chip);
  int analog = 0;
  for (CBEIOPort* p : PinBlocks(chip)) {
    if (p->pinId != 18 && p->pinId != 21) continue;  // ADC6, ADC7
    analog++;
    EXPECT_EQ(CBEIOPort::kModeAltInput, p->mode);
    ASSERT_EQ(1, p->outputCount);
    EXPECT_EQ(1, p->outputs[0]->hardware);
  }
  EXPECT_EQ(2, analog);
  // Pins 3 and 5 meet in one junction (0x0C) above one ground symbol.
  bench.scheme->BuildNets();
  ASSERT_NE(nullptr, chip->pins[2].net);
  EXPECT_EQ(chip->pins[2].net, chip->pins[4].net);
  bench.scheme->DeleteNets();
  int shared = 0;
  for (SchJunction* j : Junctions(bench.scheme)) {
    if (j->flags != 0x0C) continue;
    shared++;
    int wires = 0;
    for (SchWire* w : j->wires) wires += w ? 1 : 0;
    EXPECT_EQ(3, wires);  // pin 3, pin 5, the symbol
  }
  EXPECT_EQ(1, shared);
  // Grounds: the shared one, pin 21's, the header's and the crystal's two.
  EXPECT_EQ(5u, Children(chip, "GND").size());
  EXPECT_TRUE(WiredToGround(chip, 20, 0x0C));
}

struct HeaderCase {
  const char* n;
  const char* corps;
  std::set<int> noBlock;   // 1-based
  int pins;                // header pins, 0 for none
  std::vector<int> wired;  // chip pins of header pins 2.. (1-based)
};

TEST(AvrApplication, TheJtagInterfaceSkipsOnlyPinsNamedForItAndWiresItsHeader) {
  const HeaderCase cases[] = {
      {"40", "0", {24, 25, 26, 27}, 6, {9, 27, 26, 25, 24}},
      {"44", "2", {}, 6, {4, 24, 23, 22, 21}},
      {"28", "1", {}, 0, {}},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.n);
    UnitBench bench;
    CAVR* chip = Make(bench, Chip(c.n, c.corps, "8", "1"));
    ASSERT_NE(nullptr, chip);
    std::set<int> ids = PinIds(chip);
    for (int pin : c.noBlock) EXPECT_EQ(0u, ids.count(pin - 1)) << pin;
    // The JTAG pins: without blocks where their short names say TDI, TDO,
    // TCK or TMS (40 pins), with blocks where they do not (44 pins).
    for (int pin : c.wired) {
      if (pin == 9 || pin == 4) continue;  // RESET
      EXPECT_EQ(c.noBlock.empty() ? 1u : 0u, ids.count(pin - 1)) << pin;
    }
    std::vector<CSCHBlock*> headers = Children(chip, "PLS");
    if (c.pins == 0) {
      EXPECT_TRUE(headers.empty());
      continue;
    }
    ASSERT_EQ(1u, headers.size());
    CSCHBlock* header = headers[0];
    EXPECT_EQ(c.pins, header->pinCount);
    EXPECT_STREQ("1:4", header->options);
    EXPECT_TRUE(WiredToGround(header, 0, 0x0C));
    for (size_t k = 0; k < c.wired.size(); ++k) {
      int pin = -1;
      EXPECT_EQ(chip, OtherEnd(header, static_cast<int>(k) + 1, &pin)) << k;
      EXPECT_EQ(c.wired[k] - 1, pin) << k;
    }
  }
}

TEST(AvrApplication, UartAndTimerCountsSetTheColumn) {
  struct Case {
    const char* uart;
    const char* timers;
    const char* pwm;
    int uarts;
    int timerBlocks;
    int adcTop;
  };
  const Case cases[] = {
      {"2", "3", "3", 2, 3, 520},  // UARTs at 20 and 120, timers from 220
      {"1", "3", "5", 1, 0, 120},  // no pair for 3 and 5: the ADC follows the UART
      {"0", "4", "8", 0, 4, 420},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.uart << " " << c.timers << " " << c.pwm);
    UnitBench bench;
    Model m = Chip("40", "0", "1", "0");
    m.UART = c.uart;
    m.Timers = c.timers;
    m.PWM = c.pwm;
    CAVR* chip = Make(bench, m);
    ASSERT_NE(nullptr, chip);
    std::vector<CBEBlock*> uarts = BlocksOf(chip, kBeAvrUARTClassId);
    ASSERT_EQ(static_cast<size_t>(c.uarts), uarts.size());
    for (int j = 0; j < c.uarts; ++j) EXPECT_EQ(20 + 100 * j, uarts[j]->rect.top);
    std::vector<CBEBlock*> timers = BlocksOf(chip, kBeAvrTimerClassId);
    ASSERT_EQ(static_cast<size_t>(c.timerBlocks), timers.size());
    for (int k = 0; k < c.timerBlocks; ++k) EXPECT_EQ(20 + 100 * (c.uarts + k), timers[k]->rect.top);
    EXPECT_EQ(c.adcTop, BlocksOf(chip, kBeAvrADCClassId).at(0)->rect.top);
  }
  int channels[kUnitAvrMaxTimers];
  EXPECT_EQ(0, GetAvrTimerChannels(3, 5, channels));
  EXPECT_EQ(4, GetAvrTimerChannels(4, 8, channels));
  EXPECT_EQ(2, channels[3]);
}

TEST(AvrApplication, ApplyingAgainReplacesWhatTheLastModelMadeAndKeepsTheUsersBlocks) {
  UnitBench bench;
  CAVR* chip = Make(bench, Chip("28", "1", "16", "0"));
  ASSERT_NE(nullptr, chip);
  CBEBlock* own = chip->GetProgram()->CreateBlock(kBeAddClassId);
  ASSERT_NE(nullptr, own);
  const int blocks = chip->GetProgram()->GetBlockCount();
  const int children = chip->childCount;
  const int wires = WireCount(bench.scheme);
  const size_t junctions = Junctions(bench.scheme).size();
  const int schemeBlocks = bench.scheme->BlockCount();

  Model other = Chip("28", "1", "1", "0");
  std::unique_ptr<comptest::DbRow> row = avrtest::Row(other);
  chip->ApplyDbRecord(row->Record());
  // At 1 MHz: two more pin blocks, no crystal.
  EXPECT_EQ(blocks + 2, chip->GetProgram()->GetBlockCount());
  EXPECT_EQ(children - 5, chip->childCount);
  EXPECT_EQ(wires - 8, WireCount(bench.scheme));
  EXPECT_EQ(junctions - 2, Junctions(bench.scheme).size());
  EXPECT_EQ(schemeBlocks - 5, bench.scheme->BlockCount());
  bool kept = false;
  for (CBEBlock* b = chip->GetProgram()->blocks; b; b = b->next) kept = kept || b == own;
  EXPECT_TRUE(kept);

  // And back: the same counts as the first time.
  std::unique_ptr<comptest::DbRow> first = avrtest::Row(Chip("28", "1", "16", "0"));
  chip->ApplyDbRecord(first->Record());
  EXPECT_EQ(blocks, chip->GetProgram()->GetBlockCount());
  EXPECT_EQ(children, chip->childCount);
  EXPECT_EQ(wires, WireCount(bench.scheme));
  EXPECT_EQ(junctions, Junctions(bench.scheme).size());
}

}  // namespace
