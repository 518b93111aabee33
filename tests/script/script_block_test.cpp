// The script block: its record (golden bytes, every truncation, inside a
// "BE5 " stream), the pin variables of Start, the 0.05 s clock of Step, the
// conversions between pins and variables, errors, drawing and its place in
// a scheme.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "foundation/memory_stream.h"
#include "kestui/core/kest_host.h"
#include "kestui/core/kest_host_scope.h"
#include "scheme/simulation/sim_log.h"
#include "script/compiler/vm_compiler.h"
#include "script/script_block.h"
#include "script/values/vm_variable.h"
#include "support/memory_canvas.h"
#include "support/test_support.h"

namespace {

std::vector<uint8_t> Bytes(const CMemoryStream& s) { return std::vector<uint8_t>(s.data, s.data + s.size); }

// A block whose outputs hold what the test puts there.
class SourceBlock : public CBEBlock {
public:
  explicit SourceBlock(int outputs) { SetOutputCount(outputs); }
};

// The machine's log goes to a log of the test's own while alive.
class Logged {
public:
  explicit Logged(CBEVirtualMachine* block) : machine_(block->Machine()) { machine_->SetLog(&log); }
  ~Logged() { machine_->SetLog(nullptr); }
  std::vector<std::wstring> Lines() const {
    std::vector<std::wstring> out;
    for (int i = 0; i < log.GetCount(); ++i) out.push_back(log.GetItem(i));
    return out;
  }
  SimMessageLog log;

private:
  VmEngine* machine_;
};

void Compile(CBEVirtualMachine* block, const wchar_t* source) {
  VmCompiler compiler;
  ASSERT_TRUE(compiler.Compile(source));
  ASSERT_TRUE(block->Machine()->SetCode(compiler.GetCode(), compiler.GetCodeSize()));
  ASSERT_TRUE(block->SetSource(source));
}

void AddInput(CBEVirtualMachine* block, const wchar_t* name, BeSignalType type) {
  int i = block->inputCount;
  ASSERT_TRUE(block->SetInputPins(i + 1));
  ASSERT_TRUE(block->SetInputName(i, name));
  block->inputs[i]->type = type;
}

void AddOutput(CBEVirtualMachine* block, const wchar_t* name, BeSignalType type) {
  int i = block->outputCount;
  ASSERT_TRUE(block->SetOutputPins(i + 1));
  ASSERT_TRUE(block->SetOutputName(i, name));
  block->outputs[i]->type = type;
}

// The block of the golden record: input x (short), output y (bit), the
// source "y=x;" and the code OP_LINE 1, OP_RETURN, at (10, 20)-(210, 90).
void MakeSmallBlock(CBEVirtualMachine* block) {
  AddInput(block, L"x", kBeSignalShort);
  AddOutput(block, L"y", kBeSignalBit);
  ASSERT_TRUE(block->SetSource(L"y=x;"));
  const unsigned char code[] = {0x25, 0x01, 0x00, 0x00, 0x00, 0x24};
  ASSERT_TRUE(block->Machine()->SetCode(code, sizeof code));
  block->rect = RECT{10, 20, 210, 90};
}

// Worked by hand from the record's layout.
const char kSmallRecord[] =
    "01 00  78 00 00 00  03"                    // one input: "x", short
    "01 00  79 00 00 00  01"                    // one output: "y", bit
    "79 00 3D 00 78 00 3B 00 00 00"             // the source "y=x;"
    "06 00 00 00  25 01 00 00 00 24"            // the code: 6 bytes
    "0A 00 00 00 14 00 00 00 D2 00 00 00 5A 00 00 00"  // the base record: rectangle,
    "00 00  00"                                 // no caption, flags 0,
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // the input unlinked,
    "00 00 00 00 00";                           // the output (no identity outside a stream)

TEST(ScriptBlock, ConstructionAndCatalogueEntry) {
  CBEVirtualMachine block;
  EXPECT_EQ(block.rect.right - block.rect.left, 200);
  EXPECT_EQ(block.rect.bottom - block.rect.top, 60);
  EXPECT_EQ(block.fillColor, RGB(255, 255, 255));
  EXPECT_EQ(block.cycles, 10000);
  EXPECT_EQ(block.rom, 361984);
  EXPECT_EQ(block.ram, 145444);
  EXPECT_EQ(block.inputCount, 0);
  EXPECT_EQ(block.outputCount, 0);
  EXPECT_EQ(block.Source(), nullptr);
  EXPECT_EQ(block.Machine()->CodeSize(), 0);

  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  BeCatalogueGroup* group = catalogue.AddGroup(kScriptBlockGroup);
  ASSERT_TRUE(AddScriptBlockEntry(group));
  EXPECT_STREQ(kScriptBlockGroup, L"Интеллект");
  BeScheme scheme;
  scheme.Init(&catalogue);
  CBEBlock* made = scheme.CreateBlock(0x2A424581);
  ASSERT_NE(dynamic_cast<CBEVirtualMachine*>(made), nullptr);
  EXPECT_STREQ(made->GetCaption(), L"Виртуальный процессор на основе JavaScript");
  EXPECT_STREQ(made->entry->bitmap, L"js.bmp");
  EXPECT_EQ(made->GetClassId(), kScriptBlockClassId);
}

TEST(ScriptBlock, SaveWritesTheGoldenRecord) {
  CBEVirtualMachine block;
  MakeSmallBlock(&block);
  CMemoryStream stream;
  block.Save(&stream);
  EXPECT_TRUE(velktest::BytesEqual(Bytes(stream), velktest::ParseHex(kSmallRecord)));
}

TEST(ScriptBlock, LoadReadsTheGoldenRecord) {
  std::vector<uint8_t> record = velktest::ParseHex(kSmallRecord);
  CMemoryStream stream;
  stream.Write(record.data(), static_cast<int>(record.size()));
  stream.Seek(0, 0);
  CBEVirtualMachine block;
  ASSERT_TRUE(block.Load(&stream));
  EXPECT_EQ(stream.position, stream.size);
  ASSERT_EQ(block.inputCount, 1);
  ASSERT_EQ(block.outputCount, 1);
  EXPECT_STREQ(block.inputs[0]->name, L"x");
  EXPECT_EQ(block.inputs[0]->type, kBeSignalShort);
  EXPECT_STREQ(block.outputs[0]->name, L"y");
  EXPECT_EQ(block.outputs[0]->type, kBeSignalBit);
  EXPECT_STREQ(block.Source(), L"y=x;");
  ASSERT_EQ(block.Machine()->CodeSize(), 6);
  EXPECT_EQ(std::vector<uint8_t>(block.Machine()->Code(), block.Machine()->Code() + 6),
            velktest::ParseHex("25 01 00 00 00 24"));
  EXPECT_EQ(block.rect.left, 10);
  EXPECT_EQ(block.rect.top, 20);
  EXPECT_EQ(block.rect.right, 210);
  EXPECT_EQ(block.rect.bottom, 90);
  // Sized for its pins (70 high: one pin each) before the base record
  // restored the stored rectangle, which is also 70 high: the pins sit at
  // the middle.
  EXPECT_EQ(block.inputs[0]->yOffset, 35);
  EXPECT_EQ(block.outputs[0]->yOffset, 35);
}

// Every cut of the record fails, and the block keeps its pins, source and
// code as they were.
TEST(ScriptBlock, EveryTruncationFailsAndChangesNothing) {
  std::vector<uint8_t> record = velktest::ParseHex(kSmallRecord);
  // Where the block's own fields end and the base record begins.
  const size_t ownFields = 2 + 4 + 1 + 2 + 4 + 1 + 10 + 4 + 6;
  for (size_t cut = 0; cut < record.size(); ++cut) {
    CMemoryStream stream;
    stream.Write(record.data(), static_cast<int>(cut));
    stream.Seek(0, 0);
    CBEVirtualMachine block;
    AddOutput(&block, L"old", kBeSignalInt);
    ASSERT_TRUE(block.SetSource(L"old source"));
    const unsigned char oldCode[] = {0x00, 0x00, 0x24};
    ASSERT_TRUE(block.Machine()->SetCode(oldCode, 3));
    EXPECT_FALSE(block.Load(&stream)) << "cut at " << cut;
    if (cut < ownFields) {
      EXPECT_EQ(block.inputCount, 0) << "cut at " << cut;
      ASSERT_EQ(block.outputCount, 1) << "cut at " << cut;
      EXPECT_STREQ(block.outputs[0]->name, L"old") << "cut at " << cut;
      EXPECT_STREQ(block.Source(), L"old source") << "cut at " << cut;
      EXPECT_EQ(block.Machine()->CodeSize(), 3) << "cut at " << cut;
    }
  }
}

TEST(ScriptBlock, ImplausibleRecordsFailCleanly) {
  struct Bad {
    const char* hex;
    const char* why;
  };
  const Bad cases[] = {
      {"FF FF  78 00 00 00 03", "65535 inputs in 7 bytes"},
      {"00 00  02 00  79 00 00 00 01", "two outputs, one written"},
      {"00 00 00 00  00 00  FF FF FF FF  24", "a negative code size"},
      {"00 00 00 00  00 00  00 01 00 00  24 24", "256 bytes of code, 2 left"},
      {"00 00 00 00  00 00  02 00 00 00  24", "a code cut short"},
      {"01 00  78 00", "a name without its terminator"},
  };
  for (const Bad& c : cases) {
    std::vector<uint8_t> bytes = velktest::ParseHex(c.hex);
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int>(bytes.size()));
    stream.Seek(0, 0);
    CBEVirtualMachine block;
    ASSERT_TRUE(block.SetSource(L"kept"));
    EXPECT_FALSE(block.Load(&stream)) << c.why;
    EXPECT_STREQ(block.Source(), L"kept") << c.why;
    EXPECT_EQ(block.inputCount, 0) << c.why;
    EXPECT_EQ(block.outputCount, 0) << c.why;
    EXPECT_EQ(block.Machine()->CodeSize(), 0) << c.why;
  }
}

