#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"

#include <vector>

#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/common_groups.h"
#include "engine_fixture.h"
#include "foundation/buffer_failure_scope.h"

using betest::TestBlock;

namespace {

CBEBlock* NewStandIn() { return new TestBlock(1, 1); }
CBEBlock* NewMultiplication() { return new TestBlock(2, 1); }

TEST(Catalogue, GroupsAreAppendedInOrder) {
  BeCatalogue catalogue;
  EXPECT_EQ(0, catalogue.groupCount);
  BeCatalogueGroup* hidden = catalogue.AddGroup(nullptr);
  BeCatalogueGroup* first = new BeCatalogueGroup;
  ASSERT_TRUE(first->Init(&catalogue, L"Первая"));
  ASSERT_EQ(2, catalogue.groupCount);
  EXPECT_EQ(hidden, catalogue.Group(0));
  EXPECT_EQ(first, catalogue.Group(1));
  EXPECT_EQ(nullptr, catalogue.Group(2));
  EXPECT_EQ(nullptr, catalogue.Group(-1));
  EXPECT_EQ(nullptr, hidden->name);
  EXPECT_STREQ(L"Первая", first->name);
  EXPECT_EQ(0, first->entryCount);
  catalogue.Init();
  EXPECT_EQ(0, catalogue.groupCount);
}

TEST(Catalogue, EntryCapacityGrowsInSteps) {
  BeCatalogue catalogue;
  BeCatalogueGroup* group = catalogue.AddGroup(L"Группа");
  EXPECT_EQ(0, group->capacity);
  for (unsigned int i = 0; i < 16; ++i) ASSERT_TRUE(group->AddEntry(i, NewStandIn, L"Блок", nullptr));
  EXPECT_EQ(16, group->capacity);
  ASSERT_TRUE(group->AddEntry(16, NewStandIn, L"Семнадцатый", L"b.bmp"));
  EXPECT_EQ(32, group->capacity);
  EXPECT_EQ(17, group->entryCount);
  const BeCatalogueEntry* e = group->Entry(16);
  ASSERT_NE(nullptr, e);
  EXPECT_EQ(16u, e->classId);
  EXPECT_STREQ(L"Семнадцатый", e->caption);
  EXPECT_STREQ(L"b.bmp", e->bitmap);
  EXPECT_EQ(&NewStandIn, e->creator);
  EXPECT_EQ(nullptr, group->Entry(17));
}

TEST(Catalogue, FindEntryTakesTheFirstInGroupOrder) {
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr)->AddEntry(5, NewStandIn, L"Устройство", nullptr);
  BeCatalogueGroup* a = catalogue.AddGroup(L"А");
  a->AddEntry(7, NewStandIn, L"Первый", nullptr);
  BeCatalogueGroup* b = catalogue.AddGroup(L"Б");
  b->AddEntry(7, NewMultiplication, L"Второй", nullptr);
  EXPECT_EQ(a->Entry(0), catalogue.FindEntry(7));
  EXPECT_EQ(catalogue.Group(0)->Entry(0), catalogue.FindEntry(5));
  EXPECT_EQ(nullptr, catalogue.FindEntry(8));
}

struct GroupRow {
  const wchar_t* name;
  std::vector<unsigned int> ids;
};

// The common groups in order, each with its class ids in order.
const GroupRow kCommon[] = {
    {L"Генераторы", {0xC075E4C1, 0x1446EA7D, 0x1406E0FD, 0x33EE115F, 0x33EE1160, 0x3400EBE7}},
    {L"Преобразователи",
     {0x56514112, 0x62122AAA, 0x52111000, 0x052111DE, 0x00033485, 0x003221FF, 0x451100EE,
      0x55221AAB}},
    {L"Макро и DLL", {0x62340001}},
    {L"Математика",
     {0x565141F1, 0x00004400, 0x565141F2, 0x00004001, 0x00004002, 0x5E5141F4, 0x00004100,
      0x00004101, 0x512141E4, 0x00004107, 0x00004103}},
    {L"Тригонометрия",
     {0x0000410B, 0x0000410C, 0x0000410D, 0x0000410E, 0x00004110, 0x00004111, 0x00004112,
      0x00004113, 0x00004114, 0x00004115, 0x45301231, 0x00004108, 0x00004109, 0x0000410A,
      0x0000417A}},
    {L"Логика",
     {0x00004006, 0x01004002, 0x00004003, 0x00004004, 0x00004005, 0x00004008, 0x00004009,
      0x00004007, 0x00004010, 0x00004011}},
    {L"Цифровые",
     {0x003222FE, 0x003222FF, 0x003220FF, 0x003220F7, 0x003221F9, 0x001E5000, 0x001E5001,
      0x003220F8}},
    {L"ТАУ",
     {0x5E5141F4, 0x11112222, 0x11112223, 0x11112224, 0x11112225, 0x565141F3, 0x11152222}},
    {L"Навигация",
     {0x53AA4211, 0x053AA000, 0x053AA003, 0x053AA001, 0x053AA002, 0x053AA005, 0x053AA008}},
};

