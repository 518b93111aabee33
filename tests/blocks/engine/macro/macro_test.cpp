#include <vector>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/macro/macro.h"
#include "blocks/engine/macro/macro_input.h"
#include "blocks/engine/macro/macro_output.h"
#include "blocks/engine/engine_fixture.h"
#include "foundation/buffer_failure_scope.h"
#include "foundation/memory_stream.h"
#include "support/test_support.h"

using betest::Link;
using betest::LogWatch;
using betest::RecordedMessages;
using betest::TestBlock;
using betest::UnitCatalogue;

namespace {

template <typename T>
T* FindPort(BeScheme* s, unsigned int classId, int index) {
  for (CBEBlock* b = s->blocks; b; b = b->next)
    if (b->GetClassId() == classId && static_cast<T*>(b)->index == index) return static_cast<T*>(b);
  return nullptr;
}

int CountClass(BeScheme* s, unsigned int classId) {
  int n = 0;
  for (CBEBlock* b = s->blocks; b; b = b->next) n += b->GetClassId() == classId;
  return n;
}

class Macro : public ::testing::Test {
protected:
  void SetUp() override {
    scheme.Init(&unit.catalogue);
    scheme.frequency = 2000000.0f;
    scheme.romLimit = 65536;
    scheme.ramLimit = 512;
    macro = static_cast<CBEMacro*>(scheme.CreateBlock(kBeMacroBlockClassId));
    ASSERT_NE(nullptr, macro);
  }
  UnitCatalogue unit;
  BeScheme scheme;
  CBEMacro* macro = nullptr;
  RecordedMessages messages;
};

TEST_F(Macro, ConstructionAndAttachment) {
  CBEMacro fresh;
  EXPECT_EQ(nullptr, fresh.nested);
  EXPECT_EQ(200, fresh.Width());
  EXPECT_EQ(60, fresh.Height());
  EXPECT_EQ(RGB(255, 153, 153), fresh.fillColor);
  EXPECT_STREQ(L"Макроблок", fresh.caption);
  EXPECT_EQ(0, fresh.inputCount);
  EXPECT_EQ(0, fresh.outputCount);

  BeScheme* nested = macro->nested;
  ASSERT_NE(nullptr, nested);
  EXPECT_EQ(macro->GetNestedScheme(), nested);
  EXPECT_EQ(&unit.catalogue, nested->catalogue);
  EXPECT_EQ(&scheme, nested->parent);
  EXPECT_EQ(2000000.0f, nested->frequency);
  EXPECT_EQ(0, nested->baseRom);
  EXPECT_EQ(0, nested->baseRam);
  EXPECT_EQ(0, nested->sharedRoutineRom);
  EXPECT_EQ(65536, nested->romLimit);
  EXPECT_EQ(512, nested->ramLimit);
  EXPECT_EQ(nullptr, nested->blocks);
}

TEST_F(Macro, PortsAreDeviceBlocksOfGroupZero) {
  CBEBlock* in = macro->nested->CreateBlock(kBeMacroInputClassId);
  CBEBlock* out = macro->nested->CreateBlock(kBeMacroOutputClassId);
  ASSERT_NE(nullptr, in);
  ASSERT_NE(nullptr, out);
  EXPECT_EQ(unit.catalogue.Group(0)->Entry(0), in->entry);
  EXPECT_TRUE(in->IsDevice());
  EXPECT_TRUE(out->IsDevice());
  EXPECT_EQ(70, in->Width());
  EXPECT_EQ(14, in->Height());
  EXPECT_EQ(17, out->Height());
  EXPECT_EQ(0, in->inputCount);
  EXPECT_EQ(1, in->outputCount);
  EXPECT_EQ(1, out->inputCount);
  EXPECT_EQ(0, out->outputCount);
  EXPECT_EQ(-1, static_cast<CBEMacroInput*>(in)->index);
  EXPECT_EQ(nullptr, static_cast<CBEMacroOutput*>(out)->owner);
  EXPECT_EQ(kBeMacroFill, in->fillColor);
  EXPECT_FALSE(in->ShowProperties());
}

struct ConfirmCase {
  int inputs, outputs;
  int height;
};

TEST_F(Macro, ConfirmSetsCountsHeightAndPorts) {
  const ConfirmCase cases[] = {{0, 0, 60}, {5, 2, 100}, {3, 1, 60}, {1, 4, 80}, {2, 0, 60}, {0, 7, 140}};
  const wchar_t* const names[] = {L"п0", L"п1", L"п2", L"п3", L"п4", L"п5", L"п6"};
  for (const ConfirmCase& c : cases) {
    SCOPED_TRACE(c.inputs * 10 + c.outputs);
    macro->MoveTo(150, 40);
    std::vector<BeMacroPinRow> ins, outs;
    for (int i = 0; i < c.inputs; ++i) ins.push_back({names[i], kBeSignalInt, nullptr});
    for (int i = 0; i < c.outputs; ++i) outs.push_back({names[i], kBeSignalDouble, nullptr});
    // Rows of a fresh dialog: the ports of the last confirmation are not
    // referred to, so they are all replaced.
    ASSERT_TRUE(ApplyMacroProperties(macro, L"М", ins.data(), c.inputs, outs.data(), c.outputs));
    EXPECT_STREQ(L"М", macro->caption);
    EXPECT_EQ(40, macro->rect.top);
    EXPECT_EQ(c.height, macro->Height());
    ASSERT_EQ(c.inputs, macro->inputCount);
    ASSERT_EQ(c.outputs, macro->outputCount);
    EXPECT_EQ(c.inputs, CountClass(macro->nested, kBeMacroInputClassId));
    EXPECT_EQ(c.outputs, CountClass(macro->nested, kBeMacroOutputClassId));
    for (int i = 0; i < c.inputs; ++i) {
      CBEMacroInput* port = FindPort<CBEMacroInput>(macro->nested, kBeMacroInputClassId, i);
      ASSERT_NE(nullptr, port);
      EXPECT_EQ(macro, port->owner);
      EXPECT_STREQ(names[i], port->caption);
      // The pin's own copy of the caption: deleting the port frees nothing
      // the pin still names.
      EXPECT_STREQ(port->caption, macro->inputs[i]->name);
      EXPECT_NE(port->caption, macro->inputs[i]->name);
      EXPECT_EQ(kBeSignalInt, port->outputs[0]->type);
      EXPECT_EQ(kBeSignalInt, macro->inputs[i]->type);
      EXPECT_EQ(c.height * i / c.inputs + c.height / (2 * c.inputs), macro->inputs[i]->yOffset);
    }
    for (int i = 0; i < c.outputs; ++i) {
      CBEMacroOutput* port = FindPort<CBEMacroOutput>(macro->nested, kBeMacroOutputClassId, i);
      ASSERT_NE(nullptr, port);
      EXPECT_EQ(macro, port->owner);
      EXPECT_STREQ(port->caption, macro->outputs[i]->name);
      EXPECT_NE(port->caption, macro->outputs[i]->name);
      EXPECT_EQ(kBeSignalDouble, port->inputs[0]->type);
      EXPECT_EQ(kBeSignalDouble, macro->outputs[i]->type);
    }
  }
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(Macro, ConfirmKeepsClaimedPortsAndCutsLinksOnTypeChange) {
  const BeMacroPinRow ins[] = {{L"a", kBeSignalInt, nullptr}, {L"b", kBeSignalInt, nullptr}};
  const BeMacroPinRow outs[] = {{L"y", kBeSignalInt, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", ins, 2, outs, 1));
  BeScheme* n = macro->nested;
  CBEMacroInput* a = FindPort<CBEMacroInput>(n, kBeMacroInputClassId, 0);
  CBEMacroInput* b = FindPort<CBEMacroInput>(n, kBeMacroInputClassId, 1);
  CBEMacroOutput* y = FindPort<CBEMacroOutput>(n, kBeMacroOutputClassId, 0);
  TestBlock* inside = static_cast<TestBlock*>(n->CreateBlock(betest::kTwoByTwoClassId));
  Link(a, 0, inside, 0);
  Link(b, 0, inside, 1);
  Link(inside, 0, y, 0);
  CBEBlock* outsideSource = scheme.CreateBlock(betest::kTwoByTwoClassId);
  CBEBlock* outsideSink = scheme.CreateBlock(betest::kPlainClassId);
  Link(outsideSource, 0, macro, 0);
  Link(outsideSource, 1, macro, 1);
  Link(macro, 0, outsideSink, 0);

  // The dialog's rows now: b first (type kept), then a as float; the
  // output keeps its type; a new row for a second output.
  const BeMacroPinRow ins2[] = {{L"b", kBeSignalInt, b}, {L"a", kBeSignalFloat, a}};
  const BeMacroPinRow outs2[] = {{L"y", kBeSignalInt, y}, {L"w", kBeSignalBit, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М2", ins2, 2, outs2, 2));
  EXPECT_EQ(0, b->index);
  EXPECT_EQ(1, a->index);
  EXPECT_EQ(kBeSignalFloat, a->outputs[0]->type);
  EXPECT_EQ(nullptr, inside->inputs[0]->source);       // a's type changed
  EXPECT_EQ(b->outputs[0], inside->inputs[1]->source);  // b's did not
  EXPECT_EQ(inside->outputs[0], y->inputs[0]->source);
  // Each row kept its macro pin: input 0 is b's pin, still int, with b's
  // outer link; input 1 is a's pin, now float, its link cut.
  EXPECT_EQ(outsideSource->outputs[1], macro->inputs[0]->source);
  EXPECT_EQ(nullptr, macro->inputs[1]->source);
  EXPECT_EQ(kBeSignalFloat, macro->inputs[1]->type);
  EXPECT_EQ(macro->outputs[0], outsideSink->inputs[0]->source);
  EXPECT_STREQ(L"b", macro->inputs[0]->name);
  EXPECT_STREQ(L"w", macro->outputs[1]->name);
  EXPECT_EQ(2, CountClass(n, kBeMacroOutputClassId));

  // Dropping rows deletes their ports and the macro's pins with their links.
  const BeMacroPinRow ins3[] = {{L"b", kBeSignalInt, b}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М3", ins3, 1, nullptr, 0));
  EXPECT_EQ(1, CountClass(n, kBeMacroInputClassId));
  EXPECT_EQ(0, CountClass(n, kBeMacroOutputClassId));
  EXPECT_EQ(nullptr, inside->inputs[0]->source);
  EXPECT_EQ(0, macro->outputCount);
  EXPECT_EQ(nullptr, outsideSink->inputs[0]->source);
  EXPECT_EQ(60, macro->Height());
}

// A deleted output row takes its pin and the pin's readers' links; the
// rows after it keep their pins, so no reader is handed another output.
TEST_F(Macro, ConfirmKeepsEachRowsPinWhenARowGoes) {
  const BeMacroPinRow outs[] = {
      {L"y0", kBeSignalInt, nullptr}, {L"y1", kBeSignalInt, nullptr}, {L"y2", kBeSignalInt, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", nullptr, 0, outs, 3));
  BeScheme* n = macro->nested;
  CBEMacroOutput* y0 = FindPort<CBEMacroOutput>(n, kBeMacroOutputClassId, 0);
  CBEMacroOutput* y2 = FindPort<CBEMacroOutput>(n, kBeMacroOutputClassId, 2);
  BeOutputPin* pin2 = macro->outputs[2];
  CBEBlock* sinks[3];
  for (int i = 0; i < 3; ++i) {
    sinks[i] = scheme.CreateBlock(betest::kPlainClassId);
    Link(macro, i, sinks[i], 0);
  }
  const BeMacroPinRow outs2[] = {{L"y0", kBeSignalInt, y0}, {L"y2", kBeSignalInt, y2}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", nullptr, 0, outs2, 2));
  ASSERT_EQ(2, macro->outputCount);
  EXPECT_EQ(pin2, macro->outputs[1]);
  EXPECT_EQ(1, y2->index);
  EXPECT_STREQ(L"y2", macro->outputs[1]->name);
  EXPECT_EQ(macro->outputs[0], sinks[0]->inputs[0]->source);
  EXPECT_EQ(nullptr, sinks[1]->inputs[0]->source) << "y1 went with its links";
  EXPECT_EQ(pin2, sinks[2]->inputs[0]->source) << "y2's reader stays with y2";
  EXPECT_EQ(2, CountClass(n, kBeMacroOutputClassId));
}

TEST_F(Macro, ConfirmWithoutMemoryChangesNothing) {
  const BeMacroPinRow ins[] = {{L"a", kBeSignalInt, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", ins, 1, nullptr, 0));
  CBEMacroInput* a = FindPort<CBEMacroInput>(macro->nested, kBeMacroInputClassId, 0);
  BeInputPin* pin = macro->inputs[0];
  const BeMacroPinRow more[] = {{L"b", kBeSignalInt, nullptr}, {L"a", kBeSignalInt, a}, {L"c", kBeSignalBit, nullptr},
                                {L"d", kBeSignalBit, nullptr}};
  bool done = false;
  for (int grant = 0; grant < 40 && !done; ++grant) {
    SCOPED_TRACE(grant);
    {
      CBufferFailureScope refuse(grant);
      done = ApplyMacroProperties(macro, L"М", more, 4, nullptr, 0);
    }
    if (done) break;
    // Refused before anything changed, or (names, ports) partly done with
    // the rows' pins in place.
    if (macro->inputCount == 1) {
      EXPECT_EQ(pin, macro->inputs[0]);
      EXPECT_EQ(60, macro->Height());
    } else {
      EXPECT_EQ(pin, macro->inputs[1]);
    }
  }
  ASSERT_TRUE(done);
  EXPECT_EQ(pin, macro->inputs[1]);
  EXPECT_STREQ(L"a", macro->inputs[1]->name);
  EXPECT_EQ(80, macro->Height());
}

TEST_F(Macro, ValuesFlowThroughTheMacro) {
  CBEBlock* source = scheme.CreateBlock(betest::kPlainClassId);
  // The macro was created first, so the list is source, macro: the source
  // steps before the macro in each pass.
  const BeMacroPinRow ins[] = {{L"x", kBeSignalInt, nullptr}};
  const BeMacroPinRow outs[] = {{L"y", kBeSignalInt, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", ins, 1, outs, 1));
  BeScheme* n = macro->nested;
  CBEBlock* inside = n->CreateBlock(betest::kPlainClassId);
  Link(FindPort<CBEMacroInput>(n, kBeMacroInputClassId, 0), 0, inside, 0);
  Link(inside, 0, FindPort<CBEMacroOutput>(n, kBeMacroOutputClassId, 0), 0);
  CBEBlock* sink = scheme.CreateBlock(betest::kPlainClassId);
  Link(source, 0, macro, 0);
  Link(macro, 0, sink, 0);
  source->outputs[0]->SetInt(1234);
  scheme.Start();
  EXPECT_EQ(1, n->running);
  for (int t = 0; t < 4; ++t) scheme.Step(0.001f);
  EXPECT_EQ(1234, macro->outputs[0]->GetInt());
  EXPECT_EQ(1234, sink->outputs[0]->GetInt());
  // An unconnected macro input: the port keeps passing its last value.
  macro->inputs[0]->source = nullptr;
  source->outputs[0]->SetInt(5);
  for (int t = 0; t < 4; ++t) scheme.Step(0.001f);
  EXPECT_EQ(1234, macro->outputs[0]->GetInt());
  scheme.Stop();
  EXPECT_EQ(0, n->running);
}

TEST_F(Macro, NestedSchemeRunsOnItsOwnBudget) {
  BeScheme* n = macro->nested;
  TestBlock* inside = static_cast<TestBlock*>(n->CreateBlock(betest::kPlainClassId));
  inside->cycles = 5000;  // 2.5 ticks of 2000 cycles
  scheme.Start();
  for (int t = 0; t < 10; ++t) scheme.Step(0.001f);
  EXPECT_EQ(0, macro->cycles);
  EXPECT_EQ(5, inside->steps);  // ticks 1, 3, 5, 8 and 10
  EXPECT_EQ(0.001f, inside->lastDt);
}

TEST_F(Macro, PortsBindByIndexOnLoad) {
  const BeMacroPinRow ins[] = {{L"a", kBeSignalShort, nullptr}, {L"b", kBeSignalBit, nullptr}};
  const BeMacroPinRow outs[] = {{L"y", kBeSignalFloat, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", ins, 2, outs, 1));
  // A stray input port with index 3.
  CBEMacroInput* stray = static_cast<CBEMacroInput*>(macro->nested->CreateBlock(kBeMacroInputClassId));
  stray->index = 3;
  stray->SetCaption(L"лишний");
  stray->outputs[0]->type = kBeSignalDouble;
  CMemoryStream stream;
  scheme.Save(&stream, false);
  stream.Seek(0, 0);
  BeScheme copy;
  copy.Init(&unit.catalogue);
  ASSERT_TRUE(copy.Load(&stream, false));
  CBEMacro* m = static_cast<CBEMacro*>(copy.blocks);
  ASSERT_EQ(kBeMacroBlockClassId, m->GetClassId());
  ASSERT_EQ(2, m->inputCount);
  EXPECT_STREQ(L"a", m->inputs[0]->name);
  EXPECT_EQ(kBeSignalShort, m->inputs[0]->type);
  EXPECT_STREQ(L"b", m->inputs[1]->name);
  EXPECT_EQ(kBeSignalBit, m->inputs[1]->type);
  EXPECT_STREQ(L"y", m->outputs[0]->name);
  EXPECT_EQ(kBeSignalFloat, m->outputs[0]->type);
  CBEMacroInput* stray2 = FindPort<CBEMacroInput>(m->nested, kBeMacroInputClassId, 3);
  ASSERT_NE(nullptr, stray2);
  EXPECT_EQ(nullptr, stray2->owner);
  EXPECT_EQ(kBeSignalDouble, stray2->outputs[0]->type);
  stray2->outputs[0]->SetInt(77);
  stray2->Step(0.001f);
  EXPECT_EQ(77, stray2->outputs[0]->GetInt());
  // The pins were spread over the height read: 60 high, two inputs.
  EXPECT_EQ(15, m->inputs[0]->yOffset);
  EXPECT_EQ(45, m->inputs[1]->yOffset);
}

// The record of an input port by hand: index 2, type 5, the base record of
// a device block at (150, 40, 220, 54) captioned "x" whose output has the
// identity 1.
TEST(MacroPort, InputPortRecord) {
  UnitCatalogue unit;
  BeScheme scheme;
  scheme.Init(&unit.catalogue);
  CBEMacroInput* port = static_cast<CBEMacroInput*>(scheme.CreateBlock(kBeMacroInputClassId));
  port->index = 2;
  port->outputs[0]->type = kBeSignalFloat;
  port->SetCaption(L"x");
  CMemoryStream stream;
  scheme.Save(&stream, false);
  EXPECT_TRUE(velktest::BytesEqual(
      stream.data, stream.size,
      velktest::ParseHex("42 45 35 20 01 00 00 00  02 00 34 62"
                         "02 00 00 00 05"
                         "96 00 00 00 28 00 00 00 DC 00 00 00 36 00 00 00  78 00 00 00  02"
                         "01 00 00 00 00")));
  // A type byte no pin carries makes the record unreadable.
  for (uint8_t bad : {37, 41, 255}) {
    stream.data[16] = bad;
    stream.Seek(0, 0);
    BeScheme copy;
    copy.Init(&unit.catalogue);
    EXPECT_FALSE(copy.Load(&stream, false)) << int(bad);
    EXPECT_EQ(0, copy.GetBlockCount());
  }
}

TEST_F(Macro, DeletingTheMacroDeletesItsInsideAndOuterLinks) {
  const BeMacroPinRow outs[] = {{L"y", kBeSignalBit, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", nullptr, 0, outs, 1));
  macro->nested->CreateBlock(betest::kPlainClassId);
  CBEBlock* sink = scheme.CreateBlock(betest::kPlainClassId);
  Link(macro, 0, sink, 0);
  delete macro;
  EXPECT_EQ(nullptr, sink->inputs[0]->source);
  EXPECT_EQ(1, scheme.GetBlockCount());
}

TEST_F(Macro, MacroInAMacroTotalsAndChecks) {
  LogWatch log;
  scheme.romLimit = 50100;
  CBEMacro* m1 = macro;
  m1->nested->romLimit = scheme.romLimit;
  CBEMacro* m2 = static_cast<CBEMacro*>(m1->nested->CreateBlock(kBeMacroBlockClassId));
  CBEBlock* deep = m2->nested->CreateBlock(betest::kPlainClassId);
  deep->rom = 150;
  deep->ram = 7;
  deep->cycles = 3;
  EXPECT_EQ(50150, scheme.GetRomTotal(true));
  EXPECT_EQ(50150, m2->nested->GetRomTotal(true));
  EXPECT_EQ(7, scheme.GetRamTotal(true));
  EXPECT_EQ(3, scheme.GetCyclesTotal(true));
  EXPECT_EQ(50100, m2->nested->romLimit);
  scheme.Start();
  // One message for each nested scheme and one for the unit's.
  EXPECT_EQ(3u, log.Added().size());
  EXPECT_EQ(1, scheme.halted);
  EXPECT_EQ(1, m1->nested->halted);
  EXPECT_EQ(1, m2->nested->halted);
}

// Macros inside macros, depth deep; the innermost holds a plain block.
void BuildDepth(BeScheme* scheme, int depth) {
  BeScheme* at = scheme;
  for (int d = 0; d < depth; ++d) at = at->CreateBlock(kBeMacroBlockClassId)->GetNestedScheme();
  at->CreateBlock(betest::kPlainClassId);
}

TEST(MacroNesting, DeepNestingReadsAndTooDeepIsRefused) {
  UnitCatalogue unit;
  RecordedMessages messages;
  for (int depth : {40, kBeMaxSchemeNesting, kBeMaxSchemeNesting + 1}) {
    SCOPED_TRACE(depth);
    BeScheme scheme;
    scheme.Init(&unit.catalogue);
    BuildDepth(&scheme, depth);
    EXPECT_EQ(50000, scheme.GetRomTotal(true));
    CMemoryStream stream;
    scheme.Save(&stream, false);
    stream.Seek(0, 0);
    BeScheme copy;
    copy.Init(&unit.catalogue);
    bool loaded = copy.Load(&stream, false);
    EXPECT_EQ(depth <= kBeMaxSchemeNesting, loaded);
    EXPECT_EQ(loaded ? 1 : 0, copy.GetBlockCount());
    if (!loaded) continue;
    // The plain block at the bottom came back.
    BeScheme* at = &copy;
    for (int d = 0; d < depth; ++d) {
      ASSERT_EQ(1, at->GetBlockCount());
      at = at->blocks->GetNestedScheme();
      ASSERT_NE(nullptr, at);
    }
    ASSERT_EQ(1, at->GetBlockCount());
    EXPECT_EQ(betest::kPlainClassId, at->blocks->GetClassId());
    EXPECT_EQ(&copy, at->Outermost());
  }
  EXPECT_TRUE(messages.texts.empty());
}

}  // namespace
