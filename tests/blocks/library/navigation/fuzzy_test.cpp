// The fuzzy-logic block with and without its module: the message of a
// missing module (once per run), pins from the model, the step through the
// model (guarded against re-entry and exceptions), the editor held open by
// the F key with the cursor shown and hidden once, the record and a
// document read where the module is missing.
#include <windows.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "block_kit.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/navigation/fuzzy.h"
#include "blocks/library/navigation/fuzzy_module.h"
#include "blocks/library/navigation/strip_detector.h"
#include "foundation/memory_stream.h"
#include "kestui/core/kest_host_scope.h"
#include "fuzzy_kit.h"
#include "support/test_support.h"

namespace {

using fuzzytest::ModuleScope;
using fuzzytest::Stub;

const wchar_t kFuzzyCaption[] = L"Нечеткая логическая система";
const wchar_t kStripCaption[] = L"Блок распознавания светоотражающей полосы";
const blocktest::Costs kFuzzyCosts(10000, 361984, 5444);

std::vector<uint8_t> Form(int in, int out) {
  return {'F', 'Z', static_cast<uint8_t>(in), static_cast<uint8_t>(out)};
}

// A bench whose program module is the stand-in, with the fuzzy block (and
// the strip detector) offered.
class FuzzyWithStub : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(bench.library.Offer(kBeFuzzyClassId, kFuzzyCaption));
    ASSERT_TRUE(bench.library.Offer(kBeStripDetectorClassId, kStripCaption));
  }
  // A new block; with counts, the editor has given its model that many
  // inputs and outputs.
  CBEFuzzy* NewFuzzy(int in = -1, int out = -1) {
    CBEFuzzy* fuzzy = bench.Create<CBEFuzzy>(kBeFuzzyClassId);
    if (fuzzy && in >= 0) {
      Stub stub;
      EXPECT_TRUE(stub.Loaded());
      if (!stub.Loaded()) return fuzzy;
      stub.SetNextEdit(in, out);
      EXPECT_TRUE(fuzzy->ShowProperties());
    }
    return fuzzy;
  }

  ModuleScope module{fuzzytest::StubFolder()};
  blocktest::Bench bench;
};

TEST(FuzzyWithoutModule, TheFailureIsReportedOnceAndTheBlocksHaveNoModel) {
  // No module at all, and one that lacks "FuzzyLoad".
  for (const std::wstring& folder : {fuzzytest::NoModuleFolder(), fuzzytest::PartialStubFolder()}) {
    SCOPED_TRACE(std::string(folder.begin(), folder.end()));
    ModuleScope module(folder);
    blocktest::Bench bench;
    ASSERT_TRUE(bench.library.Offer(kBeFuzzyClassId, kFuzzyCaption));
    std::vector<CBEFuzzy*> blocks;
    for (int i = 0; i < 3; ++i) blocks.push_back(bench.Create<CBEFuzzy>(kBeFuzzyClassId));
    ASSERT_EQ(1u, bench.host.texts.size());
    EXPECT_EQ(L"Не удалось приинициализировать fuzzydll.dll", bench.host.texts[0]);
    EXPECT_EQ(L"Ошибка", bench.host.captions[0]);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), bench.host.styles[0] & MB_ICONMASK);
    EXPECT_FALSE(module.IsLoaded());
    EXPECT_EQ(nullptr, fuzzytest::LoadedStub(folder));  // freed again
    for (CBEFuzzy* fuzzy : blocks) {
      ASSERT_NE(nullptr, fuzzy);
      EXPECT_EQ(0u, fuzzy->GetModel());
      EXPECT_EQ(0, fuzzy->inputCount);
      EXPECT_EQ(0, fuzzy->outputCount);
      EXPECT_EQ(200, fuzzy->Width());
      EXPECT_EQ(50, fuzzy->Height());
      EXPECT_EQ(kFuzzyCosts, blocktest::CostsOf(fuzzy));
      EXPECT_FALSE(fuzzy->ShowProperties());
      auto golden = blocktest::Golden().I32(0).Base(blocktest::BaseRecord::Unlinked(fuzzy->rect, 0, 0)).Bytes();
      EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(fuzzy), golden));
    }
    bench.Passes(2);
    EXPECT_EQ(1u, bench.host.texts.size());
  }
}

