#include <vector>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"
#include "blocks/engine/macro/macro.h"
#include "blocks/engine/macro/macro_input.h"
#include "blocks/engine/macro/macro_output.h"
#include "engine_fixture.h"
#include "foundation/buffer_failure_scope.h"
#include "foundation/memory_stream.h"
#include "support/test_support.h"

using betest::Link;
using betest::RecordedMessages;
using betest::UnitCatalogue;

namespace {

std::vector<uint8_t> Bytes(const CMemoryStream& s) {
  return std::vector<uint8_t>(s.data, s.data + s.size);
}

void Rewind(CMemoryStream* s) { s->Seek(0, 0); }

// Two plain blocks, P made first and Q after it, Q's input fed by P's output
// with the route (100, 160, 130). Placement puts P at (150, 40)-(300, 140)
// and Q at (150, 180)-(300, 280).
class TwoBlocks : public ::testing::Test {
protected:
  void SetUp() override {
    scheme.Init(&unit.catalogue);
    p = scheme.CreateBlock(betest::kPlainClassId);
    q = scheme.CreateBlock(betest::kPlainClassId);
    Link(p, 0, q, 0, 100, 160, 130);
  }
  UnitCatalogue unit;
  BeScheme scheme;
  CBEBlock* p = nullptr;
  CBEBlock* q = nullptr;
  RecordedMessages messages;
};

// The stream of TwoBlocks, by hand: magic, count 2, then P and Q (oldest
// first), each its class id 0x7E570001 and its base record; outputs are
// numbered from 1 in writing order, so P's output is 1 and Q's is 2.
const char kTwoBlockStream[] =
    "42 45 35 20  02 00 00 00"
    // P
    "01 00 57 7E  96 00 00 00 28 00 00 00 2C 01 00 00 8C 00 00 00  00 00  00"
    "00 00 00 00  00 00 00 00 00 00 00 00 00 00 00 00"
    "01 00 00 00 00"
    // Q
    "01 00 57 7E  96 00 00 00 B4 00 00 00 2C 01 00 00 18 01 00 00  00 00  00"
    "01 00 00 00  64 00 00 00 A0 00 00 00 82 00 00 00"
    "02 00 00 00 00";

TEST_F(TwoBlocks, SaveWritesTheGoldenStream) {
  CMemoryStream stream;
  scheme.Save(&stream, false);
  EXPECT_TRUE(velktest::BytesEqual(Bytes(stream), velktest::ParseHex(kTwoBlockStream)));
  // Identities exist only while writing; a second save gives the same bytes.
  EXPECT_EQ(0u, p->outputs[0]->savedId);
  EXPECT_EQ(0u, q->outputs[0]->savedId);
  CMemoryStream again;
  scheme.Save(&again, false);
  EXPECT_EQ(Bytes(stream), Bytes(again));
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(TwoBlocks, LoadRestoresOrderLinksAndPlaces) {
  std::vector<uint8_t> bytes = velktest::ParseHex(kTwoBlockStream);
  CMemoryStream stream;
  stream.Write(bytes.data(), static_cast<int>(bytes.size()));
  Rewind(&stream);
  BeScheme copy;
  copy.Init(&unit.catalogue);
  ASSERT_TRUE(copy.Load(&stream, false));
  EXPECT_EQ(static_cast<int>(bytes.size()), stream.position);
  ASSERT_EQ(2, copy.GetBlockCount());
  CBEBlock* q2 = copy.blocks;
  CBEBlock* p2 = q2->next;
  EXPECT_EQ(40, p2->rect.top);
  EXPECT_EQ(180, q2->rect.top);
  EXPECT_EQ(p2->outputs[0], q2->inputs[0]->source);
  EXPECT_EQ(nullptr, p2->inputs[0]->source);
  EXPECT_EQ(100, q2->inputs[0]->routeX1);
  EXPECT_EQ(160, q2->inputs[0]->routeY);
  EXPECT_EQ(130, q2->inputs[0]->routeX2);
  EXPECT_EQ(0u, p2->outputs[0]->savedId);
  EXPECT_EQ(0u, q2->outputs[0]->savedId);
  EXPECT_FALSE(p2->IsSelected());
  EXPECT_FALSE(q2->IsSelected());
}

TEST_F(TwoBlocks, EveryTruncationFailsAndLeavesNothing) {
  const std::vector<uint8_t> bytes = velktest::ParseHex(kTwoBlockStream);
  for (size_t n = 0; n < bytes.size(); ++n) {
    SCOPED_TRACE(n);
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int>(n));
    Rewind(&stream);
    EXPECT_FALSE(scheme.Load(&stream, true));
    EXPECT_EQ(2, scheme.GetBlockCount());
    EXPECT_EQ(q, scheme.blocks);
    EXPECT_FALSE(q->IsSelected());
    EXPECT_EQ(p->outputs[0], q->inputs[0]->source);
  }
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(TwoBlocks, CorruptedStreamsFailCleanly) {
  struct Corruption {
    size_t offset;
    uint8_t value;
    bool boxShown;
  };
  const Corruption cases[] = {
      {0, 'b', false},   // magic
      {3, 0x00, false},  // magic
      {4, 0x03, false},  // count beyond the records
      {7, 0x80, false},  // count far beyond the stream
      {8, 0x09, true},   // class id of P unknown
      {54, 0x03, true},  // class id of Q unknown
  };
  for (const Corruption& c : cases) {
    SCOPED_TRACE(c.offset);
    std::vector<uint8_t> bytes = velktest::ParseHex(kTwoBlockStream);
    bytes[c.offset] = c.value;
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int>(bytes.size()));
    Rewind(&stream);
    size_t boxes = messages.texts.size();
    BeScheme target;
    target.Init(&unit.catalogue);
    EXPECT_FALSE(target.Load(&stream, false));
    EXPECT_EQ(0, target.GetBlockCount());
    EXPECT_EQ(c.boxShown ? boxes + 1 : boxes, messages.texts.size());
  }
  ASSERT_FALSE(messages.texts.empty());
  EXPECT_EQ(L"Ошибка загрузки схемы", messages.captions.back());
}

// Links resolve by output identity whatever the numbers: far apart ones,
// and repeated ones, which the first output in list order (the newest
// block) answers; an identity no output has links nothing.
TEST_F(TwoBlocks, OutputIdentitiesNeedNotRunFromOne) {
  // Three plain records P, Q, R, oldest first: each its input (source,
  // route), its output (identity, hardware byte).
  auto stream = [](const char* pOut, const char* qOut, const char* rIn, const char* rOut) {
    std::string hex = "42 45 35 20  03 00 00 00";
    for (int k = 0; k < 3; ++k) {
      hex += " 01 00 57 7E  96 00 00 00 28 00 00 00 2C 01 00 00 8C 00 00 00  00 00  00 ";
      hex += k == 2 ? rIn : "00 00 00 00";
      hex += " 00 00 00 00 00 00 00 00 00 00 00 00 ";
      hex += k == 0 ? pOut : k == 1 ? qOut : rOut;
      hex += " 00";
    }
    return velktest::ParseHex(hex.c_str());
  };
  struct Case {
    const char* pOut;
    const char* qOut;
    const char* rIn;
    int source;  // 0 none, 1 P, 2 Q
  };
  const Case cases[] = {
      {"00 FF FF 7F", "01 00 00 80", "00 FF FF 7F", 1},  // far apart
      {"01 00 00 80", "00 FF FF 7F", "01 00 00 80", 1},
      {"00 FF FF 7F", "00 FF FF 7F", "00 FF FF 7F", 2},  // repeated, far
      {"03 00 00 00", "03 00 00 00", "03 00 00 00", 2},  // repeated, near
      {"01 00 00 00", "02 00 00 00", "04 00 00 00", 0},  // none has it
      {"00 00 00 80", "02 00 00 00", "09 00 00 00", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rIn);
    std::vector<uint8_t> bytes = stream(c.pOut, c.qOut, c.rIn, "05 00 00 00");
    CMemoryStream in;
    in.Write(bytes.data(), static_cast<int>(bytes.size()));
    Rewind(&in);
    BeScheme copy;
    copy.Init(&unit.catalogue);
    ASSERT_TRUE(copy.Load(&in, false));
    ASSERT_EQ(3, copy.GetBlockCount());
    CBEBlock* r = copy.blocks;
    CBEBlock* q2 = r->next;
    CBEBlock* p2 = q2->next;
    BeOutputPin* expected = c.source == 1 ? p2->outputs[0] : c.source == 2 ? q2->outputs[0] : nullptr;
    EXPECT_EQ(expected, r->inputs[0]->source);
    EXPECT_EQ(nullptr, p2->inputs[0]->source);
    EXPECT_EQ(nullptr, q2->inputs[0]->source);
    for (CBEBlock* b = copy.blocks; b; b = b->next) EXPECT_EQ(0u, b->outputs[0]->savedId);
  }
}

// A load refused the memory to link its blocks fails and leaves the scheme
// as it was.
TEST_F(TwoBlocks, RefusedMemoryFailsTheLoadAndLeavesTheScheme) {
  CMemoryStream stream;
  scheme.Save(&stream, false);
  Rewind(&stream);
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(scheme.Load(&stream, false));
    EXPECT_GT(refuse.GetRefusals(), 0);
  }
  EXPECT_EQ(2, scheme.GetBlockCount());
  EXPECT_EQ(q, scheme.blocks);
  EXPECT_EQ(p->outputs[0], q->inputs[0]->source);
  Rewind(&stream);
  ASSERT_TRUE(scheme.Load(&stream, false));
  ASSERT_EQ(4, scheme.GetBlockCount());
  EXPECT_EQ(scheme.blocks->next->outputs[0], scheme.blocks->inputs[0]->source);
}

