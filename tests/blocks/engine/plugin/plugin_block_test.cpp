#include "blocks/engine/plugin/plugin_block.h"
#include "blocks/engine/plugin/plugin_load_error.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/macro/macro.h"
#include "blocks/engine/plugin/plugin_host.h"
#include "blocks/engine/engine_fixture.h"
#include "foundation/memory_stream.h"
#include "foundation/stream.h"
#include "plugin_fixture.h"
#include "scheme/model/block.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/scheme.h"

namespace {

using betest::RecordedMessages;
using betest::TestBlock;
using plugtest::ProgramPlugins;
using plugtest::Put16;
using plugtest::Put32;
using plugtest::PutText;
using plugtest::Query;

const int kAdder = 0, kGenerator = 1, kEmpty = 2;

// A unit's catalogue with the "Плагин" entry, and the test DLLs loaded.
class PluginBlockTest : public ::testing::Test {
protected:
  PluginBlockTest()
      : plugins({{L"test_plugin.dll", L"test_plugin.dll"}}) {}
  void SetUp() override {
    ASSERT_TRUE(plugins.Copied());
    ASSERT_TRUE(AddPluginCatalogueEntry(&unit.catalogue));
    scheme.Init(&unit.catalogue);
    module = plugins.Find(L"test_plugin.dll");
    ASSERT_NE(nullptr, module);
    liveBefore = Query(module, plugtest::kLive);
  }
  void TearDown() override { ClearPluginChoice(); }

  // A plug-in block of the kind, as the editor places it after the chooser.
  CBEPluginBlock* Place(BeScheme* into, BePluginModule* m, int kind) {
    SetPluginChoice(m, kind);
    return static_cast<CBEPluginBlock*>(into->CreateBlock(kBePluginBlockClassId));
  }
  int Live() { return Query(module, plugtest::kLive) - liveBefore; }