// The small block in a "BE5 " stream between two other blocks of the unit,
// written and read back: the record is the golden one with the output's
// identity in the stream, and the link to the script's input survives.
TEST(ScriptBlock, RoundTripInsideASchemeStream) {
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  ASSERT_TRUE(AddScriptBlockEntry(catalogue.AddGroup(kScriptBlockGroup)));
  BeScheme scheme;
  scheme.Init(&catalogue);
  CBEVirtualMachine* first = static_cast<CBEVirtualMachine*>(scheme.CreateBlock(kScriptBlockClassId));
  AddOutput(first, L"v", kBeSignalShort);
  CBEVirtualMachine* block = static_cast<CBEVirtualMachine*>(scheme.CreateBlock(kScriptBlockClassId));
  MakeSmallBlock(block);
  block->inputs[0]->source = first->outputs[0];
  block->inputs[0]->routeX1 = 5;
  CMemoryStream stream;
  scheme.Save(&stream, false);

  // Magic, count 2, the first block (identity 1 for its output), then the
  // small block with identity 2.
  std::string expected =
      "42 45 35 20  02 00 00 00"
      "81 45 42 2A  00 00  01 00 76 00 00 00 03  00 00  00 00 00 00"
      "96 00 00 00 28 00 00 00 5E 01 00 00 64 00 00 00  00 00  00  01 00 00 00 00"
      "81 45 42 2A"
      "01 00  78 00 00 00  03  01 00  79 00 00 00  01"
      "79 00 3D 00 78 00 3B 00 00 00  06 00 00 00  25 01 00 00 00 24"
      "0A 00 00 00 14 00 00 00 D2 00 00 00 5A 00 00 00  00 00  00"
      "01 00 00 00  05 00 00 00 00 00 00 00 00 00 00 00"
      "02 00 00 00 00";
  EXPECT_TRUE(velktest::BytesEqual(Bytes(stream), velktest::ParseHex(expected.c_str())));

  BeScheme copy;
  copy.Init(&catalogue);
  stream.Seek(0, 0);
  ASSERT_TRUE(copy.Load(&stream, false));
  ASSERT_EQ(copy.GetBlockCount(), 2);
  CBEVirtualMachine* read = dynamic_cast<CBEVirtualMachine*>(copy.blocks);
  CBEVirtualMachine* readFirst = dynamic_cast<CBEVirtualMachine*>(copy.blocks->next);
  ASSERT_NE(read, nullptr);
  ASSERT_NE(readFirst, nullptr);
  EXPECT_STREQ(read->Source(), L"y=x;");
  EXPECT_EQ(read->inputs[0]->source, readFirst->outputs[0]);
  EXPECT_STREQ(readFirst->outputs[0]->name, L"v");
  EXPECT_EQ(readFirst->outputs[0]->type, kBeSignalShort);
  EXPECT_EQ(readFirst->Source(), nullptr);
  EXPECT_EQ(readFirst->Machine()->CodeSize(), 0);

  // Every cut of the stream fails and leaves the scheme without new blocks.
  std::vector<uint8_t> all = Bytes(stream);
  for (size_t cut = 0; cut < all.size(); ++cut) {
    CMemoryStream part;
    part.Write(all.data(), static_cast<int>(cut));
    part.Seek(0, 0);
    BeScheme target;
    target.Init(&catalogue);
    EXPECT_FALSE(target.Load(&part, false)) << "cut at " << cut;
    EXPECT_EQ(target.GetBlockCount(), 0) << "cut at " << cut;
  }
}