TEST_F(TwoBlocks, OldMagicIsRefusedAfterThreeBytes) {
  CMemoryStream stream;
  stream.Write("BE4 \x00\x00\x00\x00", 8);
  Rewind(&stream);
  EXPECT_FALSE(scheme.Load(&stream, false));
  EXPECT_EQ(3, stream.position);
}

TEST_F(TwoBlocks, ThreeBlocksComeBackInTheirOrder) {
  CBEBlock* r = scheme.CreateBlock(betest::kTwoByTwoClassId);
  r->SetCaption(L"R");
  CMemoryStream stream;
  scheme.Save(&stream, false);
  Rewind(&stream);
  BeScheme copy;
  copy.Init(&unit.catalogue);
  ASSERT_TRUE(copy.Load(&stream, false));
  ASSERT_EQ(3, copy.GetBlockCount());
  EXPECT_EQ(betest::kTwoByTwoClassId, copy.blocks->GetClassId());
  EXPECT_STREQ(L"R", copy.blocks->caption);
  EXPECT_EQ(2, copy.blocks->inputCount);
  EXPECT_EQ(copy.blocks->next->next->outputs[0], copy.blocks->next->inputs[0]->source);
}

TEST_F(TwoBlocks, SelectedSaveLeavesOutDevicesAndOutsideLinks) {
  CBEBlock* r = scheme.CreateBlock(betest::kPlainClassId);
  CBEBlock* device = scheme.CreateBlock(betest::kPlainClassId);
  device->flags |= kBeBlockDevice | kBeBlockSelected;
  Link(q, 0, r, 0);
  q->flags |= kBeBlockSelected;
  r->flags |= kBeBlockSelected;
  CMemoryStream stream;
  scheme.Save(&stream, true);
  Rewind(&stream);
  BeScheme copy;
  copy.Init(&unit.catalogue);
  ASSERT_TRUE(copy.Load(&stream, true));
  ASSERT_EQ(2, copy.GetBlockCount());
  CBEBlock* r2 = copy.blocks;
  CBEBlock* q2 = r2->next;
  EXPECT_EQ(q2->outputs[0], r2->inputs[0]->source);
  EXPECT_EQ(nullptr, q2->inputs[0]->source);  // fed by P, which stayed behind
  EXPECT_TRUE(r2->IsSelected());
  EXPECT_TRUE(q2->IsSelected());
  EXPECT_FALSE(r2->IsDevice());
}