// A creator table with a stand-in for every class of the common groups.
void FillAll(BeBlockCreatorTable* table) {
  for (const GroupRow& g : kCommon)
    for (unsigned int id : g.ids) table->Set(id, NewStandIn);
  table->Set(kBeMacroInputClassId, NewStandIn);
  table->Set(kBeMacroOutputClassId, NewStandIn);
  table->Set(0x00004100, NewMultiplication);
}

TEST(CommonGroups, EveryClassThatExistsJoinsInTableOrder) {
  BeBlockCreatorTable creators;
  FillAll(&creators);
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  ASSERT_TRUE(AddCommonCatalogueGroups(&catalogue, creators));
  ASSERT_EQ(10, catalogue.groupCount);
  for (int g = 0; g < 9; ++g) {
    const BeCatalogueGroup* group = catalogue.Group(g + 1);
    SCOPED_TRACE(g);
    EXPECT_STREQ(kCommon[g].name, group->name);
    ASSERT_EQ(static_cast<int>(kCommon[g].ids.size()), group->entryCount);
    for (int e = 0; e < group->entryCount; ++e) {
      EXPECT_EQ(kCommon[g].ids[e], group->Entry(e)->classId) << e;
    }
  }
  const BeCatalogueGroup* hidden = catalogue.Group(0);
  ASSERT_EQ(2, hidden->entryCount);
  EXPECT_EQ(kBeMacroInputClassId, hidden->Entry(0)->classId);
  EXPECT_STREQ(L"Вход макроблока", hidden->Entry(0)->caption);
  EXPECT_EQ(nullptr, hidden->Entry(0)->bitmap);
  EXPECT_EQ(kBeMacroOutputClassId, hidden->Entry(1)->classId);
  EXPECT_STREQ(L"Выход макроблока", hidden->Entry(1)->caption);
  EXPECT_EQ(nullptr, hidden->Entry(1)->bitmap);

  const BeCatalogueEntry* constant = catalogue.Group(1)->Entry(0);
  EXPECT_STREQ(L"Константа", constant->caption);
  EXPECT_STREQ(L"constant.bmp", constant->bitmap);
  const BeCatalogueEntry* joystick = catalogue.Group(2)->Entry(7);
  EXPECT_STREQ(L"Пересчет координат джойстика в сигнал для левого и правого привода",
               joystick->caption);
  EXPECT_STREQ(L"joy2LR.bmp", joystick->bitmap);
  const BeCatalogueEntry* angle = catalogue.Group(5)->Entry(13);
  EXPECT_STREQ(L"Привести угол в диапазон от -π до π", angle->caption);
  EXPECT_STREQ(L"PI2PI.bmp", angle->bitmap);
  const BeCatalogueEntry* andConst = catalogue.Group(6)->Entry(1);
  EXPECT_STREQ(L"Побитовая операция \"И\" с константой", andConst->caption);
  const BeCatalogueEntry* limiter = catalogue.Group(8)->Entry(5);
  EXPECT_STREQ(L"Нелинейный элемент типа \"Ограничение\"", limiter->caption);
  EXPECT_STREQ(L"limiter.bmp", limiter->bitmap);
  const BeCatalogueEntry* plane = catalogue.Group(9)->Entry(6);
  EXPECT_STREQ(L"XYH на базовой плоскости в геоцентричекие XYZ", plane->caption);
  EXPECT_STREQ(L"plane2xyz.bmp", plane->bitmap);
}

TEST(CommonGroups, SquareRootRowStaysButHasNoPaletteButton) {
  BeBlockCreatorTable creators;
  FillAll(&creators);
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  ASSERT_TRUE(AddCommonCatalogueGroups(&catalogue, creators));
  const BeCatalogueGroup* maths = catalogue.Group(4);
  const BeCatalogueEntry* root = maths->Entry(10);
  ASSERT_NE(nullptr, root);
  EXPECT_EQ(0x00004103u, root->classId);
  EXPECT_STREQ(L"Корень квадратный", root->caption);
  EXPECT_EQ(nullptr, root->bitmap);  // not offered on the palette
  EXPECT_EQ(&NewMultiplication, root->creator);
  for (int e = 0; e < maths->entryCount - 1; ++e) EXPECT_NE(nullptr, maths->Entry(e)->bitmap) << e;

  // A stored block of that class still reads back: creation by class id
  // finds the row and keeps it as the block's entry.
  betest::RecordedMessages messages;
  BeScheme scheme;
  scheme.Init(&catalogue);
  CBEBlock* block = scheme.CreateBlock(0x00004103);
  ASSERT_NE(nullptr, block);
  EXPECT_EQ(root, block->entry);
  EXPECT_STREQ(L"Корень квадратный", block->GetCaption());
  EXPECT_EQ(2, block->inputCount);
  // The proportional link of both tabs keeps the first (maths) entry.
  CBEBlock* k = scheme.CreateBlock(0x5E5141F4);
  ASSERT_NE(nullptr, k);
  EXPECT_EQ(maths->Entry(5), k->entry);
  EXPECT_TRUE(messages.texts.empty());
}