  betest::UnitCatalogue unit;
  ProgramPlugins plugins;
  BeScheme scheme;
  BePluginModule* module = nullptr;
  int liveBefore = 0;
};

TEST_F(PluginBlockTest, TheCatalogueEntryComesInTheMacroGroup) {
  const BeCatalogueEntry* entry = unit.catalogue.FindEntry(kBePluginBlockClassId);
  ASSERT_NE(nullptr, entry);
  EXPECT_STREQ(L"Плагин", entry->caption);
  EXPECT_STREQ(L"plugin.bmp", entry->bitmap);
  const BeCatalogueGroup* group = unit.catalogue.Group(3);
  ASSERT_NE(nullptr, group);
  EXPECT_STREQ(L"Макро и DLL", group->name);
  EXPECT_EQ(kBePluginBlockClassId, group->Entry(group->entryCount - 1)->classId);
  BeCatalogue empty;
  EXPECT_FALSE(AddPluginCatalogueEntry(&empty));
}

TEST_F(PluginBlockTest, ABlockWithoutAChoiceHasNoModuleAndCallsNothing) {
  CBEBlock* block = scheme.CreateBlock(kBePluginBlockClassId);
  ASSERT_NE(nullptr, block);
  CBEPluginBlock* plug = static_cast<CBEPluginBlock*>(block);
  EXPECT_EQ(nullptr, plug->module);
  EXPECT_EQ(0u, plug->handle);
  EXPECT_EQ(kBePluginBlockFill, plug->fillColor);
  EXPECT_EQ(150, plug->Width());
  EXPECT_EQ(100, plug->Height());
  EXPECT_EQ(0, plug->inputCount + plug->outputCount);
  EXPECT_STREQ(L"Плагин", plug->GetCaption());
  plug->Start();
  plug->Step(0.1f);
  plug->Stop();
  EXPECT_FALSE(plug->ShowProperties());
  EXPECT_EQ(0, Live());
}

TEST_F(PluginBlockTest, ACreatedBlockTakesTheChosenKindAndRunsThroughTheDll) {
  CBEPluginBlock* plug = Place(&scheme, module, kAdder);
  ASSERT_NE(nullptr, plug);
  EXPECT_EQ(nullptr, GetPluginChoice().module);  // the choice is used once
  EXPECT_EQ(module, plug->module);
  EXPECT_STREQ(L"Сумматор", plug->kindName);
  EXPECT_EQ(module->kinds[kAdder].name, plug->kindName);
  ASSERT_NE(0u, plug->handle);
  EXPECT_EQ(1, Live());
  // What the creator set through the host functions.
  EXPECT_STREQ(L"Сумматор DLL", plug->GetCaption());
  EXPECT_EQ(120, plug->Width());
  EXPECT_EQ(60, plug->Height());
  ASSERT_EQ(2, plug->inputCount);
  ASSERT_EQ(1, plug->outputCount);
  EXPECT_STREQ(L"a", plug->inputs[0]->name);
  EXPECT_STREQ(L"b", plug->inputs[1]->name);
  EXPECT_STREQ(L"первое слагаемое", plug->inputs[0]->description);
  EXPECT_EQ(kBeSignalInt, plug->inputs[0]->type);
  EXPECT_STREQ(L"a+b", plug->outputs[0]->name);
  EXPECT_STREQ(L"сумма", plug->outputs[0]->description);
  EXPECT_EQ(kBeSignalInt, plug->outputs[0]->type);

  // Values through the pins.
  TestBlock* a = static_cast<TestBlock*>(scheme.CreateBlock(betest::kPlainClassId));
  TestBlock* b = static_cast<TestBlock*>(scheme.CreateBlock(betest::kPlainClassId));
  a->outputs[0]->SetInt(30);
  b->outputs[0]->SetInt(12);
  betest::Link(a, 0, plug, 0);
  betest::Link(b, 0, plug, 1);
  int inits = Query(module, plugtest::kInits), dones = Query(module, plugtest::kDones);
  plug->Start();
  EXPECT_EQ(inits + 1, Query(module, plugtest::kInits));
  plug->Step(0.25f);
  EXPECT_EQ(42, plug->outputs[0]->GetInt());
  EXPECT_EQ(250, Query(module, plugtest::kLastDtMs));
  // The property dialog's change comes back as true and shows in the run.
  EXPECT_TRUE(plug->ShowProperties());
  b->outputs[0]->SetInt(-2);
  plug->Step(0.25f);
  EXPECT_EQ(29, plug->outputs[0]->GetInt());
  plug->Stop();
  EXPECT_EQ(dones + 1, Query(module, plugtest::kDones));

  delete plug;
  EXPECT_EQ(0, Live());
  EXPECT_EQ(nullptr, a->inputs[0]->source);
}

TEST_F(PluginBlockTest, TheCurrentRecordIsWrittenAsLaidDown) {
  CBEPluginBlock* plug = Place(&scheme, module, kAdder);
  ASSERT_NE(nullptr, plug);
  plugtest::SetAdder(module, plug->handle, 5, L"мю");
  plug->SetCaption(nullptr);
  plug->rect = RECT{10, 20, 130, 80};
  CMemoryStream stream;
  plug->Save(&stream);

  std::vector<uint8_t> expected;
  Put16(&expected, 1);   // version
  Put16(&expected, 2);   // inputs
  Put16(&expected, 1);   // outputs
  Put32(&expected, 10);  // data: offset (4) and "мю" with its terminator (6)
  PutText(&expected, L"test_plugin.dll");
  PutText(&expected, L"Сумматор");
  Put32(&expected, 5);
  PutText(&expected, L"мю");
  // The base record: rectangle, no caption, flags, two unlinked inputs,
  // one output with no identity outside a scheme stream.
  for (int v : {10, 20, 130, 80}) Put32(&expected, static_cast<unsigned int>(v));
  Put16(&expected, 0);
  expected.push_back(0);
  for (int i = 0; i < 2 * 4; ++i) Put32(&expected, 0);
  Put32(&expected, 0);
  expected.push_back(0);
  EXPECT_TRUE(velktest::BytesEqual(stream.data, static_cast<size_t>(stream.size), expected));
}

TEST_F(PluginBlockTest, SavedBlocksLoadBackWithTheirOwnDataAndLinks) {
  CBEPluginBlock* adder = Place(&scheme, module, kAdder);
  CBEPluginBlock* generator = Place(&scheme, module, kGenerator);
  CBEPluginBlock* empty = Place(&scheme, module, kEmpty);
  ASSERT_TRUE(adder && generator && empty);
  plugtest::SetAdder(module, adder->handle, -7, L"Z");
  TestBlock* source = static_cast<TestBlock*>(scheme.CreateBlock(betest::kPlainClassId));
  betest::Link(source, 0, adder, 1, 5, 6, 7);
  betest::Link(adder, 0, source, 0);
  CMemoryStream stream;
  scheme.Save(&stream, false);
  EXPECT_EQ(3, Live());

  BeScheme copy;
  copy.Init(&unit.catalogue);
  stream.Seek(0, 0);
  int loads = Query(module, plugtest::kLoads);
  ASSERT_TRUE(copy.Load(&stream, false));
  EXPECT_EQ(6, Live());
  EXPECT_EQ(loads + 3, Query(module, plugtest::kLoads));
  // Oldest first in the stream, so the list order is kept.
  CBEBlock* blocks[4] = {};
  int n = 0;
  for (CBEBlock* b = copy.blocks; b && n < 4; b = b->next) blocks[n++] = b;
  ASSERT_EQ(4, n);
  auto* source2 = static_cast<TestBlock*>(blocks[0]);
  auto* empty2 = static_cast<CBEPluginBlock*>(blocks[1]);
  auto* generator2 = static_cast<CBEPluginBlock*>(blocks[2]);
  auto* adder2 = static_cast<CBEPluginBlock*>(blocks[3]);
  ASSERT_EQ(kBePluginBlockClassId, adder2->GetClassId());
  EXPECT_EQ(-7, plugtest::BlockValue(module, adder2->handle, plugtest::kOffset));
  EXPECT_EQ(L'Z', plugtest::BlockValue(module, adder2->handle, plugtest::kLabelFirst));
  EXPECT_EQ(2500, plugtest::BlockValue(module, generator2->handle, plugtest::kLevelMilli));
  // "Пустой" wrote nothing: its stream ends where its data would begin,
  // although the base record follows in the stream.
  EXPECT_EQ(0, plugtest::BlockValue(module, empty2->handle, plugtest::kBytesRead));
  EXPECT_STREQ(L"Пустой", empty2->kindName);
  EXPECT_EQ(adder2->outputs[0], source2->inputs[0]->source);
  EXPECT_EQ(source2->outputs[0], adder2->inputs[1]->source);
  EXPECT_EQ(5, adder2->inputs[1]->routeX1);
  EXPECT_EQ(7, adder2->inputs[1]->routeX2);
  EXPECT_EQ(nullptr, adder2->inputs[0]->source);
  EXPECT_STREQ(L"a", adder2->inputs[0]->name);

  // The loaded adder runs with its loaded offset.
  source2->outputs[0]->SetInt(10);
  adder2->Step(0.1f);
  EXPECT_EQ(3, adder2->outputs[0]->GetInt());
}

// An older record: module and kind names, the DLL's data, the base record.
std::vector<uint8_t> OlderAdderRecord(const wchar_t* moduleName, const wchar_t* kind, int offset) {
  std::vector<uint8_t> r;
  PutText(&r, moduleName);
  PutText(&r, kind);
  Put32(&r, static_cast<unsigned int>(offset));
  PutText(&r, L"old");
  for (int v : {40, 50, 160, 110}) Put32(&r, static_cast<unsigned int>(v));
  PutText(&r, L"Старый");
  r.push_back(0);
  for (int i = 0; i < 2 * 4; ++i) Put32(&r, 0);  // the creator made two inputs
  Put32(&r, 0);
  r.push_back(0);
  return r;
}

// A "BE5 " stream of the given records, all of class id.
CMemoryStream* SchemeStream(const std::vector<std::vector<uint8_t>>& records, unsigned int classId) {
  std::vector<uint8_t> s = {'B', 'E', '5', ' '};
  Put32(&s, static_cast<unsigned int>(records.size()));
  for (const auto& r : records) {
    Put32(&s, classId);
    s.insert(s.end(), r.begin(), r.end());
  }
  CMemoryStream* stream = new CMemoryStream;
  stream->Write(s.data(), static_cast<int>(s.size()));
  stream->Seek(0, 0);
  return stream;
}

TEST_F(PluginBlockTest, TheOlderRecordLoadsWithItsDataInPlace) {
  std::unique_ptr<CMemoryStream> stream(
      SchemeStream({OlderAdderRecord(L"TEST_PLUGIN.DLL", L"Сумматор", 9)}, kBePluginBlockClassId));
  RecordedMessages messages;
  ASSERT_TRUE(scheme.Load(stream.get(), false));
  EXPECT_TRUE(messages.texts.empty());
  auto* plug = static_cast<CBEPluginBlock*>(scheme.blocks);
  ASSERT_NE(nullptr, plug);
  EXPECT_EQ(module, plug->module);
  EXPECT_EQ(9, plugtest::BlockValue(module, plug->handle, plugtest::kOffset));
  EXPECT_EQ(L'o', plugtest::BlockValue(module, plug->handle, plugtest::kLabelFirst));
  EXPECT_STREQ(L"Старый", plug->caption);
  EXPECT_EQ(40, plug->rect.left);
  EXPECT_EQ(110, plug->rect.bottom);
  EXPECT_EQ(1, Live());
  // Saved again, it takes the current layout.
  CMemoryStream again;
  plug->Save(&again);
  ASSERT_GE(again.size, 2);
  EXPECT_EQ(1, again.data[0]);
  EXPECT_EQ(0, again.data[1]);
}

TEST_F(PluginBlockTest, AnOlderRecordWithoutItsModuleOrKindFailsTheWholeLoad) {
  const struct {
    const wchar_t* module;
    const wchar_t* kind;
  } cases[] = {{L"", L"Сумматор"},
               {L"nothere.dll", L"Сумматор"},
               {L"test_plugin.dll", L"сумматор"},  // kind names keep their case
               {L"test_plugin.dll", L"Нет такого"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind #" << (&c - cases));
    // A good block first, so the failure comes with a handle made already.
    std::unique_ptr<CMemoryStream> stream(SchemeStream(
        {OlderAdderRecord(L"test_plugin.dll", L"Сумматор", 1), OlderAdderRecord(c.module, c.kind, 2)},
        kBePluginBlockClassId));
    TestBlock* kept = static_cast<TestBlock*>(scheme.CreateBlock(betest::kPlainClassId));
    bool thrown = false;
    try {
      scheme.Load(stream.get(), false);
    } catch (const BePluginLoadError& e) {
      thrown = true;
      EXPECT_STREQ(L"Ошибка в plugin", e.Text());
    }
    EXPECT_TRUE(thrown);
    // The scheme is as it was, and no handle is left behind.
    EXPECT_EQ(kept, scheme.blocks);
    EXPECT_EQ(1, scheme.GetBlockCount());
    EXPECT_EQ(0, scheme.reading);
    EXPECT_EQ(0, Live());
    delete kept;
  }
}

// A DLL built for the other width (64-bit beside the 32-bit program, or the
// other way round) is not a module this program can load: the scan leaves it
// out silently, keeps the modules of its own width, and a document whose
// older record names it fails with the plug-in load error.
TEST(PluginOtherWidth, ADllOfTheOtherWidthIsRefusedNotLoaded) {
#ifndef VELK_OTHER_WIDTH_PLUGIN
  GTEST_SKIP() << "no compiler for the other width is installed, so no DLL of that width was built";
#else
  betest::UnitCatalogue unit;
  ASSERT_TRUE(AddPluginCatalogueEntry(&unit.catalogue));
  ProgramPlugins plugins({{L"test_plugin.dll", L"same.dll"}, {L"other_width_plugin.dll", L"other.dll"}});
  ASSERT_TRUE(plugins.Copied()) << "built with " VELK_OTHER_WIDTH_PLUGIN;
  EXPECT_EQ(1, ProgramPluginList().Count());
  EXPECT_NE(nullptr, plugins.Find(L"same.dll"));
  EXPECT_EQ(nullptr, plugins.Find(L"other.dll"));

  BeScheme scheme;
  scheme.Init(&unit.catalogue);
  std::unique_ptr<CMemoryStream> stream(SchemeStream(
      {OlderAdderRecord(L"same.dll", L"Сумматор", 1), OlderAdderRecord(L"other.dll", L"Сумматор", 2)},
      kBePluginBlockClassId));
  bool thrown = false;
  try {
    scheme.Load(stream.get(), false);
  } catch (const BePluginLoadError& e) {
    thrown = true;
    EXPECT_STREQ(L"Ошибка в plugin", e.Text());
  }
  EXPECT_TRUE(thrown);
  EXPECT_EQ(nullptr, scheme.blocks);
#endif
}

TEST_F(PluginBlockTest, TheOlderRecordsExceptionUnwindsThroughNestedSchemes) {
  // A macro block whose inner scheme holds an older record of a missing
  // module, inside a scheme that already holds a loaded plug-in block.
  CBEMacro* macro = static_cast<CBEMacro*>(scheme.CreateBlock(kBeMacroBlockClassId));
  ASSERT_NE(nullptr, macro);
  CMemoryStream inner;
  std::unique_ptr<CMemoryStream> innerRecords(SchemeStream(
      {OlderAdderRecord(L"test_plugin.dll", L"Сумматор", 1), OlderAdderRecord(L"gone.dll", L"Сумматор", 2)},
      kBePluginBlockClassId));
  CMemoryStream outer;
  outer.Write("BE5 ", 4);
  outer.WriteInt32(2);
  CBEPluginBlock* first = Place(&scheme, module, kAdder);
  ASSERT_NE(nullptr, first);
  outer.WriteInt32(static_cast<int>(kBePluginBlockClassId));
  first->Save(&outer);
  outer.WriteInt32(static_cast<int>(kBeMacroBlockClassId));
  outer.WriteInt32(0);
  outer.WriteInt32(0);
  static_cast<CBEBlock*>(macro)->CBEBlock::Save(&outer);
  outer.Write(innerRecords->data, innerRecords->size);
  delete first;
  delete macro;
  ASSERT_EQ(0, Live());

  BeScheme target;
  target.Init(&unit.catalogue);
  outer.Seek(0, 0);
  EXPECT_THROW(target.Load(&outer, false), BePluginLoadError);
  EXPECT_EQ(nullptr, target.blocks);
  EXPECT_EQ(0, Live());
}

TEST_F(PluginBlockTest, AMissingModuleOrKindIsToldAndTheDocumentStillOpens) {
  // A current record of three inputs and two outputs whose DLL is gone.
  std::vector<uint8_t> r;
  Put16(&r, 1);
  Put16(&r, 3);
  Put16(&r, 2);
  Put32(&r, 3);
  PutText(&r, L"nothere.dll");
  PutText(&r, L"Фильтр");
  r.insert(r.end(), {0xAA, 0xBB, 0xCC});
  for (int v : {1, 2, 201, 102}) Put32(&r, static_cast<unsigned int>(v));
  PutText(&r, L"Мой фильтр");
  r.push_back(0);
  for (int i = 0; i < 3; ++i) {
    Put32(&r, 0);
    Put32(&r, static_cast<unsigned int>(10 + i));
    Put32(&r, 20);
    Put32(&r, 30);
  }
  for (int i = 0; i < 2; ++i) {
    Put32(&r, 0);
    r.push_back(0);
  }
  std::vector<uint8_t> wrongKind = r;
  // The same with a module that exists and a kind it lacks.
  std::vector<uint8_t> k;
  Put16(&k, 1);
  Put16(&k, 0);
  Put16(&k, 0);
  Put32(&k, 0);
  PutText(&k, L"Test_Plugin.dll");
  PutText(&k, L"Нет такого");
  for (int v : {0, 0, 150, 100}) Put32(&k, static_cast<unsigned int>(v));
  Put16(&k, 0);
  k.push_back(0);

  std::unique_ptr<CMemoryStream> stream(SchemeStream({r, k}, kBePluginBlockClassId));
  RecordedMessages messages;
  ASSERT_TRUE(scheme.Load(stream.get(), false));
  ASSERT_EQ(2u, messages.texts.size());
  EXPECT_EQ(L"Плагин \"nothere.dll\" не найден!", messages.texts[0]);
  EXPECT_EQ(L"Блок \"Нет такого\" в плагине \"Test_Plugin.dll\" не существует!", messages.texts[1]);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(L"Ошибка плагина", messages.captions[i]);
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), messages.flags[i] & MB_ICONMASK);
  }
  auto* missingKind = static_cast<CBEPluginBlock*>(scheme.blocks);
  auto* missingModule = static_cast<CBEPluginBlock*>(missingKind->next);
  EXPECT_EQ(nullptr, missingModule->module);
  EXPECT_EQ(0u, missingModule->handle);
  EXPECT_EQ(module, missingKind->module);
  EXPECT_EQ(0u, missingKind->handle);
  // The block keeps its pins, caption and position.
  ASSERT_EQ(3, missingModule->inputCount);
  ASSERT_EQ(2, missingModule->outputCount);
  EXPECT_EQ(12, missingModule->inputs[2]->routeX1);
  EXPECT_STREQ(L"Мой фильтр", missingModule->caption);
  EXPECT_EQ(201, missingModule->rect.right);
  EXPECT_EQ(3, missingModule->GetStoredDataSize());
  // It runs as a block without a DLL: nothing happens.
  missingModule->Start();
  missingModule->Step(0.1f);
  missingModule->Stop();
  EXPECT_FALSE(missingModule->ShowProperties());
  // Saved again, its record is the one read, its data included.
  CMemoryStream again;
  missingModule->Save(&again);
  EXPECT_TRUE(velktest::BytesEqual(again.data, static_cast<size_t>(again.size), r));
  EXPECT_EQ(0, Live());
}