TEST_F(FuzzyWithStub, ANewBlockHasAModelButNoPins) {
  CBEFuzzy* fuzzy = NewFuzzy();
  ASSERT_NE(nullptr, fuzzy);
  EXPECT_TRUE(bench.host.texts.empty());
  EXPECT_NE(0u, fuzzy->GetModel());
  EXPECT_EQ(0, fuzzy->inputCount);
  EXPECT_EQ(0, fuzzy->outputCount);
  EXPECT_EQ(50, fuzzy->Height());
  EXPECT_EQ(200, fuzzy->Width());
  EXPECT_EQ(static_cast<COLORREF>(0xFFCCFF), fuzzy->fillColor);
  EXPECT_EQ(kFuzzyCosts, blocktest::CostsOf(fuzzy));
  EXPECT_EQ(1, Stub().LiveModels());
}

TEST_F(FuzzyWithStub, TheEditorGivesThePinsOfTheModel) {
  struct Case {
    int in, out, height;
  };
  // max(in, out, 2) 20 + 10.
  const Case cases[] = {{1, 3, 70}, {0, 0, 50}, {4, 2, 90}, {2, 2, 50}, {3, 0, 70}, {1, 1, 50}};
  CBEFuzzy* fuzzy = NewFuzzy();
  ASSERT_NE(nullptr, fuzzy);
  Stub stub;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.in << " in, " << c.out << " out");
    stub.SetNextEdit(c.in, c.out);
    EXPECT_TRUE(fuzzy->ShowProperties());
    EXPECT_EQ(fuzzytest::kDialogTitle1251, stub.LastTitle());
    EXPECT_EQ(1, stub.LastFlag());
    ASSERT_EQ(c.in, fuzzy->inputCount);
    ASSERT_EQ(c.out, fuzzy->outputCount);
    EXPECT_EQ(c.height, fuzzy->Height());
    for (int i = 0; i < c.in; ++i) {
      EXPECT_EQ(kBeSignalFloat, fuzzy->inputs[i]->type);
      EXPECT_EQ(L"вх" + std::to_wstring(i), fuzzy->inputs[i]->name);
      EXPECT_EQ(nullptr, fuzzy->inputs[i]->description);
    }
    for (int j = 0; j < c.out; ++j) {
      EXPECT_EQ(kBeSignalFloat, fuzzy->outputs[j]->type);
      EXPECT_EQ(L"y" + std::to_wstring(j), fuzzy->outputs[j]->name);
      EXPECT_EQ(nullptr, fuzzy->outputs[j]->description);
    }
  }
}

TEST_F(FuzzyWithStub, AStepFeedsTheLinkedInputsToTheModelAndReadsItsOutputs) {
  CBEFuzzy* fuzzy = NewFuzzy(2, 3);
  ASSERT_NE(nullptr, fuzzy);
  blocktest::Source* a = bench.Source(kBeSignalFloat);
  blocktest::Source* b = bench.Source(kBeSignalFloat);
  a->SetFloat(1.5f);
  b->SetFloat(2.25f);
  bench.Link(a, 0, fuzzy, 0);
  bench.Link(b, 0, fuzzy, 1);
  bench.Pass();
  // Output j is (j + 1) (1.5 + 2.25).
  EXPECT_FLOAT_EQ(3.75f, blocktest::ReadFloat(fuzzy, 0));
  EXPECT_FLOAT_EQ(7.5f, blocktest::ReadFloat(fuzzy, 1));
  EXPECT_FLOAT_EQ(11.25f, blocktest::ReadFloat(fuzzy, 2));
  // An input without a link is not set: the model keeps 2.25 there.
  bench.Unlink(fuzzy, 1);
  a->SetFloat(1.0f);
  bench.Pass();
  EXPECT_FLOAT_EQ(3.25f, blocktest::ReadFloat(fuzzy, 0));
  EXPECT_FLOAT_EQ(9.75f, blocktest::ReadFloat(fuzzy, 2));
  EXPECT_FALSE(module.running);
}

