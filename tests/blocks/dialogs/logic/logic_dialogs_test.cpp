// The logic group's dialogs: what each shows, what "OK" writes (links kept
// for unchanged types, dropped for changed ones, counts before types, the
// update run) and the limits they put on what was typed.
#include <string>
#include <vector>

#include "blocks/dialogs/logic/logic_dialogs.h"
#include "blocks/library/logic/and.h"
#include "blocks/library/logic/and2.h"
#include "blocks/library/logic/cmp.h"
#include "blocks/library/logic/cmp2.h"
#include "blocks/library/logic/get_bit.h"
#include "blocks/library/logic/or.h"
#include "blocks/library/logic/or2.h"
#include "blocks/library/logic/shl.h"
#include "blocks/library/logic/shr.h"
#include "blocks/library/typed_block.h"
#include "blocks/dialogs/dialog_driver.h"

namespace {

using blocktest::Bench;
using blocktest::CostsOf;
using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::Edit;
using dialogtest::List;
using dialogtest::RunDialog;
using dialogtest::Selected;
using dialogtest::Spin;
using dialogtest::Text;
using dialogtest::TypeInto;

class LogicDialogTest : public DialogTest {};

const std::vector<std::wstring> kOperations = {L"A = B", L"A ≠ B", L"A < B", L"A > B", L"A ≤ B", L"A ≥ B"};

struct ShiftCase {
  int typeIndex;  // 0 char, 1 short, 2 int
  const wchar_t* typed;
  int saved;
};

TEST_F(LogicDialogTest, ShiftsHoldTheCountWithinTheTypeAndUpdateTheirCosts) {
  const ShiftCase cases[] = {
      {0, L"12", 7}, {0, L"6", 6}, {1, L"20", 15}, {1, L"15", 15}, {2, L"31", 31}, {2, L"40", 31}, {0, L"x", 1},
  };
  for (unsigned int id : {kBeShrClassId, kBeShlClassId}) {
    for (const ShiftCase& c : cases) {
      SCOPED_TRACE(c.typed);
      Bench bench;
      CBEBlock* block = bench.Create<CBEBlock>(id);
      auto* shr = dynamic_cast<CBEShr*>(block);
      auto* shl = dynamic_cast<CBEShl*>(block);
      ASSERT_TRUE(shr || shl);
      auto* source = bench.Source(kBeSignalChar);
      bench.Link(source, block, 0);
      EXPECT_TRUE(RunDialog(block, [&](CBEPropertyForm* form) {
        dialogtest::ExpectFrame(form, block->GetCaption(), 200, 210,
                                {L"Число бит:", L"Тип сдвига:", L"Тип входных данных:"});
        EXPECT_EQ(L"1", Text(Spin(form, 0)));
        EXPECT_EQ(1, Spin(form, 0)->GetMinimum());
        EXPECT_EQ(31, Spin(form, 0)->GetMaximum());
        EXPECT_EQ((std::vector<std::wstring>{L"Логический", L"Арифметический", L"Циклический"}),
                  dialogtest::Items(List(form, 1)));
        EXPECT_EQ(L"Логический", Selected(List(form, 1)));
        EXPECT_EQ((std::vector<std::wstring>{L"char", L"short", L"int"}), dialogtest::Items(List(form, 2)));
        EXPECT_EQ(L"char", Selected(List(form, 2)));
        TypeInto(Spin(form, 0), c.typed);
        List(form, 1)->SetSelectedIndex(2);
        List(form, 2)->SetSelectedIndex(c.typeIndex);
      }));
      unsigned char count = shr ? shr->count : shl->count;
      unsigned char kind = shr ? shr->kind : shl->kind;
      EXPECT_EQ(c.saved, count);
      EXPECT_EQ(2, kind);
      BeSignalType type = kBeSignalChar + c.typeIndex;
      EXPECT_EQ(type, block->Input(0)->type);
      EXPECT_EQ(type, block->Output(0)->type);
      EXPECT_EQ(c.typeIndex == 0 ? source->Output(0) : nullptr, block->Input(0)->source);
      // The costs are those of the update for what was saved.
      blocktest::Costs saved = CostsOf(block);
      if (shr) shr->UpdateCosts(); else shl->UpdateCosts();
      EXPECT_EQ(CostsOf(block), saved);
    }
  }
}

TEST_F(LogicDialogTest, BitExtractionHoldsTheNumberWithinTheTypeAndLeavesTheOutput) {
  Bench bench;
  auto* getBit = bench.Create<CBEGetBit>(kBeGetBitClassId);
  auto* reader = bench.Source(kBeSignalBit);
  reader->SetInputCount(1);
  bench.Link(getBit, reader, 0);
  EXPECT_TRUE(RunDialog(getBit, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, getBit->GetCaption(), 200, 170, {L"Номер бита (с нуля):", L"Тип входных данных:"});
    EXPECT_EQ(L"7", Text(Spin(form, 0)));
    EXPECT_EQ(0, Spin(form, 0)->GetMinimum());
    EXPECT_EQ(31, Spin(form, 0)->GetMaximum());
    TypeInto(Spin(form, 0), L"31");
    List(form, 1)->SetSelectedIndex(1);
  }));
  EXPECT_EQ(15, getBit->bitNumber);
  EXPECT_EQ(kBeSignalShort, getBit->Input(0)->type);
  EXPECT_EQ(kBeSignalBit, getBit->Output(0)->type);
  EXPECT_EQ(getBit->Output(0), reader->Input(0)->source) << "the output is not touched";
  EXPECT_TRUE(RunDialog(getBit, [&](CBEPropertyForm* form) { List(form, 1)->SetSelectedIndex(2); }));
  EXPECT_EQ(15, getBit->bitNumber) << "reopened with 15, kept";
}