TEST_F(PluginBlockTest, EveryCutOfACurrentRecordFailsCleanly) {
  CBEPluginBlock* plug = Place(&scheme, module, kAdder);
  ASSERT_NE(nullptr, plug);
  CMemoryStream whole;
  scheme.Save(&whole, false);
  delete plug;
  RecordedMessages messages;
  for (int cut = 0; cut < whole.size; ++cut) {
    SCOPED_TRACE(cut);
    CMemoryStream part;
    part.Write(whole.data, cut);
    part.Seek(0, 0);
    BeScheme target;
    target.Init(&unit.catalogue);
    EXPECT_FALSE(target.Load(&part, false));
    EXPECT_EQ(nullptr, target.blocks);
    EXPECT_EQ(0, Live());
  }
  // A data size beyond the stream.
  CMemoryStream bad;
  bad.Write(whole.data, whole.size);
  const int sizeAt = 4 + 4 + 4 + 6;  // magic, count, class id, version and counts
  bad.Seek(sizeAt, 0);
  bad.WriteInt32(0x7FFFFFF0);
  bad.Seek(0, 0);
  BeScheme target;
  target.Init(&unit.catalogue);
  EXPECT_FALSE(target.Load(&bad, false));
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(PluginBlockTest, AStaleChoiceGivesNothingToBlocksThatAreRead) {
  CBEPluginBlock* plug = Place(&scheme, module, kGenerator);
  ASSERT_NE(nullptr, plug);
  CMemoryStream stream;
  scheme.Save(&stream, false);
  EXPECT_EQ(1, Live());
  // The user chose a kind, then loaded instead of placing it.
  SetPluginChoice(module, kAdder);
  BeScheme copy;
  copy.Init(&unit.catalogue);
  stream.Seek(0, 0);
  ASSERT_TRUE(copy.Load(&stream, false));
  auto* read = static_cast<CBEPluginBlock*>(copy.blocks);
  EXPECT_STREQ(L"Генератор", read->kindName);
  EXPECT_EQ(2, Live());  // one handle for the read block, made once
  EXPECT_EQ(module, GetPluginChoice().module);
  EXPECT_EQ(nullptr, GetInitialisingPluginModule());
  // A block moved to another scheme creates nothing either.
  BeScheme other;
  other.Init(&unit.catalogue);
  read->AttachToScheme(&other);
  EXPECT_EQ(2, Live());
  // The choice of a module no longer loaded is dropped.
  BePluginModule stray(L"stray.dll");
  SetPluginChoice(&stray, 0);
  CBEPluginBlock* none = static_cast<CBEPluginBlock*>(scheme.CreateBlock(kBePluginBlockClassId));
  EXPECT_EQ(nullptr, none->module);
  EXPECT_EQ(nullptr, GetPluginChoice().module);
}

TEST_F(PluginBlockTest, LoadingIntoABlockWithAHandleReplacesIt) {
  CBEPluginBlock* plug = Place(&scheme, module, kAdder);
  ASSERT_NE(nullptr, plug);
  CMemoryStream stream;
  plug->Save(&stream);
  stream.Seek(0, 0);
  ASSERT_TRUE(plug->Load(&stream));
  EXPECT_EQ(1, Live());
  EXPECT_NE(0u, plug->handle);
}

}  // namespace