TEST_F(FuzzyWithStub, TheRecordHoldsTheModelsSavedFormBeforeTheBaseRecord) {
  CBEFuzzy* fuzzy = NewFuzzy(1, 3);
  ASSERT_NE(nullptr, fuzzy);
  std::vector<uint8_t> form = Form(1, 3);
  auto golden = blocktest::Golden()
                    .I32(4)
                    .Raw(form.data(), form.size())
                    .Base(blocktest::BaseRecord::Unlinked(fuzzy->rect, 1, 3))
                    .Bytes();
  std::vector<uint8_t> record = blocktest::RecordBytes(fuzzy);
  EXPECT_TRUE(velktest::BytesEqual(record, golden));
  blocktest::ExpectTruncationsRefused<CBEFuzzy>(kBeFuzzyClassId, record);

  blocktest::Source* x = bench.Source(kBeSignalFloat);
  bench.Link(x, 0, fuzzy, 0);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  std::vector<CBEFuzzy*> read = blocktest::BlocksOf<CBEFuzzy>(copy.get());
  std::vector<blocktest::Source*> sources = blocktest::BlocksOf<blocktest::Source>(copy.get());
  ASSERT_EQ(1u, read.size());
  ASSERT_EQ(1u, sources.size());
  EXPECT_NE(fuzzy->GetModel(), read[0]->GetModel());
  ASSERT_EQ(1, read[0]->inputCount);
  ASSERT_EQ(3, read[0]->outputCount);
  EXPECT_EQ(70, read[0]->Height());
  EXPECT_STREQ(L"вх0", read[0]->inputs[0]->name);
  EXPECT_STREQ(L"y2", read[0]->outputs[2]->name);
  EXPECT_EQ(sources[0]->outputs[0], read[0]->inputs[0]->source);
  // The model read runs: outputs (j + 1) x.
  sources[0]->SetFloat(2.0f);
  copy->Start();
  read[0]->Step(0.001f);
  EXPECT_FLOAT_EQ(6.0f, blocktest::ReadFloat(read[0], 2));
  copy->Stop();
}

TEST_F(FuzzyWithStub, ASizeOutsideTheRecordOrTheLimitIsRefusedBeforeAnythingChanges) {
  CBEFuzzy* fuzzy = NewFuzzy(2, 1);
  ASSERT_NE(nullptr, fuzzy);
  std::vector<uint8_t> before = blocktest::RecordBytes(fuzzy);
  BeFuzzyHandle model = fuzzy->GetModel();
  std::vector<uint8_t> rest = Form(1, 1);
  auto base = blocktest::Golden().Base(blocktest::BaseRecord::Unlinked(fuzzy->rect, 1, 1)).Bytes();
  rest.insert(rest.end(), base.begin(), base.end());
  // Sizes: negative, above 10,000,000, and beyond the bytes left.
  for (int32_t n : {-1, INT_MIN, 10000001, INT_MAX, static_cast<int32_t>(rest.size()) + 1}) {
    SCOPED_TRACE(n);
    auto bytes = blocktest::Golden().I32(n).Raw(rest.data(), rest.size()).Bytes();
    EXPECT_FALSE(blocktest::LoadBytes(fuzzy, bytes));
    EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(fuzzy), before));
    EXPECT_EQ(model, fuzzy->GetModel());
    EXPECT_EQ(1, Stub().LiveModels());
  }
  // The same bytes with the right size load.
  auto good = blocktest::Golden().I32(4).Raw(rest.data(), rest.size()).Bytes();
  EXPECT_TRUE(blocktest::LoadBytes(fuzzy, good));
  EXPECT_EQ(1, fuzzy->inputCount);
  EXPECT_EQ(1, fuzzy->outputCount);
  EXPECT_EQ(1, Stub().LiveModels());
}