TEST_F(LogicDialogTest, ComparisonOfTwoSignalsRetypesBothInputs) {
  Bench bench;
  auto* cmp = bench.Create<CBECmp2>(kBeCmp2ClassId);
  auto* a = bench.Source(kBeSignalChar);
  bench.Link(a, cmp, 0);
  EXPECT_TRUE(RunDialog(cmp, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, cmp->GetCaption(), 200, 170, {L"Операция:", L"Тип входных данных:"});
    EXPECT_EQ(kOperations, dialogtest::Items(List(form, 0)));
    EXPECT_EQ(L"A = B", Selected(List(form, 0)));
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(List(form, 0)->GetHandle(), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_STREQ(L"Arial", font.lfFaceName);
    EXPECT_EQ(-12, font.lfHeight);
    EXPECT_EQ(L"char", Selected(List(form, 1)));
    EXPECT_EQ(6, List(form, 1)->GetCount());
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_cmp2.bmp"));
    List(form, 0)->SetSelectedIndex(5);
  }));
  EXPECT_EQ(5, cmp->relation);
  EXPECT_EQ(a->Output(0), cmp->Input(0)->source) << "same type: kept";
  // To bit: every operation stays allowed; both inputs lose their links.
  EXPECT_TRUE(RunDialog(cmp, [&](CBEPropertyForm* form) { List(form, 1)->SetSelectedIndex(0); }));
  EXPECT_EQ(5, cmp->relation);
  EXPECT_EQ(kBeSignalBit, cmp->Input(0)->type);
  EXPECT_EQ(kBeSignalBit, cmp->Input(1)->type);
  EXPECT_EQ(nullptr, cmp->Input(0)->source);
  EXPECT_EQ(kBeSignalBit, cmp->Output(0)->type);
}

struct OperandCase {
  int typeIndex;  // 0 bit ... 5 double
  const wchar_t* typed;
  int operation;
  int savedOperation;
  std::vector<uint8_t> constant;
  const wchar_t* reopened;
};

TEST_F(LogicDialogTest, ComparisonWithAConstantStoresTheOperandByType) {
  const OperandCase cases[] = {
      {0, L"1", 5, 1, {1, 0, 0, 0, 0, 0, 0, 0}, L"1"},
      {0, L"1", 0, 0, {1, 0, 0, 0, 0, 0, 0, 0}, L"1"},
      {1, L"-3", 2, 2, {0xFD, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, L"-3"},
      {1, L"200", 3, 3, {0xC8, 0, 0, 0, 0, 0, 0, 0}, L"-56"},
      {2, L"70000", 4, 4, {0x70, 0x11, 0x01, 0, 0, 0, 0, 0}, L"4464"},
      {3, L"-7x", 1, 1, {0xF9, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, L"-7"},
      {4, L"0,25", 2, 2, {0, 0, 0x80, 0x3E, 0, 0, 0, 0}, L"0.25"},
      {5, L"1,5", 3, 3, {0, 0, 0, 0, 0, 0, 0xF8, 0x3F}, L"1.5"},
      {5, L"abc", 3, 3, {0, 0, 0, 0, 0, 0, 0, 0}, L"0"},
  };
  for (const OperandCase& c : cases) {
    SCOPED_TRACE(c.typed);
    Bench bench;
    auto* cmp = bench.Create<CBECmp>(kBeCmpClassId);
    EXPECT_TRUE(RunDialog(cmp, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, cmp->GetCaption(), 200, 210,
                              {L"Операнд B:", L"Операция:", L"Тип входных данных:"});
      EXPECT_EQ(L"0", Text(Edit(form, 0)));
      EXPECT_EQ(kOperations, dialogtest::Items(List(form, 1)));
      EXPECT_EQ(L"char", Selected(List(form, 2)));
      TypeInto(Edit(form, 0), c.typed);
      List(form, 1)->SetSelectedIndex(c.operation);
      List(form, 2)->SetSelectedIndex(c.typeIndex);
    }));
    EXPECT_EQ(c.savedOperation, cmp->relation);
    EXPECT_EQ(c.constant, std::vector<uint8_t>(cmp->constant, cmp->constant + 8));
    EXPECT_FALSE(RunDialog(
        cmp, [&](CBEPropertyForm* form) { EXPECT_EQ(c.reopened, Text(Edit(form, 0))); }, Close::kCancel));
  }
}

