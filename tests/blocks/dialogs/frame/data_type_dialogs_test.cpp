// The blocks whose dialog offers nothing but their data type: the list each
// offers, the pins each retypes with the links that go, and the costs that
// follow.
#include <string>
#include <vector>

#include "blocks/dialogs/frame/data_type_dialog.h"
#include "blocks/library/digital/counter.h"
#include "blocks/library/digital/d_flip_flop.h"
#include "blocks/library/digital/register.h"
#include "blocks/library/math/neg.h"
#include "blocks/library/typed_block.h"
#include "blocks/dialogs/dialog_driver.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::RunDialog;

class DataTypeDialogTest : public DialogTest {};

struct DataTypeRow {
  unsigned int classId;
  const wchar_t* caption;
  std::vector<std::wstring> offered;
  int retypedInputs;  // the first inputs that take the type
};

const std::vector<std::wstring> kCharToDouble = {L"char", L"short", L"int", L"float", L"double"};
const std::vector<std::wstring> kReal = {L"float", L"double"};
const std::vector<std::wstring> kBitToDouble = {L"bit", L"char", L"short", L"int", L"float", L"double"};

const DataTypeRow kRows[] = {
    {kBeArctan2ClassId, L"Арктангенс от двух аргументов", kReal, 2},
    {kBeAbsClassId, L"Модуль", kCharToDouble, 1},
    {kBeSinClassId, L"Синус", kReal, 1},
    {kBeCosClassId, L"Косинус", kReal, 1},
    {kBeTanClassId, L"Тангенс", kReal, 1},
    {kBeCotanClassId, L"Котангенс", kReal, 1},
    {kBeArcsinClassId, L"Арксинус", kReal, 1},
    {kBeArccosClassId, L"Арккосинус", kReal, 1},
    {kBeArctanClassId, L"Арктангенс", kReal, 1},
    {kBeDegToRadClassId, L"Градусы в радианы", kReal, 1},
    {kBeRadToDegClassId, L"Радианы в градусы", kReal, 1},
    {kBePItoPIClassId, L"Привести угол в диапазон от -π до π", kReal, 1},
    {kBeDiv2ClassId, L"Деление", kCharToDouble, 2},
    {kBeMul2ClassId, L"Умножение", kCharToDouble, 2},
    {kBeNotClassId, L"Элемент НЕ", kBitToDouble, 1},
    {kBeSub2ClassId, L"Разность", kCharToDouble, 2},
    {kBeNegClassId, L"Смена знака", kCharToDouble, 1},
    {kBeCounterClassId, L"Счетчик", {L"char", L"short", L"int"}, 0},
    {kBeRegisterClassId, L"Регистр", kBitToDouble, 1},
    {kBeDFlipFlopClassId, L"D-триггер", kBitToDouble, 1},
};

// Every class: the picker with the block's caption and its list, the current
// type selected; a new type goes to the pins of the row, links of retyped
// pins go, the others stay; the same type answers false with nothing lost.
TEST_F(DataTypeDialogTest, EachClassOffersItsTypesAndRetypesItsPins) {
  for (const DataTypeRow& row : kRows) {
    SCOPED_TRACE(row.caption);
    Bench bench;
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_STREQ(row.caption, block->GetCaption());
    BeSignalType first = kBeSignalBit;
    while (GetSignalTypeName(first) != row.offered.front()) ++first;
    BeSignalType old = block->Output(0)->type;
    // Links into every input and from the output, of the pins' own types.
    std::vector<blocktest::Source*> sources;
    for (int i = 0; i < block->inputCount; ++i) {
      sources.push_back(bench.Source(block->Input(i)->type));
      bench.Link(sources.back(), block, i);
    }
    blocktest::Source* reader = bench.Source(old);
    reader->SetInputCount(1);
    reader->Input(0)->type = old;
    bench.Link(block, reader, 0);

    // The same type: false, everything kept.
    EXPECT_FALSE(RunDialog(block, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, row.caption, 260, 120, {L"Тип данных:"});
      EXPECT_EQ(row.offered, dialogtest::Items(dialogtest::List(form, 0)));
      EXPECT_EQ(std::wstring(GetSignalTypeName(old)), dialogtest::Selected(dialogtest::List(form, 0)));
    }));
    EXPECT_EQ(block->Output(0), reader->Input(0)->source);
    for (int i = 0; i < block->inputCount; ++i) EXPECT_EQ(sources[i]->Output(0), block->Input(i)->source) << i;

    // Cancel after choosing another: nothing changes.
    int otherIndex = old - first == 0 ? 1 : 0;
    BeSignalType other = first + otherIndex;
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    for (Close close : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
      EXPECT_FALSE(RunDialog(
          block, [&](CBEPropertyForm* form) { dialogtest::List(form, 0)->SetSelectedIndex(otherIndex); }, close));
      EXPECT_EQ(before, blocktest::RecordBytes(block));
      EXPECT_EQ(block->Output(0), reader->Input(0)->source);
    }

    // Another type.
    EXPECT_TRUE(RunDialog(
        block, [&](CBEPropertyForm* form) { dialogtest::List(form, 0)->SetSelectedIndex(otherIndex); }));
    EXPECT_EQ(other, block->Output(0)->type);
    EXPECT_EQ(nullptr, reader->Input(0)->source) << "the output changed type: its readers go";
    for (int i = 0; i < block->inputCount; ++i) {
      if (i < row.retypedInputs) {
        EXPECT_EQ(other, block->Input(i)->type) << i;
        EXPECT_EQ(nullptr, block->Input(i)->source) << i;
      } else {
        EXPECT_EQ(sources[i]->Type(), block->Input(i)->type) << "input " << i << " keeps its type";
        EXPECT_EQ(sources[i]->Output(0), block->Input(i)->source) << "input " << i << " keeps its link";
      }
    }
  }
}