TEST(FuzzyDocument, ReadWithoutTheModuleKeepsTheModelAndReadsTheFollowingBlocks) {
  std::vector<uint8_t> saved;
  {
    ModuleScope module(fuzzytest::StubFolder());
    blocktest::Bench bench;
    ASSERT_TRUE(bench.library.Offer(kBeFuzzyClassId, kFuzzyCaption));
    ASSERT_TRUE(bench.library.Offer(kBeStripDetectorClassId, kStripCaption));
    // Saved in the order made: the strip detector, a fuzzy block (1 in,
    // 1 out) fed by output 2 of the next one (1 in, 3 out), the source.
    auto* strip = bench.Create<CBEStripDetector>(kBeStripDetectorClassId);
    ASSERT_NE(nullptr, strip);
    ASSERT_TRUE(strip->SetSubName(L"WHITE"));
    auto* second = bench.Create<CBEFuzzy>(kBeFuzzyClassId);
    auto* first = bench.Create<CBEFuzzy>(kBeFuzzyClassId);
    ASSERT_TRUE(first && second);
    Stub stub;
    ASSERT_TRUE(stub.Loaded());
    stub.SetNextEdit(1, 3);
    first->ShowProperties();
    stub.SetNextEdit(1, 1);
    second->ShowProperties();
    blocktest::Source* x = bench.Source(kBeSignalFloat);
    bench.Link(x, 0, first, 0);
    bench.Link(first, 2, second, 0);
    second->MoveTo(300, 40);
    saved = bench.SchemeBytes();
  }
  ModuleScope module(fuzzytest::NoModuleFolder());
  blocktest::Bench bench;
  ASSERT_TRUE(bench.library.Offer(kBeFuzzyClassId, kFuzzyCaption));
  ASSERT_TRUE(bench.library.Offer(kBeStripDetectorClassId, kStripCaption));
  CMemoryStream s;
  s.Write(saved.data(), static_cast<int>(saved.size()));
  s.Seek(0, 0);
  ASSERT_TRUE(bench.scheme.Load(&s, false));
  EXPECT_EQ(1u, bench.host.texts.size());  // two blocks made, one message
  std::vector<CBEFuzzy*> fuzzies = blocktest::BlocksOf<CBEFuzzy>(&bench.scheme);
  std::vector<blocktest::Source*> sources = blocktest::BlocksOf<blocktest::Source>(&bench.scheme);
  std::vector<CBEStripDetector*> strips = blocktest::BlocksOf<CBEStripDetector>(&bench.scheme);
  ASSERT_EQ(2u, fuzzies.size());
  ASSERT_EQ(1u, sources.size());
  ASSERT_EQ(1u, strips.size());
  // The list holds the read blocks in the stream's order.
  CBEFuzzy* first = fuzzies[0];
  CBEFuzzy* second = fuzzies[1];
  if (first->outputCount != 3) std::swap(first, second);
  ASSERT_EQ(1, first->inputCount);
  ASSERT_EQ(3, first->outputCount);
  ASSERT_EQ(1, second->inputCount);
  ASSERT_EQ(1, second->outputCount);
  EXPECT_EQ(0u, first->GetModel());
  EXPECT_EQ(300, second->rect.left);
  EXPECT_EQ(sources[0]->outputs[0], first->inputs[0]->source);
  EXPECT_EQ(first->outputs[2], second->inputs[0]->source);
  ASSERT_EQ(4, first->GetKeptFormSize());
  EXPECT_TRUE(velktest::BytesEqual(Form(1, 3), std::vector<uint8_t>(first->GetKeptForm(), first->GetKeptForm() + 4)));
  EXPECT_STREQ(L"WHITE", strips[0]->GetSubName());
  // Steps do nothing; the document is written back as it was read.
  bench.Passes(2);
  EXPECT_TRUE(velktest::BytesEqual(bench.SchemeBytes(), saved));
}

TEST(FuzzyWithoutModule, ARecordWithAModelIsKeptWholeAndItsCutsBeforeThePinsAreRefused) {
  ModuleScope module(fuzzytest::NoModuleFolder());
  blocktest::KitHost host;
  CKestHostScope hostScope(&host);
  RECT rect = {10, 20, 210, 90};
  std::vector<uint8_t> form = Form(1, 3);
  blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(rect, 1, 3);
  base.inputs[0] = {0, 1, 2, 3};  // a detached block keeps no source
  base.outputs = {{5, 0}, {6, 0}, {7, 1}};
  auto record = blocktest::Golden().I32(4).Raw(form.data(), form.size()).Base(base).Bytes();
  // Size, form, rectangle, empty caption and flags: the pins begin there.
  const size_t pinsAt = 4 + 4 + 16 + 2 + 1;
  blocktest::ForEachTruncation<CBEFuzzy>(kBeFuzzyClassId, record, [&](CBEFuzzy* block, size_t n, bool loaded) {
    if (n < pinsAt) {
      EXPECT_FALSE(loaded);
      EXPECT_EQ(0, block->GetKeptFormSize());
      EXPECT_EQ(0, block->inputCount + block->outputCount);
    }
    if (n == record.size()) {
      ASSERT_TRUE(loaded);
      EXPECT_EQ(1, block->inputCount);
      EXPECT_EQ(3, block->outputCount);
      EXPECT_EQ(4, block->GetKeptFormSize());
      EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(block), record));
    }
  });
}