TEST_F(TwoBlocks, LoadAddsToBlocksAlreadyThere) {
  CMemoryStream stream;
  scheme.Save(&stream, false);
  Rewind(&stream);
  ASSERT_TRUE(scheme.Load(&stream, true));
  ASSERT_EQ(4, scheme.GetBlockCount());
  CBEBlock* q2 = scheme.blocks;
  CBEBlock* p2 = q2->next;
  EXPECT_EQ(q, p2->next);
  EXPECT_EQ(p2->outputs[0], q2->inputs[0]->source);
  EXPECT_EQ(p->outputs[0], q->inputs[0]->source);
  EXPECT_TRUE(q2->IsSelected());
  EXPECT_FALSE(q->IsSelected());
}

TEST_F(TwoBlocks, SaveWarnsWhenTheProgramExceedsTheRom) {
  scheme.romLimit = 50000;
  p->rom = 1;
  CMemoryStream stream;
  scheme.Save(&stream, false);
  ASSERT_EQ(1u, messages.texts.size());
  EXPECT_EQ(L"Внимание", messages.captions[0]);
  EXPECT_EQ(L"Программа не может быть записана в микропроцессор, т.к. ее объем превышает объем ПЗУ.",
            messages.texts[0]);
  EXPECT_EQ(static_cast<UINT>(MB_OK), messages.flags[0] & 0xF);
  EXPECT_TRUE(velktest::BytesEqual(Bytes(stream), velktest::ParseHex(kTwoBlockStream)));
  p->rom = 0;  // exactly full: no warning
  scheme.Save(&stream, false);
  EXPECT_EQ(1u, messages.texts.size());
}