TEST(ScriptBlock, UpdateSizeFitsThePins) {
  CBEVirtualMachine block;
  block.rect = RECT{0, 30, 200, 90};
  for (int i = 0; i < 5; ++i) AddInput(&block, L"i", kBeSignalInt);
  for (int i = 0; i < 2; ++i) AddOutput(&block, L"o", kBeSignalInt);
  block.UpdateSize();
  EXPECT_EQ(block.rect.top, 30);
  EXPECT_EQ(block.rect.bottom, 140);  // 20 x 5 + 10
  const int inputs[] = {11, 33, 55, 77, 99};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(block.inputs[i]->yOffset, inputs[i]) << i;
  EXPECT_EQ(block.outputs[0]->yOffset, 27);
  EXPECT_EQ(block.outputs[1]->yOffset, 82);
  ASSERT_TRUE(block.SetInputPins(1));
  block.UpdateSize();
  EXPECT_EQ(block.rect.bottom, 100);  // at least 70
  ASSERT_TRUE(block.SetOutputPins(4));
  block.UpdateSize();
  EXPECT_EQ(block.rect.bottom, 120);  // 20 x 4 + 10
  EXPECT_EQ(block.outputs[3]->name, nullptr);
  EXPECT_EQ(block.outputs[3]->type, kBeSignalBit);
}