TEST(FuzzyWithoutModule, APinlessRecordFollowedByOtherDataOfTheDocumentLoads) {
  ModuleScope module(fuzzytest::NoModuleFolder());
  blocktest::Bench bench;
  ASSERT_TRUE(bench.library.Offer(kBeFuzzyClassId, kFuzzyCaption));
  CBEFuzzy* fuzzy = bench.Create<CBEFuzzy>(kBeFuzzyClassId);
  ASSERT_NE(nullptr, fuzzy);
  RECT rect = {0, 0, 200, 50};
  std::vector<uint8_t> form = Form(0, 0);
  auto record = blocktest::Golden().I32(4).Raw(form.data(), form.size())
                    .Base(blocktest::BaseRecord::Unlinked(rect, 0, 0)).Bytes();
  // The last block of a unit's program: the document goes on after it.
  auto bytes = record;
  for (uint8_t b : {0x13, 0x57, 0x9B, 0xDF, 0x02, 0x46}) bytes.push_back(b);
  CMemoryStream s;
  s.Write(bytes.data(), static_cast<int>(bytes.size()));
  s.Seek(0, 0);
  ASSERT_TRUE(fuzzy->Load(&s));
  EXPECT_EQ(static_cast<int>(record.size()), s.GetPosition());
  EXPECT_EQ(0, fuzzy->inputCount + fuzzy->outputCount);
  EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(fuzzy), record));
}

TEST_F(FuzzyWithStub, AFuzzyStepEnteredWhileAnotherRunsDoesNothing) {
  CBEFuzzy* outer = NewFuzzy(1, 1);
  CBEFuzzy* inner = NewFuzzy(1, 1);
  ASSERT_TRUE(outer && inner);
  Stub stub;
  // The module runs the inner block's step from inside the outer one's.
  stub.SetExecuteHook([](void* block) { static_cast<CBEFuzzy*>(block)->Step(0.001f); }, inner);
  outer->Step(0.001f);
  EXPECT_EQ(1, stub.Executes());
  EXPECT_FALSE(module.running);
  stub.SetExecuteHook(nullptr, nullptr);
  inner->Step(0.001f);
  EXPECT_EQ(2, stub.Executes());
}

// Runs the stand-in's model, then throws. It lies in this program: at 32
// bits an exception cannot leave the stand-in, which unwinds with its own
// copy of the runtime.
BeFuzzyExecuteFn g_stubExecute = nullptr;
void __cdecl ExecuteThenThrow(BeFuzzyHandle model) {
  g_stubExecute(model);
  throw 7;
}

TEST_F(FuzzyWithStub, AnExceptionEndsTheStepAndTheOutputsKeepTheirValues) {
  CBEFuzzy* fuzzy = NewFuzzy(1, 2);
  ASSERT_NE(nullptr, fuzzy);
  blocktest::Source* x = bench.Source(kBeSignalFloat);
  bench.Link(x, 0, fuzzy, 0);
  x->SetFloat(1.0f);
  bench.Pass();
  EXPECT_FLOAT_EQ(2.0f, blocktest::ReadFloat(fuzzy, 1));
  Stub stub;
  const int executes = stub.Executes();
  g_stubExecute = module.FuzzyExecute;
  module.FuzzyExecute = ExecuteThenThrow;
  x->SetFloat(5.0f);
  bench.Pass();
  module.FuzzyExecute = g_stubExecute;
  EXPECT_EQ(executes + 1, stub.Executes());
  // The model has run on 5, but the outputs were not read.
  EXPECT_FLOAT_EQ(1.0f, blocktest::ReadFloat(fuzzy, 0));
  EXPECT_FLOAT_EQ(2.0f, blocktest::ReadFloat(fuzzy, 1));
  EXPECT_FALSE(module.running);
  bench.Pass();
  EXPECT_FLOAT_EQ(10.0f, blocktest::ReadFloat(fuzzy, 1));
}

