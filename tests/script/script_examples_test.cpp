// The example programs of the shipped language-element file, each run in a
// real script block of a block scheme over several slices: a block runs its
// program once and continues it every 0.05 s, so every example loops and
// follows its input from slice to slice.
#include <windows.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "scheme/simulation/sim_log.h"
#include "script/compiler/vm_compiler.h"
#include "script/compiler/vm_error_sink.h"
#include "script/editor/script_tool_file.h"
#include "script/script_block.h"

namespace {

// Keeps the examples by name.
class ExampleNames : public ScriptToolTarget {
public:
  void* AddGroup(void*, const wchar_t*) override { return nullptr; }
  void AddElement(void*, const wchar_t*, ScriptToolItem*) override {}
  void AddExample(const wchar_t* name, ScriptExample* example) override { byName[name] = example; }
  std::map<std::wstring, ScriptExample*> byName;
};

class FirstError : public VmErrorSink {
public:
  void ReportError(int position, const wchar_t* message) override {
    if (text.empty()) text = std::wstring(message) + L" @ " + std::to_wstring(position);
  }
  std::wstring text;
};

// A block whose output 0 holds what the test puts there.
class SourceBlock : public CBEBlock {
public:
  SourceBlock() {
    SetOutputCount(1);
    outputs[0]->type = kBeSignalDouble;
  }
};

std::wstring ShippedToolFile() {
  wchar_t exe[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe, n);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"jstool.txt";
}

// A scheme of a source feeding in1 of a script block whose output is out1,
// the block running one example.
class ExampleRun : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(ReadScriptToolFile(ShippedToolFile().c_str(), &items_, &examples_, &names_));
    catalogue_.AddGroup(nullptr);
    ASSERT_TRUE(AddScriptBlockEntry(catalogue_.AddGroup(kScriptBlockGroup)));
    scheme_.Init(&catalogue_);
    source_ = new SourceBlock;
    source_->AttachToScheme(&scheme_);
    block_ = static_cast<CBEVirtualMachine*>(scheme_.CreateBlock(kScriptBlockClassId));
    ASSERT_NE(nullptr, block_);
    block_->Machine()->SetLog(&log_);
    ASSERT_TRUE(block_->SetInputPins(1));
    ASSERT_TRUE(block_->SetInputName(0, L"in1"));
    block_->inputs[0]->type = kBeSignalDouble;
    block_->inputs[0]->source = source_->outputs[0];
    ASSERT_TRUE(block_->SetOutputPins(1));
    ASSERT_TRUE(block_->SetOutputName(0, L"out1"));
    block_->outputs[0]->type = kBeSignalDouble;
  }
  void TearDown() override {
    if (block_) block_->Machine()->SetLog(nullptr);
    scheme_.Stop();
    DeleteScriptToolItems(&items_);
    DeleteScriptExamples(&examples_);
  }
  // Compiles the example into the block and starts the scheme.
  void Start(const wchar_t* name) {
    auto found = names_.byName.find(name);
    ASSERT_NE(found, names_.byName.end()) << "no example of that name";
    const wchar_t* text = found->second->text;
    ASSERT_NE(nullptr, text);
    VmCompiler compiler;
    FirstError error;
    compiler.SetErrorSink(&error);
    ASSERT_TRUE(compiler.Compile(text)) << std::string(error.text.begin(), error.text.end());
    ASSERT_TRUE(block_->Machine()->SetCode(compiler.GetCode(), compiler.GetCodeSize()));
    ASSERT_TRUE(block_->SetSource(text));
    scheme_.Start();
    ASSERT_FALSE(scheme_.halted);
  }
  // Puts the input, runs one slice of the block (one step of 0.06 s) and
  // answers the output.
  double Slice(double input) {
    source_->outputs[0]->SetDouble(input);
    scheme_.Step(0.06f);
    return block_->outputs[0]->GetDouble();
  }
  // The program still runs: it did not end after a slice.
  bool StillRunning() const { return block_->Machine()->ProgramCounter() >= 0; }

  BeCatalogue catalogue_;
  BeScheme scheme_;
  SourceBlock* source_ = nullptr;
  CBEVirtualMachine* block_ = nullptr;
  SimMessageLog log_;
  ExampleNames names_;
  ScriptToolItem* items_ = nullptr;
  ScriptExample* examples_ = nullptr;
};

TEST_F(ExampleRun, TheAmplifierFollowsItsInput) {
  Start(L"Усилитель");
  EXPECT_EQ(10.0, Slice(4.0));
  EXPECT_EQ(-5.0, Slice(-2.0));
  EXPECT_EQ(0.0, Slice(0.0));
  EXPECT_EQ(250.0, Slice(100.0));
  EXPECT_TRUE(StillRunning());
  EXPECT_EQ(0, log_.GetCount());
}

TEST_F(ExampleRun, TheLimiterFollowsItsInputWithinTen) {
  Start(L"Ограничитель");
  EXPECT_EQ(10.0, Slice(25.0));
  EXPECT_EQ(-10.0, Slice(-30.0));
  EXPECT_EQ(3.5, Slice(3.5));
  EXPECT_EQ(10.0, Slice(10.0));
  EXPECT_EQ(-7.0, Slice(-7.0));
  EXPECT_TRUE(StillRunning());
  EXPECT_EQ(0, log_.GetCount());
}

TEST_F(ExampleRun, TheSineGeneratorFollowsTheSimulatedTime) {
  Start(L"Генератор синуса");
  const double pi = 3.14159265358979323846;
  std::vector<double> seen;
  for (int k = 0; k < 12; ++k) {
    double out = Slice(0.0);
    // 100 sin(2 pi t / 2) at the time of the slice.
    EXPECT_NEAR(100.0 * std::sin(pi * block_->RunTime()), out, 1e-6) << k;
    seen.push_back(out);
  }
  // Every slice gives a new value: the program did not stop after the first.
  for (size_t k = 1; k < seen.size(); ++k) EXPECT_NE(seen[k - 1], seen[k]) << k;
  EXPECT_TRUE(StillRunning());
}

TEST_F(ExampleRun, TheWindowAverageTakesOneValuePerSlice) {
  Start(L"Среднее по окну");
  // The inputs 1 to 10, one per slice: the mean of the last eight at most.
  const double expected[] = {1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5.5, 6.5};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(expected[k], Slice(k + 1.0)) << k;
  EXPECT_TRUE(StillRunning());
  EXPECT_EQ(0, log_.GetCount());
}

TEST_F(ExampleRun, ThePulseCounterCountsRisingEdges) {
  Start(L"Счётчик импульсов");
  const double inputs[] = {0, 1, 1, 0, 1, 0, 0, 1, 1, 0};
  const double counts[] = {0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(counts[k], Slice(inputs[k])) << k;
  EXPECT_TRUE(StillRunning());
  EXPECT_EQ(0, log_.GetCount());
}

}  // namespace