// Start makes one global per pin with its type's starting value; a later
// pin hides an earlier one and every built-in of its name.
TEST(ScriptBlock, StartMakesAVariablePerPin) {
  CBEVirtualMachine block;
  const BeSignalType types[] = {kBeSignalBit, kBeSignalChar, kBeSignalShort, kBeSignalInt, kBeSignalFloat, kBeSignalDouble, kBeSignalAnalog};
  const wchar_t* names[] = {L"b", L"c", L"s", L"i", L"f", L"d", L"a"};
  const int tags[] = {VM_BOOLEAN, VM_INTEGER, VM_INTEGER, VM_INTEGER, VM_NUMBER, VM_NUMBER, VM_UNDEFINED};
  for (int k = 0; k < 7; ++k) AddInput(&block, names[k], types[k]);
  AddInput(&block, L"twice", kBeSignalInt);
  AddOutput(&block, L"twice", kBeSignalDouble);
  AddOutput(&block, L"print", kBeSignalShort);
  block.Start();
  VmEngine* vm = block.Machine();
  for (int k = 0; k < 7; ++k) {
    VmVariable* v = vm->FindGlobal(names[k]);
    ASSERT_NE(v, nullptr) << k;
    EXPECT_EQ(v->value.type, tags[k]) << k;
    EXPECT_EQ(v->value.ToDouble(), 0) << k;
  }
  EXPECT_EQ(vm->FindGlobal(L"twice")->value.type, VM_NUMBER);
  EXPECT_EQ(vm->FindGlobal(L"print")->value.type, VM_INTEGER);
  EXPECT_NE(vm->FindGlobal(L"Math"), nullptr);  // the built-ins came first
  EXPECT_EQ(vm->ProgramCounter(), 0);
}