TEST_F(LogicDialogTest, GatesSetTheirInputCountBeforeTheType) {
  Bench bench;
  auto* gate = bench.Create<CBEOr2>(kBeOr2ClassId);
  ASSERT_TRUE(gate->SetInputCount(4));
  gate->UpdatePinsAndCosts();
  std::vector<blocktest::Source*> sources;
  for (int i = 0; i < 4; ++i) {
    sources.push_back(bench.Source(kBeSignalBit));
    bench.Link(sources.back(), gate, i);
  }
  EXPECT_TRUE(RunDialog(gate, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, gate->GetCaption(), 200, 170, {L"Кол-во входов:", L"Тип входных данных:"});
    EXPECT_EQ(L"4", Text(Spin(form, 0)));
    EXPECT_EQ(2, Spin(form, 0)->GetMinimum());
    EXPECT_EQ(127, Spin(form, 0)->GetMaximum());
    EXPECT_EQ(6, List(form, 1)->GetCount());
    EXPECT_EQ(L"bit", Selected(List(form, 1)));
    TypeInto(Spin(form, 0), L"2");
  }));
  EXPECT_EQ(2, gate->inputCount);
  EXPECT_EQ(40, gate->Height());
  EXPECT_EQ(sources[0]->Output(0), gate->Input(0)->source);
  EXPECT_EQ(sources[1]->Output(0), gate->Input(1)->source);
  // More inputs of a new type: the new ones take it too.
  EXPECT_TRUE(RunDialog(gate, [&](CBEPropertyForm* form) {
    TypeInto(Spin(form, 0), L"3");
    List(form, 1)->SetSelectedIndex(3);
  }));
  ASSERT_EQ(3, gate->inputCount);
  EXPECT_EQ(60, gate->Height());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(kBeSignalInt, gate->Input(i)->type) << i;
    EXPECT_EQ(nullptr, gate->Input(i)->source) << i;
  }
  EXPECT_EQ(kBeSignalInt, gate->Output(0)->type);

  auto* and2 = bench.Create<CBEAnd2>(kBeAnd2ClassId);
  EXPECT_TRUE(RunDialog(and2, [&](CBEPropertyForm* form) {
    EXPECT_EQ((std::vector<std::wstring>{L"bit", L"char", L"short", L"int"}), dialogtest::Items(List(form, 1)));
    TypeInto(Spin(form, 0), L"500");
  }));
  EXPECT_EQ(127, and2->inputCount);
  EXPECT_EQ(127 * 20, and2->Height());
}

struct MaskCase {
  int typeIndex;  // 0 char, 1 short, 2 int
  const wchar_t* typed;
  uint32_t mask;
  const wchar_t* reopened;
};

TEST_F(LogicDialogTest, BitwiseOperationsReadTheMaskAsHexOrDecimal) {
  const MaskCase cases[] = {
      {1, L"0x00FF", 0xFF, L"0x00FF"},       {1, L"255", 0xFF, L"0x00FF"},
      {1, L"0xFFFFF", 0xFFFFF, L"0xFFFF"},   {0, L"0x1234", 0x1234, L"0x34"},
      {2, L"0xdeadBEEF", 0xDEADBEEF, L"0xDEADBEEF"}, {2, L"0XFF", 0, L"0x00000000"},
      {2, L"0xZZ", 0, L"0x00000000"},        {0, L"-1", 0xFFFFFFFF, L"0xFF"},
  };
  for (unsigned int id : {kBeOrClassId, kBeAndClassId}) {
    for (const MaskCase& c : cases) {
      SCOPED_TRACE(c.typed);
      Bench bench;
      CBEBlock* block = bench.Create<CBEBlock>(id);
      auto* orBlock = dynamic_cast<CBEOr*>(block);
      auto* andBlock = dynamic_cast<CBEAnd*>(block);
      ASSERT_TRUE(orBlock || andBlock);
      auto* source = bench.Source(kBeSignalChar);
      bench.Link(source, block, 0);
      EXPECT_TRUE(RunDialog(block, [&](CBEPropertyForm* form) {
        dialogtest::ExpectFrame(form, block->GetCaption(), 200, 170, {L"Маска:", L"Тип входных данных:"});
        EXPECT_EQ(orBlock ? L"0x0F" : L"0x7F", Text(Edit(form, 0)));
        EXPECT_EQ(3, List(form, 1)->GetCount());
        TypeInto(Edit(form, 0), c.typed);
        List(form, 1)->SetSelectedIndex(c.typeIndex);
      }));
      EXPECT_EQ(c.mask, orBlock ? orBlock->mask : andBlock->mask);
      EXPECT_EQ(kBeSignalChar + c.typeIndex, block->Output(0)->type);
      EXPECT_EQ(c.typeIndex == 0 ? source->Output(0) : nullptr, block->Input(0)->source);
      EXPECT_FALSE(RunDialog(
          block, [&](CBEPropertyForm* form) { EXPECT_EQ(c.reopened, Text(Edit(form, 0))); }, Close::kCancel));
    }
  }
}

}  // namespace