TEST(SchemeStream, EmptySchemeIsMagicAndZero) {
  BeScheme scheme;
  CMemoryStream stream;
  scheme.Save(&stream, false);
  EXPECT_TRUE(velktest::BytesEqual(Bytes(stream), velktest::ParseHex("42 45 35 20 00 00 00 00")));
  Rewind(&stream);
  BeScheme copy;
  EXPECT_TRUE(copy.Load(&stream, true));
  EXPECT_EQ(0, copy.GetBlockCount());
}

// A macro with two inputs and one output, inside it a plain block and a
// second macro with one input and one output; the engine's debugging
// blocks beside it.
class Nested : public ::testing::Test {
protected:
  void SetUp() override {
    scheme.Init(&unit.catalogue);
    scheme.frequency = 8000000.0f;
    scheme.romLimit = 65536;
    source = scheme.CreateBlock(betest::kPlainClassId);
    outer = static_cast<CBEMacro*>(scheme.CreateBlock(kBeMacroBlockClassId));
    const BeMacroPinRow ins[] = {{L"a", kBeSignalInt, nullptr}, {L"b", kBeSignalFloat, nullptr}};
    const BeMacroPinRow outs[] = {{L"y", kBeSignalInt, nullptr}};
    ASSERT_TRUE(ApplyMacroProperties(outer, L"Внешний", ins, 2, outs, 1));
    Link(source, 0, outer, 0);
    BeScheme* n1 = outer->nested;
    inner = static_cast<CBEMacro*>(n1->CreateBlock(kBeMacroBlockClassId));
    const BeMacroPinRow in2[] = {{L"x", kBeSignalInt, nullptr}};
    const BeMacroPinRow out2[] = {{L"z", kBeSignalInt, nullptr}};
    ASSERT_TRUE(ApplyMacroProperties(inner, L"Внутренний", in2, 1, out2, 1));
    CBEBlock* deep = inner->nested->CreateBlock(betest::kPlainClassId);
    deep->SetCaption(L"глубоко");
    // Wire the ports through: outer input a -> inner x -> deep -> z -> y.
    CBEMacroInput* a = FindPort<CBEMacroInput>(n1, kBeMacroInputClassId, 0);
    CBEMacroOutput* y = FindPort<CBEMacroOutput>(n1, kBeMacroOutputClassId, 0);
    CBEMacroInput* x = FindPort<CBEMacroInput>(inner->nested, kBeMacroInputClassId, 0);
    CBEMacroOutput* z = FindPort<CBEMacroOutput>(inner->nested, kBeMacroOutputClassId, 0);
    ASSERT_TRUE(a && y && x && z);
    Link(a, 0, inner, 0);
    Link(inner, 0, y, 0);
    Link(x, 0, deep, 0);
    Link(deep, 0, z, 0);
    deep->outputs[0]->type = kBeSignalInt;
    monitor = static_cast<CBEMonitor*>(CBEMonitor::Create());
    monitor->entry = &kMonitorEntry;
    monitor->AttachToScheme(&scheme);
    monitor->SetLogFileName(L"C:\\logs\\out.txt");
    Link(outer, 0, monitor, 0);
    plot = static_cast<CBEAvrPlot*>(CBEAvrPlot::Create());
    plot->entry = &kPlotEntry;
    plot->AttachToScheme(&scheme);
    plot->format = CBEAvrPlot::kTimeAndValue;
    plot->capacity = 300;
    plot->interval = 7;
    plot->SetLogFileName(L"plot.txt");
    Link(outer, 0, plot, 0);
    plot->UpdateRamCost();
  }