// Steps of 0.01 s: the sum of five single-precision hundredths is not above
// the single-precision 0.05, so the first run comes with the sixth step,
// and the clock restarts then, so every sixth step runs after it.
TEST(ScriptBlock, RunsEveryFiftyMillisecondsOfSimulatedTime) {
  CBEVirtualMachine block;
  AddOutput(&block, L"t", kBeSignalDouble);
  Compile(&block, L"while (1) { t = time(); }");
  block.Start();
  std::vector<int> runs;
  double last = 0;
  for (int step = 1; step <= 600; ++step) {
    block.Step(0.01f);
    double t = block.outputs[0]->GetDouble();
    if (t != last) runs.push_back(step);
    last = t;
  }
  ASSERT_EQ(runs.size(), 100u);
  for (size_t k = 0; k < runs.size(); ++k) EXPECT_EQ(runs[k], static_cast<int>(6 * (k + 1))) << k;
  // time() is the simulated time of the run: 600 steps of 0.01 s.
  EXPECT_NEAR(last, 6.0, 1e-5);
  EXPECT_NEAR(block.RunTime(), 6.0, 1e-5);
}

// A long step runs one slice, not one per 0.05 s in it.
TEST(ScriptBlock, ALongStepRunsOneSlice) {
  CBEVirtualMachine block;
  AddOutput(&block, L"n", kBeSignalInt);
  Compile(&block, L"while (1) { n = n + 1; }");
  CBEVirtualMachine shortSteps;
  AddOutput(&shortSteps, L"n", kBeSignalInt);
  Compile(&shortSteps, L"while (1) { n = n + 1; }");
  shortSteps.Start();
  shortSteps.Step(0.06f);
  int oneSlice = shortSteps.outputs[0]->GetInt();
  shortSteps.Step(0.06f);
  int twoSlices = shortSteps.outputs[0]->GetInt();
  ASSERT_GT(oneSlice, 100);
  block.Start();
  block.Step(1.0f);
  EXPECT_EQ(block.outputs[0]->GetInt(), oneSlice);
  block.Step(1.0f);
  EXPECT_EQ(block.outputs[0]->GetInt(), twoSlices);
  block.Step(0.05f);  // not above 0.05: nothing
  EXPECT_EQ(block.outputs[0]->GetInt(), twoSlices);
}

// Linked inputs by the input's type, into the variable of the pin's name.
TEST(ScriptBlock, InputsReachTheirVariablesByType) {
  SourceBlock source(7);
  CBEVirtualMachine block;
  const BeSignalType types[] = {kBeSignalBit, kBeSignalChar, kBeSignalShort, kBeSignalInt, kBeSignalFloat, kBeSignalDouble, kBeSignalAnalog};
  const wchar_t* names[] = {L"b", L"c", L"s", L"i", L"f", L"d", L"a"};
  for (int k = 0; k < 7; ++k) {
    AddInput(&block, names[k], types[k]);
    block.inputs[k]->source = source.outputs[k];
  }
  AddInput(&block, L"loose", kBeSignalInt);  // unlinked: keeps its value
  source.outputs[0]->value[0] = 2;
  source.outputs[1]->value[0] = 0xFF;
  source.outputs[2]->SetInt(0xFFFF);
  source.outputs[3]->SetInt(-2);
  source.outputs[4]->SetFloat(1.5f);
  source.outputs[5]->SetDouble(-2.25);
  source.outputs[6]->SetInt(7);
  block.Start();
  VmEngine* vm = block.Machine();
  vm->FindGlobal(L"loose")->value.SetInt(9);
  block.Step(0.1f);
  struct Expected {
    int tag;
    double value;
  };
  const Expected expected[] = {{VM_BOOLEAN, 1}, {VM_INTEGER, -1}, {VM_INTEGER, -1}, {VM_INTEGER, -2},
                               {VM_NUMBER, 1.5}, {VM_NUMBER, -2.25}, {VM_UNDEFINED, 0}};
  for (int k = 0; k < 7; ++k) {
    const VmValue& v = vm->FindGlobal(names[k])->value;
    EXPECT_EQ(v.type, expected[k].tag) << k;
    EXPECT_EQ(v.ToDouble(), expected[k].value) << k;
  }
  EXPECT_EQ(vm->FindGlobal(L"loose")->value.i, 9);
  source.outputs[0]->value[0] = 0;
  block.Step(0.1f);
  EXPECT_FALSE(vm->FindGlobal(L"b")->value.b);
}