TEST_F(FuzzyWithStub, HoldingFOpensTheDebugEditorOnceAndTheCursorIsShownAndHiddenOnce) {
  CBEFuzzy* fuzzy = NewFuzzy(1, 1);
  ASSERT_NE(nullptr, fuzzy);
  Stub stub;
  int opens = stub.EditorOpens();
  module.keyDown = true;
  bench.Pass();
  EXPECT_EQ(opens + 1, stub.EditorOpens());
  EXPECT_EQ(fuzzytest::kDebugTitle1251, stub.LastTitle());
  EXPECT_EQ(0, stub.LastFlag());
  EXPECT_EQ(1, module.shown);
  EXPECT_TRUE(module.editorFromRun);
  // Held on while the editor is open: no second editor, no second show.
  bench.Passes(3);
  EXPECT_EQ(opens + 1, stub.EditorOpens());
  EXPECT_EQ(1, module.shown);
  EXPECT_EQ(1, module.cursorCalls);
  // Let go: the cursor stays while the editor is open ...
  module.keyDown = false;
  bench.Pass();
  EXPECT_EQ(1, module.shown);
  // ... and is hidden on the first step after it closed, once.
  stub.CloseEditor();
  bench.Passes(3);
  EXPECT_EQ(0, module.shown);
  EXPECT_EQ(2, module.cursorCalls);
  EXPECT_FALSE(module.editorFromRun);
  // Opened again, and the block goes with the editor open: the cursor is
  // hidden as the module goes.
  module.keyDown = true;
  bench.Pass();
  EXPECT_EQ(opens + 2, stub.EditorOpens());
  EXPECT_EQ(1, module.shown);
  bench.scheme.DeleteBlocks(true);
  EXPECT_EQ(0, module.shown);
  EXPECT_FALSE(module.editorFromRun);
  EXPECT_FALSE(module.IsLoaded());
}

TEST_F(FuzzyWithStub, TheModuleIsUnloadedWithTheLastBlock) {
  CBEFuzzy* a = NewFuzzy();
  CBEFuzzy* b = NewFuzzy();
  ASSERT_TRUE(a && b);
  EXPECT_EQ(2, Stub().LiveModels());
  EXPECT_EQ(2, module.GetUserCount());
  delete a;
  EXPECT_EQ(1, Stub().LiveModels());
  EXPECT_TRUE(module.IsLoaded());
  delete b;
  EXPECT_FALSE(module.IsLoaded());
  EXPECT_EQ(0, module.GetUserCount());
  EXPECT_EQ(nullptr, fuzzytest::LoadedStub(fuzzytest::StubFolder()));
  // The next block loads it again, without a message.
  CBEFuzzy* c = NewFuzzy();
  ASSERT_NE(nullptr, c);
  EXPECT_TRUE(module.IsLoaded());
  EXPECT_NE(0u, c->GetModel());
  EXPECT_TRUE(bench.host.texts.empty());
}

TEST_F(FuzzyWithStub, DrawsItsBodyTheWordFuzzyAndTheCaptionBelow) {
  CBEFuzzy* fuzzy = NewFuzzy(1, 3);
  ASSERT_NE(nullptr, fuzzy);
  fuzzy->SetCaption(L"Регулятор");
  blocktest::Canvas canvas(240, 130);
  EXPECT_TRUE(canvas.Draw(fuzzy, 20, 10));
  // Body colour inside the frame, "Fuzzy" in the middle, the caption under
  // the block (y 80 and below).
  EXPECT_EQ(RGB(0xFF, 0xCC, 0xFF), canvas.At(30, 20));
  EXPECT_GT(canvas.Ink(100, 35, 160, 55) - canvas.Count(100, 35, 160, 55, RGB(0xFF, 0xCC, 0xFF)), 10);
  EXPECT_GT(canvas.Ink(20, 81, 220, 129), 10);
  EXPECT_EQ(0, canvas.Ink(0, 81, 10, 129));
  canvas.Save(L"library_fuzzy.bmp");
}

}  // namespace