  template <typename T>
  static T* FindPort(BeScheme* s, unsigned int classId, int index) {
    for (CBEBlock* b = s->blocks; b; b = b->next)
      if (b->GetClassId() == classId && static_cast<T*>(b)->index == index) return static_cast<T*>(b);
    return nullptr;
  }

  static const BeCatalogueEntry kMonitorEntry;
  static const BeCatalogueEntry kPlotEntry;
  UnitCatalogue unit;
  BeScheme scheme;
  CBEBlock* source = nullptr;
  CBEMacro* outer = nullptr;
  CBEMacro* inner = nullptr;
  CBEMonitor* monitor = nullptr;
  CBEAvrPlot* plot = nullptr;
  RecordedMessages messages;
};
const BeCatalogueEntry Nested::kMonitorEntry = {kBeMonitorClassId, L"Вывод на экран", L"out.bmp",
                                                CBEMonitor::Create};
const BeCatalogueEntry Nested::kPlotEntry = {kBeAvrPlotClassId, L"Построитель графика",
                                             L"avrploticon.bmp", CBEAvrPlot::Create};

TEST_F(Nested, TwoDeepRoundTripGivesTheSameBytesAndStructure) {
  // The debugging blocks are offered by the units' own groups.
  BeCatalogueGroup* debug = unit.catalogue.AddGroup(L"Отладка");
  debug->AddEntry(kBeMonitorClassId, CBEMonitor::Create, L"Вывод на экран", L"out.bmp");
  debug->AddEntry(kBeAvrPlotClassId, CBEAvrPlot::Create, L"Построитель графика", L"avrploticon.bmp");
  CMemoryStream stream;
  scheme.Save(&stream, false);
  Rewind(&stream);
  BeScheme copy;
  copy.Init(&unit.catalogue);
  copy.frequency = scheme.frequency;
  copy.romLimit = scheme.romLimit;
  ASSERT_TRUE(copy.Load(&stream, false));
  EXPECT_EQ(stream.size, stream.position);
  CMemoryStream again;
  copy.Save(&again, false);
  EXPECT_EQ(Bytes(stream), Bytes(again));

  ASSERT_EQ(4, copy.GetBlockCount());
  CBEAvrPlot* plot2 = static_cast<CBEAvrPlot*>(copy.blocks);
  CBEMonitor* monitor2 = static_cast<CBEMonitor*>(plot2->next);
  CBEMacro* outer2 = static_cast<CBEMacro*>(monitor2->next);
  ASSERT_EQ(kBeAvrPlotClassId, plot2->GetClassId());
  ASSERT_EQ(kBeMonitorClassId, monitor2->GetClassId());
  ASSERT_EQ(kBeMacroBlockClassId, outer2->GetClassId());
  EXPECT_STREQ(L"Внешний", outer2->caption);
  ASSERT_EQ(2, outer2->inputCount);
  ASSERT_EQ(1, outer2->outputCount);
  EXPECT_STREQ(L"a", outer2->inputs[0]->name);
  EXPECT_STREQ(L"b", outer2->inputs[1]->name);
  EXPECT_EQ(kBeSignalInt, outer2->inputs[0]->type);
  EXPECT_EQ(kBeSignalFloat, outer2->inputs[1]->type);
  EXPECT_STREQ(L"y", outer2->outputs[0]->name);
  EXPECT_EQ(copy.blocks->next->next->next->outputs[0], outer2->inputs[0]->source);
  EXPECT_EQ(outer2->outputs[0], monitor2->inputs[0]->source);
  EXPECT_EQ(outer2->outputs[0], plot2->inputs[0]->source);
  // The nested schemes hang under their holders with the copied settings.
  BeScheme* n1 = outer2->nested;
  ASSERT_NE(nullptr, n1);
  EXPECT_EQ(&copy, n1->parent);
  EXPECT_EQ(8000000.0f, n1->frequency);
  EXPECT_EQ(65536, n1->romLimit);
  EXPECT_EQ(0, n1->baseRom);
  EXPECT_EQ(4, n1->GetBlockCount());  // a, b, y and the inner macro
  CBEMacro* inner2 = nullptr;
  for (CBEBlock* b = n1->blocks; b; b = b->next)
    if (b->GetClassId() == kBeMacroBlockClassId) inner2 = static_cast<CBEMacro*>(b);
  ASSERT_NE(nullptr, inner2);
  EXPECT_EQ(n1, inner2->nested->parent);
  EXPECT_STREQ(L"x", inner2->inputs[0]->name);
  EXPECT_STREQ(L"z", inner2->outputs[0]->name);
  CBEMacroInput* a = FindPort<CBEMacroInput>(n1, kBeMacroInputClassId, 0);
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(outer2, a->owner);
  EXPECT_EQ(a->outputs[0], inner2->inputs[0]->source);
  EXPECT_TRUE(a->IsDevice());
  EXPECT_EQ(3, inner2->nested->GetBlockCount());
  // The debugging blocks' fields.
  EXPECT_STREQ(L"C:\\logs\\out.txt", monitor2->logFileName);
  EXPECT_STREQ(L"plot.txt", plot2->logFileName);
  EXPECT_EQ(CBEAvrPlot::kTimeAndValue, plot2->format);
  EXPECT_EQ(300, plot2->capacity);
  EXPECT_EQ(7, plot2->interval);
  // An int source, time and value, 300 samples: (4 + 1 + 1) x 300.
  EXPECT_EQ(1800, plot2->ram);
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(Nested, EveryTruncationFailsAndLeavesNothing) {
  BeCatalogueGroup* debug = unit.catalogue.AddGroup(L"Отладка");
  debug->AddEntry(kBeMonitorClassId, CBEMonitor::Create, L"Вывод на экран", L"out.bmp");
  debug->AddEntry(kBeAvrPlotClassId, CBEAvrPlot::Create, L"Построитель графика", L"avrploticon.bmp");
  CMemoryStream stream;
  scheme.Save(&stream, false);
  const std::vector<uint8_t> bytes = Bytes(stream);
  int monitors = CBEMonitor::Count();
  for (size_t n = 0; n < bytes.size(); ++n) {
    CMemoryStream cut;
    cut.Write(bytes.data(), static_cast<int>(n));
    Rewind(&cut);
    BeScheme copy;
    copy.Init(&unit.catalogue);
    EXPECT_FALSE(copy.Load(&cut, false)) << n;
    EXPECT_EQ(0, copy.GetBlockCount()) << n;
    EXPECT_EQ(monitors, CBEMonitor::Count()) << n;
  }
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(Nested, NestedSchemeWithoutItsClassFailsTheWholeLoad) {
  // The inner stream holds a plain block; a catalogue without it fails the
  // macro's load, and with it the enclosing one.
  CMemoryStream stream;
  scheme.Save(&stream, false);
  Rewind(&stream);
  BeCatalogue bare;
  bare.AddGroup(nullptr);
  BeBlockCreatorTable none;
  AddCommonCatalogueGroups(&bare, none);
  bare.AddGroup(L"Тест")->AddEntry(betest::kPlainClassId, betest::NewPlain, L"Простой", nullptr);
  BeScheme copy;
  copy.Init(&bare);
  EXPECT_FALSE(copy.Load(&stream, false));  // the monitor's class is missing
  EXPECT_EQ(0, copy.GetBlockCount());
  ASSERT_EQ(1u, messages.texts.size());
}

}  // namespace