// Variables into outputs by the output's type.
TEST(ScriptBlock, OutputsTakeTheirVariablesByType) {
  struct Case {
    BeSignalType type;
    const wchar_t* source;  // the script sets o
    const char* bytes;      // the output's first bytes afterwards
  };
  const Case cases[] = {
      {kBeSignalBit, L"o = 0.5;", "01"},
      {kBeSignalBit, L"o = \"true\";", "01"},
      {kBeSignalBit, L"o = \"yes\";", "00"},
      {kBeSignalBit, L"o = 7;", "01"},
      {kBeSignalChar, L"o = 300;", "2C"},
      {kBeSignalChar, L"o = -1;", "FF"},
      {kBeSignalShort, L"o = 70000;", "70 11"},
      {kBeSignalShort, L"o = -2.7;", "FE FF"},
      {kBeSignalInt, L"o = \"0x1F\";", "1F 00 00 00"},
      {kBeSignalInt, L"o = -5;", "FB FF FF FF"},
      {kBeSignalFloat, L"o = 1.5;", "00 00 C0 3F"},
      {kBeSignalFloat, L"o = 3;", "00 00 40 40"},
      {kBeSignalDouble, L"o = \"2.5\";", "00 00 00 00 00 00 04 40"},
      {kBeSignalDouble, L"o = true;", "00 00 00 00 00 00 F0 3F"},
  };
  for (const Case& c : cases) {
    CBEVirtualMachine block;
    AddOutput(&block, L"o", c.type);
    Compile(&block, c.source);
    block.Start();
    block.Step(0.06f);
    std::vector<uint8_t> expected = velktest::ParseHex(c.bytes);
    EXPECT_EQ(std::vector<uint8_t>(block.outputs[0]->value, block.outputs[0]->value + expected.size()), expected)
        << std::string(c.bytes);
  }
}

// A script that stops on an error logs one line; the block goes on
// stepping and keeps writing the variables' last values to its outputs.
TEST(ScriptBlock, AnErrorIsLoggedOnceAndOutputsStayWritten) {
  CBEVirtualMachine block;
  Logged logged(&block);
  AddOutput(&block, L"y", kBeSignalInt);
  Compile(&block, L"y = 4;\nmissing = y + unknown;\ny = 5;");
  block.Start();
  for (int step = 0; step < 50; ++step) block.Step(0.02f);
  EXPECT_EQ(logged.Lines(), std::vector<std::wstring>{L"Ошибка в строке 2: Переменная \"unknown\" не найдена"});
  EXPECT_EQ(block.outputs[0]->GetInt(), 4);
  EXPECT_EQ(block.Machine()->ProgramCounter(), -1);
  // The stopped program's variables still go out on every run.
  block.Machine()->FindGlobal(L"y")->value.SetInt(8);
  block.Step(0.06f);
  EXPECT_EQ(block.outputs[0]->GetInt(), 8);
  // A new start runs the program again from its beginning.
  block.Start();
  block.Step(0.06f);
  EXPECT_EQ(logged.Lines().size(), 2u);
}

// A block that was never compiled runs nothing and reports nothing; its
// outputs show the starting values.
TEST(ScriptBlock, ABlockWithoutCodeStaysIdle) {
  CBEVirtualMachine block;
  Logged logged(&block);
  AddOutput(&block, L"y", kBeSignalFloat);
  block.outputs[0]->SetFloat(3.0f);
  block.Start();
  for (int step = 0; step < 10; ++step) block.Step(0.1f);
  EXPECT_TRUE(logged.Lines().empty());
  EXPECT_EQ(block.outputs[0]->GetFloat(), 0.0f);
}

// Two pins of one name share the variable of the later one.
TEST(ScriptBlock, PinsOfOneNameShareAVariable) {
  SourceBlock source(1);
  source.outputs[0]->SetInt(21);
  CBEVirtualMachine block;
  AddInput(&block, L"v", kBeSignalInt);
  block.inputs[0]->source = source.outputs[0];
  AddOutput(&block, L"v", kBeSignalDouble);
  Compile(&block, L"v = v * 2;");
  block.Start();
  block.Step(0.06f);
  EXPECT_EQ(block.outputs[0]->GetDouble(), 42.0);
}