// Multiplication from int to double: both inputs lose their links, every
// reader of the output elsewhere too, and all three pins read double.
TEST_F(DataTypeDialogTest, MultiplicationToDoubleDropsEveryLinkOfItsPins) {
  Bench bench;
  CBEBlock* mul = bench.Create<CBEBlock>(kBeMul2ClassId);
  ChangeBlockType(mul, kBeSignalInt);
  auto* a = bench.Source(kBeSignalInt);
  auto* b = bench.Source(kBeSignalInt);
  bench.Link(a, mul, 0);
  bench.Link(b, mul, 1);
  CBEBlock* readers[2] = {bench.Create<CBEBlock>(kBeAbsClassId), bench.Create<CBEBlock>(kBeNegClassId)};
  for (CBEBlock* r : readers) {
    ChangeBlockType(r, kBeSignalInt);
    bench.Link(mul, r, 0);
  }
  EXPECT_TRUE(RunDialog(mul, [](CBEPropertyForm* form) { dialogtest::List(form, 0)->SetSelectedIndex(4); }));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(nullptr, mul->Input(i)->source);
    EXPECT_EQ(kBeSignalDouble, mul->Input(i)->type);
  }
  EXPECT_EQ(kBeSignalDouble, mul->Output(0)->type);
  for (CBEBlock* r : readers) EXPECT_EQ(nullptr, r->Input(0)->source);
}

// The counter from char to int: the output takes int (its readers go with
// the old type), the counting inputs keep their types and links, and the
// costs follow the type (int 11 cycles, 24 bytes).
TEST_F(DataTypeDialogTest, CounterRetypesItsOutputAndFollowsWithItsCosts) {
  Bench bench;
  auto* counter = bench.Create<CBECounter>(kBeCounterClassId);
  ChangeOutputType(counter->Output(0), kBeSignalChar);
  counter->UpdateCosts();
  auto* up = bench.Source(kBeSignalBit);
  bench.Link(up, counter, 0);
  EXPECT_TRUE(RunDialog(counter, [](CBEPropertyForm* form) {
    EXPECT_EQ(L"char", dialogtest::Selected(dialogtest::List(form, 0)));
    dialogtest::List(form, 0)->SetSelectedIndex(2);
  }));
  EXPECT_EQ(kBeSignalInt, counter->GetType());
  EXPECT_EQ(up->Output(0), counter->Input(0)->source);
  EXPECT_EQ(kBeSignalBit, counter->Input(0)->type);
  EXPECT_EQ(11, counter->cycles);
  EXPECT_EQ(24, counter->rom);
}

// The sign change: input and output take the type, the costs follow.
TEST_F(DataTypeDialogTest, SignChangeUpdatesItsCosts) {
  Bench bench;
  auto* neg = bench.Create<CBENeg>(kBeNegClassId);
  Costs charCosts = CostsOf(neg);
  EXPECT_TRUE(RunDialog(neg, [](CBEPropertyForm* form) { dialogtest::List(form, 0)->SetSelectedIndex(4); }));
  EXPECT_EQ(kBeSignalDouble, neg->Input(0)->type);
  EXPECT_EQ(kBeSignalDouble, neg->GetType());
  // What UpdateCosts gives for double.
  auto* same = bench.Create<CBENeg>(kBeNegClassId);
  SetPinTypes(same, kBeSignalDouble);
  same->UpdateCosts();
  EXPECT_EQ(CostsOf(same), CostsOf(neg));
  EXPECT_NE(charCosts, CostsOf(neg));
}

// The register and the D flip-flop: "D" takes the output's new type, the
// write and clock inputs stay.
TEST_F(DataTypeDialogTest, LatchesRetypeTheirDataInput) {
  Bench bench;
  for (unsigned int id : {kBeRegisterClassId, kBeDFlipFlopClassId}) {
    CBEBlock* latch = bench.Create<CBEBlock>(id);
    auto* write = bench.Source(kBeSignalBit);
    bench.Link(write, latch, 1);
    EXPECT_TRUE(RunDialog(latch, [](CBEPropertyForm* form) { dialogtest::List(form, 0)->SetSelectedIndex(3); }));
    EXPECT_EQ(kBeSignalInt, latch->Output(0)->type);
    EXPECT_EQ(kBeSignalInt, latch->Input(0)->type);
    EXPECT_EQ(kBeSignalBit, latch->Input(1)->type);
    EXPECT_EQ(write->Output(0), latch->Input(1)->source);
  }
}

TEST_F(DataTypeDialogTest, OtherClassesAreRefusedWithoutAForm) {
  Bench bench;
  CBEBlock* sum = bench.Create<CBEBlock>(kBeSummatorClassId);
  int before = LiveForms.count;
  for (BeBlockDialog dialog : {ShowArctan2Dialog, ShowAbsDialog, ShowMathFuncDialog, ShowDiv2Dialog, ShowMul2Dialog,
                               ShowNotDialog, ShowSub2Dialog, ShowNegDialog, ShowCounterDialog, ShowRegisterDialog,
                               ShowDFlipFlopDialog}) {
    EXPECT_FALSE(dialog(sum));
    EXPECT_FALSE(dialog(nullptr));
  }
  EXPECT_EQ(before, LiveForms.count);
}

}  // namespace