TEST(CommonGroups, OnlyClassesThatExistAreListed) {
  BeBlockCreatorTable creators;
  creators.Set(0x1446EA7D, NewStandIn);  // the meander generator only
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  ASSERT_TRUE(AddCommonCatalogueGroups(&catalogue, creators));
  ASSERT_EQ(10, catalogue.groupCount);
  for (int g = 0; g < 9; ++g) EXPECT_STREQ(kCommon[g].name, catalogue.Group(g + 1)->name);
  ASSERT_EQ(1, catalogue.Group(1)->entryCount);
  EXPECT_EQ(0x1446EA7Du, catalogue.Group(1)->Entry(0)->classId);
  EXPECT_STREQ(L"Генератор меандра", catalogue.Group(1)->Entry(0)->caption);
  // The engine's own classes are always there: the macro block and its ports.
  ASSERT_EQ(1, catalogue.Group(3)->entryCount);
  EXPECT_EQ(kBeMacroBlockClassId, catalogue.Group(3)->Entry(0)->classId);
  EXPECT_STREQ(L"Макроблок", catalogue.Group(3)->Entry(0)->caption);
  EXPECT_STREQ(L"macro.bmp", catalogue.Group(3)->Entry(0)->bitmap);
  ASSERT_EQ(2, catalogue.Group(0)->entryCount);
  for (int g = 2; g <= 9; ++g) {
    if (g == 3) continue;
    EXPECT_EQ(0, catalogue.Group(g)->entryCount) << g;
  }
}

TEST(CommonGroups, MissingGroupZeroIsMadeFirst) {
  BeBlockCreatorTable creators;
  FillAll(&creators);
  BeCatalogue catalogue;
  ASSERT_TRUE(AddCommonCatalogueGroups(&catalogue, creators));
  ASSERT_EQ(10, catalogue.groupCount);
  EXPECT_EQ(nullptr, catalogue.Group(0)->name);
  EXPECT_EQ(2, catalogue.Group(0)->entryCount);
  EXPECT_STREQ(L"Генераторы", catalogue.Group(1)->name);
}

TEST(CommonGroups, UnitBuilderEntriesFollowTheCommonOnes) {
  BeBlockCreatorTable creators;
  FillAll(&creators);
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr)->AddEntry(0x1000, NewStandIn, L"COM", nullptr);
  ASSERT_TRUE(AddCommonCatalogueGroups(&catalogue, creators));
  catalogue.Group(3)->AddEntry(0x0553111A, NewStandIn, L"Плагин", L"plugin.bmp");
  EXPECT_EQ(0x1000u, catalogue.Group(0)->Entry(0)->classId);
  EXPECT_EQ(kBeMacroInputClassId, catalogue.Group(0)->Entry(1)->classId);
  EXPECT_STREQ(L"Макро и DLL", catalogue.Group(3)->name);
  EXPECT_EQ(0x0553111Au, catalogue.Group(3)->Entry(1)->classId);
}

TEST(BlockCreatorTable, SetReplacesAndFindAnswersNullForUnknown) {
  BeBlockCreatorTable table;
  EXPECT_EQ(nullptr, table.Find(1));
  ASSERT_TRUE(table.Set(1, NewStandIn));
  ASSERT_TRUE(table.Set(2, NewStandIn));
  ASSERT_TRUE(table.Set(1, NewMultiplication));
  EXPECT_EQ(2, table.Count());
  EXPECT_EQ(&NewMultiplication, table.Find(1));
  EXPECT_EQ(&NewStandIn, table.Find(2));
  table.Clear();
  EXPECT_EQ(0, table.Count());
  EXPECT_EQ(nullptr, table.Find(1));
}

TEST(BlockCreatorTable, ARefusedRowLeavesTheTableAsItWas) {
  BeBlockCreatorTable table;
  ASSERT_TRUE(table.Set(1, NewStandIn));
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(table.Set(2, NewStandIn));
    EXPECT_TRUE(table.Set(1, NewMultiplication));  // a replacement needs no memory
  }
  EXPECT_EQ(1, table.Count());
  EXPECT_EQ(nullptr, table.Find(2));
  EXPECT_EQ(&NewMultiplication, table.Find(1));
}

}  // namespace