// A scheme of a source feeding the script block, stepped by its run loop:
// the script doubles what comes in and prints every change.
TEST(ScriptBlock, RunsInsideASchemeFedByAnotherBlock) {
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  ASSERT_TRUE(AddScriptBlockEntry(catalogue.AddGroup(kScriptBlockGroup)));
  BeScheme scheme;
  scheme.Init(&catalogue);
  SourceBlock* source = new SourceBlock(1);
  source->outputs[0]->type = kBeSignalInt;
  source->AttachToScheme(&scheme);
  CBEVirtualMachine* block = static_cast<CBEVirtualMachine*>(scheme.CreateBlock(kScriptBlockClassId));
  Logged logged(block);
  AddInput(block, L"x", kBeSignalInt);
  AddOutput(block, L"y", kBeSignalInt);
  block->inputs[0]->source = source->outputs[0];
  Compile(block, L"var seen = 0;\nwhile (1) { if (x != seen) { seen = x; print(\"x=\", x); } y = x * 2; }");
  scheme.Start();
  EXPECT_FALSE(scheme.halted);
  for (int step = 0; step < 20; ++step) scheme.Step(0.01f);
  source->outputs[0]->SetInt(21);
  for (int step = 0; step < 20; ++step) scheme.Step(0.01f);
  EXPECT_EQ(block->outputs[0]->GetInt(), 42);
  source->outputs[0]->SetInt(-4);
  for (int step = 0; step < 20; ++step) scheme.Step(0.01f);
  EXPECT_EQ(block->outputs[0]->GetInt(), -8);
  scheme.Stop();
  EXPECT_EQ(logged.Lines(), (std::vector<std::wstring>{L"x=21", L"x=-4"}));
}

// A grey canvas: the block's white parts show on it.
struct Canvas : velktest::MemoryCanvas {
  Canvas(int w, int h) : MemoryCanvas(w, h, GRAY_BRUSH) {}
};

// The body framed in black, "JavaScript" under the middle, the picture
// above it, no caption; then the whole block as the view paints it.
TEST(ScriptBlock, DrawsTextAndPicture) {
  Canvas canvas(260, 130);
  CBEVirtualMachine block;
  block.SetCaption(L"Скрипт");
  block.rect = RECT{20, 20, 220, 90};
  block.Draw(canvas.dc());
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), yellow = RGB(240, 219, 79);
  EXPECT_EQ(canvas.At(20, 50), black);   // frame
  EXPECT_EQ(canvas.At(219, 50), black);
  EXPECT_EQ(canvas.At(30, 30), white);   // fill
  // The picture's top-left corner is ((20 + 220 - 18) / 2, (20 + 90 - 32) / 2)
  // = (111, 39): its first row is white, then black from x 113; its second
  // row has yellow from x 114.
  EXPECT_EQ(canvas.At(111, 39), white);
  EXPECT_EQ(canvas.At(113, 39), black);
  EXPECT_EQ(canvas.At(114, 40), yellow);
  EXPECT_GT(canvas.Count(111, 39, 128, 60, yellow), 100);
  EXPECT_EQ(canvas.Count(0, 0, 259, 129, yellow), canvas.Count(111, 39, 128, 60, yellow));
  // The text's top is at (20 + 90 + 24) / 2 = 67, centred: black ink below
  // 67 on both sides of the middle, none in the body above the picture.
  EXPECT_GT(canvas.Count(70, 67, 119, 89, black), 10);
  EXPECT_GT(canvas.Count(121, 67, 170, 89, black), 10);
  EXPECT_EQ(canvas.Count(22, 22, 217, 37, black), 0);
  EXPECT_EQ(canvas.Count(22, 40, 100, 64, black), 0);

  AddInput(&block, L"x", kBeSignalInt);
  AddOutput(&block, L"y", kBeSignalDouble);
  block.UpdateSize();
  Canvas whole(260, 130);
  block.Paint(whole.dc(), true);
  whole.Save(L"script_block.bmp");
  EXPECT_EQ(whole.At(114, 40), yellow);
}

}  // namespace