// ---------------------------------------------------------------------------
// A document whose programmable unit holds a plug-in block of an older
// record: the exception reaches the document reader's caller.

namespace {

// A circuit part that owns a block scheme and keeps it in its record, as a
// programmable unit does.
betest::UnitCatalogue* g_unitCatalogue = nullptr;

class UnitPart : public CSCHBlock {
public:
  UnitPart() { program.Init(g_unitCatalogue ? &g_unitCatalogue->catalogue : nullptr); }
  void Save(CStream* s) override {
    CSCHBlock::Save(s);
    program.Save(s, false);
  }
  void Load(CStream* s) override {
    CSCHBlock::Load(s);
    program.Load(s, false);
  }
  BeScheme program;
};

TEST_F(PluginBlockTest, TheOlderRecordsExceptionReachesTheDocumentReadersCaller) {
  SchClassRegistry saved;
  for (int i = 0; i < g_schClassRegistry.Count(); ++i)
    saved.Add(g_schClassRegistry.Row(i).name, g_schClassRegistry.Row(i).creator);
  g_schClassRegistry.Clear();
  g_schClassRegistry.Add("UnitPart", [] { return static_cast<CSCHBlock*>(new UnitPart); });
  g_unitCatalogue = &unit;

  // The document: one unit whose program is two older plug-in records, the
  // second of a module that is not loaded.
  SchScheme document;
  UnitPart* part = static_cast<UnitPart*>(document.CreateBlock("UnitPart"));
  ASSERT_NE(nullptr, part);
  std::unique_ptr<CMemoryStream> program(SchemeStream(
      {OlderAdderRecord(L"test_plugin.dll", L"Сумматор", 1), OlderAdderRecord(L"gone.dll", L"Сумматор", 2)},
      kBePluginBlockClassId));
  CMemoryStream file;
  {
    // Written by hand around the unit's record: the part's own record,
    // then the program as the older program stored it.
    CMemoryStream whole;
    document.Write(&whole, 0);
    // The program is the last thing in the part's record; the empty one
    // written now is 8 bytes ("BE5 " and a count of 0).
    int programAt = -1;
    for (int i = 0; i + 8 <= whole.size; ++i)
      if (memcmp(whole.data + i, "BE5 \0\0\0\0", 8) == 0) programAt = i;
    ASSERT_GE(programAt, 0);
    file.Write(whole.data, programAt);
    file.Write(program->data, program->size);
    file.Write(whole.data + programAt + 8, whole.size - programAt - 8);
  }
  SchScheme target;
  file.Seek(0, 0);
  bool thrown = false;
  try {
    target.Read(&file, 0);
  } catch (const BePluginLoadError& e) {
    thrown = true;
    EXPECT_STREQ(L"Ошибка в plugin", e.Text());
  }
  EXPECT_TRUE(thrown);
  EXPECT_EQ(0, target.BlockCount());
  EXPECT_EQ(0, Live());

  g_unitCatalogue = nullptr;
  g_schClassRegistry.Clear();
  for (int i = 0; i < saved.Count(); ++i) g_schClassRegistry.Add(saved.Row(i).name, saved.Row(i).creator);
}

}  // namespace
