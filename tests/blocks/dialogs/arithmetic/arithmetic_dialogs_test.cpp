// The arithmetic, vector, converter and constant dialogs: what each shows
// and what "OK" writes.
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "blocks/dialogs/arithmetic/arithmetic_dialogs.h"
#include "blocks/library/control/limiter.h"
#include "blocks/library/converters/speed.h"
#include "blocks/library/converters/type_convertor.h"
#include "blocks/library/generators/constant.h"
#include "blocks/library/math/add.h"
#include "blocks/library/math/sub.h"
#include "blocks/library/math/summator.h"
#include "blocks/library/math/vectors/length.h"
#include "blocks/library/math/vectors/norm.h"
#include "blocks/library/typed_block.h"
#include "blocks/dialogs/dialog_driver.h"

namespace {

using blocktest::Bench;
using blocktest::CostsOf;
using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::Edit;
using dialogtest::List;
using dialogtest::Radios;
using dialogtest::RunDialog;
using dialogtest::Selected;
using dialogtest::Spin;
using dialogtest::Text;
using dialogtest::TypeInto;

class ArithmeticDialogTest : public DialogTest {};

const std::vector<std::wstring> kCharToDouble = {L"char", L"short", L"int", L"float", L"double"};

int32_t IntAt(const unsigned char* bytes) {
  int32_t v;
  memcpy(&v, bytes, 4);
  return v;
}
float FloatAt(const unsigned char* bytes) {
  float v;
  memcpy(&v, bytes, 4);
  return v;
}
double DoubleAt(const unsigned char* bytes) {
  double v;
  memcpy(&v, bytes, 8);
  return v;
}

struct LimiterCase {
  int typeIndex;  // 0 char ... 4 double
  const wchar_t* upper;
  const wchar_t* lower;
  double savedUpper, savedLower;
};

TEST_F(ArithmeticDialogTest, LimiterStoresLimitsInTheTypesWidthLowerNeverAbove) {
  const LimiterCase cases[] = {
      {2, L"10", L"20", 10, 10},     {2, L"10,7", L"-3", 10, -3},      {4, L"0.5", L"-0.5", 0.5, -0.5},
      {4, L"1e30", L"-1e30", 1e25, -1e25}, {3, L"0,1", L"2", 0.1f, 0.1f}, {0, L"300", L"-300", 300, -300},
  };
  for (const LimiterCase& c : cases) {
    SCOPED_TRACE(c.upper);
    Bench bench;
    auto* limiter = bench.Create<CBELimiter>(kBeLimiterClassId);
    auto* source = bench.Source(kBeSignalShort);
    bench.Link(source, limiter, 0);
    EXPECT_TRUE(RunDialog(limiter, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, limiter->GetCaption(), 200, 210,
                              {L"Ограничение сверху:", L"Ограничение снизу:", L"Тип данных:"});
      EXPECT_EQ(L"127", Text(Spin(form, 0)));
      EXPECT_EQ(L"-127", Text(Spin(form, 1)));
      EXPECT_FALSE(Spin(form, 0)->IsInteger());
      EXPECT_EQ(-1e25, Spin(form, 0)->GetMinimum());
      EXPECT_EQ(1e25, Spin(form, 1)->GetMaximum());
      EXPECT_EQ(kCharToDouble, dialogtest::Items(List(form, 2)));
      EXPECT_EQ(L"short", Selected(List(form, 2)));
      TypeInto(Spin(form, 0), c.upper);
      TypeInto(Spin(form, 1), c.lower);
      List(form, 2)->SetSelectedIndex(c.typeIndex);
    }));
    BeSignalType type = kBeSignalChar + c.typeIndex;
    EXPECT_EQ(type, limiter->GetOutputType());
    EXPECT_EQ(type, limiter->Input(0)->type);
    EXPECT_EQ(type == kBeSignalShort ? source->Output(0) : nullptr, limiter->Input(0)->source);
    if (type == kBeSignalDouble) {
      EXPECT_EQ(c.savedUpper, DoubleAt(limiter->upper));
      EXPECT_EQ(c.savedLower, DoubleAt(limiter->lower));
    } else if (type == kBeSignalFloat) {
      EXPECT_EQ(static_cast<float>(c.savedUpper), FloatAt(limiter->upper));
      EXPECT_EQ(static_cast<float>(c.savedLower), FloatAt(limiter->lower));
    } else {
      EXPECT_EQ(static_cast<int32_t>(c.savedUpper), IntAt(limiter->upper));
      EXPECT_EQ(static_cast<int32_t>(c.savedLower), IntAt(limiter->lower));
    }
    blocktest::Costs saved = CostsOf(limiter);
    limiter->UpdateCosts();
    EXPECT_EQ(CostsOf(limiter), saved);
  }
}

struct ConstantOperandCase {
  int typeIndex;
  const wchar_t* typed;
  uint32_t cell;
  const wchar_t* reopened;
};

TEST_F(ArithmeticDialogTest, AddAndSubtractStoreTheConstantAsIntegerOrFloat) {
  float tenth = 0.1f;
  uint32_t tenthBits;
  memcpy(&tenthBits, &tenth, 4);
  const ConstantOperandCase cases[] = {
      {0, L"300", 300, L"44"},        {4, L"0.1", tenthBits, L"0.1"}, {3, L"0,1", tenthBits, L"0.1"},
      {1, L"-7x", static_cast<uint32_t>(-7), L"-7"}, {2, L"abc", 0, L"0"}, {1, L"40000", 40000, L"-25536"},
  };
  struct Kind {
    unsigned int id;
    const wchar_t* label;
  };
  for (Kind kind : {Kind{kBeSubClassId, L"Вычитаемое:"}, Kind{kBeAddClassId, L"Второе слогаемое:"}}) {
    for (const ConstantOperandCase& c : cases) {
      SCOPED_TRACE(c.typed);
      Bench bench;
      CBEBlock* block = bench.Create<CBEBlock>(kind.id);
      auto* sub = dynamic_cast<CBESub*>(block);
      auto* add = dynamic_cast<CBEAdd*>(block);
      ASSERT_TRUE(sub || add);
      EXPECT_TRUE(RunDialog(block, [&](CBEPropertyForm* form) {
        dialogtest::ExpectFrame(form, block->GetCaption(), 200, 170, {kind.label, L"Тип входных данных:"});
        EXPECT_EQ(L"1", Text(Edit(form, 0)));
        EXPECT_EQ(kCharToDouble, dialogtest::Items(List(form, 1)));
        TypeInto(Edit(form, 0), c.typed);
        List(form, 1)->SetSelectedIndex(c.typeIndex);
      }));
      EXPECT_EQ(c.cell, sub ? sub->constant : add->constant);
      EXPECT_EQ(kBeSignalChar + c.typeIndex, block->Output(0)->type);
      EXPECT_EQ(kBeSignalChar + c.typeIndex, block->Input(0)->type);
      EXPECT_FALSE(RunDialog(
          block, [&](CBEPropertyForm* form) { EXPECT_EQ(c.reopened, Text(Edit(form, 0))); }, Close::kCancel));
    }
  }
}

TEST_F(ArithmeticDialogTest, SummatorSetsItsInputsAndType) {
  Bench bench;
  auto* sum = bench.Create<CBESummator>(kBeSummatorClassId);
  auto* a = bench.Source(kBeSignalShort);
  auto* b = bench.Source(kBeSignalShort);
  bench.Link(a, sum, 0);
  bench.Link(b, sum, 1);
  EXPECT_TRUE(RunDialog(sum, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, sum->GetCaption(), 200, 170, {L"Кол-во входов:", L"Тип данных:"});
    RECT r = velktest::RectIn(form->GetHandle(), Spin(form, 0)->GetHandle());
    EXPECT_EQ(60, r.right - r.left);
    EXPECT_EQ(L"2", Text(Spin(form, 0)));
    EXPECT_EQ(L"short", Selected(List(form, 1)));
    TypeInto(Spin(form, 0), L"4");
  }));
  ASSERT_EQ(4, sum->inputCount);
  EXPECT_EQ(80, sum->Height());
  EXPECT_EQ(a->Output(0), sum->Input(0)->source) << "same type: kept";
  EXPECT_EQ(b->Output(0), sum->Input(1)->source);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(kBeSignalShort, sum->Input(i)->type);
  EXPECT_TRUE(RunDialog(sum, [&](CBEPropertyForm* form) { List(form, 1)->SetSelectedIndex(4); }));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(kBeSignalDouble, sum->Input(i)->type);
    EXPECT_EQ(nullptr, sum->Input(i)->source);
  }
}

TEST_F(ArithmeticDialogTest, NormDropsItsLastComponentWithItsLinks) {
  Bench bench;
  auto* norm = bench.Create<CBENorm>(kBeNormClassId);
  ASSERT_TRUE(norm->SetInputCount(3) && norm->SetOutputCount(3));
  norm->UpdatePinsAndCosts();
  std::vector<blocktest::Source*> in, out;
  for (int i = 0; i < 3; ++i) {
    in.push_back(bench.Source(kBeSignalFloat));
    bench.Link(in.back(), norm, i);
    out.push_back(bench.Source(kBeSignalFloat));
    out.back()->SetInputCount(1);
    out.back()->Input(0)->type = kBeSignalFloat;
    bench.Link(norm, i, out.back(), 0);
  }
  EXPECT_TRUE(RunDialog(norm, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, norm->GetCaption(), 200, 170, {L"Размерность вектора:", L"Тип данных:"});
    EXPECT_EQ(L"3", Text(Spin(form, 0)));
    EXPECT_EQ((std::vector<std::wstring>{L"float", L"double"}), dialogtest::Items(List(form, 1)));
    TypeInto(Spin(form, 0), L"2");
  }));
  ASSERT_EQ(2, norm->inputCount);
  ASSERT_EQ(2, norm->outputCount);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(in[i]->Output(0), norm->Input(i)->source);
    EXPECT_EQ(norm->Output(i), out[i]->Input(0)->source);
  }
  EXPECT_EQ(nullptr, out[2]->Input(0)->source) << "the third output went with its links";
  EXPECT_EQ(40, norm->Height());
  EXPECT_TRUE(RunDialog(norm, [&](CBEPropertyForm* form) { List(form, 1)->SetSelectedIndex(1); }));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(kBeSignalDouble, norm->Input(i)->type);
    EXPECT_EQ(kBeSignalDouble, norm->Output(i)->type);
    EXPECT_EQ(nullptr, norm->Input(i)->source);
    EXPECT_EQ(nullptr, out[i]->Input(0)->source);
  }
}

TEST_F(ArithmeticDialogTest, LengthChangesItsInputsAndOneOutput) {
  Bench bench;
  auto* length = bench.Create<CBELength>(kBeLengthClassId);
  BeSignalType start = length->GetType();
  EXPECT_TRUE(RunDialog(length, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, length->GetCaption(), 200, 170, {L"Размерность вектора:", L"Тип данных:"});
    EXPECT_EQ(kCharToDouble, dialogtest::Items(List(form, 1)));
    EXPECT_EQ(std::wstring(GetSignalTypeName(start)), Selected(List(form, 1)));
    TypeInto(Spin(form, 0), L"5");
    List(form, 1)->SetSelectedIndex(2);
  }));
  EXPECT_EQ(5, length->inputCount);
  EXPECT_EQ(1, length->outputCount);
  EXPECT_EQ(100, length->Height());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(kBeSignalInt, length->Input(i)->type);
  EXPECT_EQ(kBeSignalInt, length->Output(0)->type);
}

TEST_F(ArithmeticDialogTest, TypeConverterTakesBothTypes) {
  Bench bench;
  auto* convertor = bench.Create<CBETypeConvertor>(kBeTypeConvertorClassId);
  auto* source = bench.Source(kBeSignalBit);
  bench.Link(source, convertor, 0);
  EXPECT_TRUE(RunDialog(convertor, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, convertor->GetCaption(), 200, 170,
                            {L"Тип входных данных:", L"Тип выходных данных:"});
    EXPECT_EQ(L"bit", Selected(List(form, 0)));
    EXPECT_EQ(L"char", Selected(List(form, 1)));
    EXPECT_EQ(6, List(form, 1)->GetCount());
    List(form, 1)->SetSelectedIndex(0);  // equal types are allowed
  }));
  EXPECT_EQ(kBeSignalBit, convertor->GetInputType());
  EXPECT_EQ(kBeSignalBit, convertor->GetOutputType());
  EXPECT_EQ(source->Output(0), convertor->Input(0)->source);
  blocktest::Costs saved = CostsOf(convertor);
  convertor->UpdateCosts();
  EXPECT_EQ(CostsOf(convertor), saved);
  EXPECT_TRUE(RunDialog(convertor, [&](CBEPropertyForm* form) { List(form, 0)->SetSelectedIndex(5); }));
  EXPECT_EQ(kBeSignalDouble, convertor->GetInputType());
  EXPECT_EQ(nullptr, convertor->Input(0)->source);
}

struct SpeedCase {
  float frequency;  // Hz of the scheme
  const wchar_t* typed;
  int typeIndex;  // 0 char ... 4 double
  float saved;    // ms
  const wchar_t* reopened;
};

// The period reads by the real edit's rules, from 100 / the scheme's
// frequency up to 200000 ms; the types change as the frame says.
TEST_F(ArithmeticDialogTest, SpeedStoresItsPeriodAndType) {
  const SpeedCase cases[] = {
      {1e6f, L"0", 1, 0.0001f, L"0.0001"},        {1e6f, L"250,5", 1, 250.5f, L"250.5"},
      {1e6f, L"300000", 3, 200000, L"200000"},    {1e6f, L"abc", 4, 0.0001f, L"0.0001"},
      {1e3f, L"0.01", 0, 0.1f, L"0.1"},           {1e3f, L"-5", 2, 0.1f, L"0.1"},
      {0, L"0", 1, 0.0001f, L"0.0001"},           {1e6f, L"1 000", 1, 1000, L"1000"},
  };
  for (const SpeedCase& c : cases) {
    SCOPED_TRACE(c.typed);
    Bench bench;
    bench.scheme.frequency = c.frequency;
    auto* speed = bench.Create<CBESpeed>(kBeSpeedClassId);
    auto* source = bench.Source(kBeSignalShort);
    bench.Link(source, speed, 0);
    auto* reader = bench.Source(kBeSignalShort);
    reader->SetInputCount(1);
    reader->Input(0)->type = kBeSignalShort;
    bench.Link(speed, 0, reader, 0);
    double minimum = c.frequency == 1e3f ? 0.1 : 0.0001;
    EXPECT_TRUE(RunDialog(speed, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, speed->GetCaption(), 300, 260, {L"Период измерения [мс]:", L"Тип данных:"});
      ASSERT_EQ(3, form->GetTextLineCount());
      const wchar_t* lines[] = {L"Блок измеряет скорость", L"изменения входной величины",
                                L"за указанный период времени."};
      RECT client;
      GetClientRect(form->GetHandle(), &client);
      int below = 0;
      for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i], Text(form->GetTextLine(i)));
        RECT line = velktest::RectIn(form->GetHandle(), form->GetTextLine(i)->GetHandle());
        EXPECT_NEAR(client.right / 2, (line.left + line.right) / 2, 1) << "line " << i << " centred";
        EXPECT_GE(line.top, below) << "line " << i << " in a row of its own";
        below = line.bottom;
      }
      RECT first = velktest::RectIn(form->GetHandle(), form->GetRowLabel(0)->GetHandle());
      EXPECT_GE(first.top - below, 18 + 8) << "an empty row between the lines and the rows";
      CKestSpinEdit* period = Spin(form, 0);
      ASSERT_NE(nullptr, period);
      EXPECT_FALSE(period->IsInteger());
      EXPECT_EQ(1, period->GetStep());
      EXPECT_DOUBLE_EQ(minimum, period->GetMinimum());
      EXPECT_EQ(200000, period->GetMaximum());
      RECT r = velktest::RectIn(form->GetHandle(), period->GetHandle());
      EXPECT_EQ(120, r.right - r.left);
      EXPECT_EQ(22, r.bottom - r.top);
      EXPECT_EQ(L"100", Text(period));
      EXPECT_EQ(kCharToDouble, dialogtest::Items(List(form, 1)));
      EXPECT_EQ(L"short", Selected(List(form, 1)));
      TypeInto(period, c.typed);
      List(form, 1)->SetSelectedIndex(c.typeIndex);
    }));
    BeSignalType type = kBeSignalChar + c.typeIndex;
    EXPECT_EQ(c.saved, speed->period);
    EXPECT_EQ(type, speed->Input(0)->type);
    EXPECT_EQ(type, speed->Output(0)->type);
    bool same = type == kBeSignalShort;
    EXPECT_EQ(same ? source->Output(0) : nullptr, speed->Input(0)->source) << "input link kept only for the same type";
    EXPECT_EQ(same ? speed->Output(0) : nullptr, reader->Input(0)->source) << "readers kept only for the same type";
    // The update ran: the costs of the new type (char 8/12, short 10/14,
    // int 14/18, float 154/32 and double 234/40 shared).
    const blocktest::Costs costs[] = {{8, 12, 0, false},
                                      {10, 14, 0, false},
                                      {14, 18, 0, false},
                                      {154, 32, 0, true},
                                      {234, 40, 0, true}};
    blocktest::Costs expected = costs[c.typeIndex];
    expected.ram = speed->ram;
    EXPECT_EQ(expected, CostsOf(speed));
    EXPECT_FALSE(RunDialog(
        speed, [&](CBEPropertyForm* form) { EXPECT_EQ(c.reopened, Text(Spin(form, 0))); }, Close::kCancel));
    // What the dialog stored the block reads back.
    std::unique_ptr<BeScheme> copy = bench.ReadBack();
    ASSERT_NE(nullptr, copy);
    CBESpeed* read = nullptr;
    for (CBEBlock* b = copy->blocks; b; b = b->next)
      if (auto* s = dynamic_cast<CBESpeed*>(b)) read = s;
    ASSERT_NE(nullptr, read);
    EXPECT_EQ(c.saved, read->period);
    EXPECT_EQ(type, read->GetType());
  }
}

TEST_F(ArithmeticDialogTest, SpeedChangesNothingWhenNotConfirmed) {
  Bench bench;
  auto* speed = bench.Create<CBESpeed>(kBeSpeedClassId);
  auto* source = bench.Source(kBeSignalShort);
  bench.Link(source, speed, 0);
  std::vector<uint8_t> before = blocktest::RecordBytes(speed);
  blocktest::Costs costs = CostsOf(speed);
  for (Close close : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
    EXPECT_FALSE(RunDialog(
        speed,
        [](CBEPropertyForm* form) {
          TypeInto(Spin(form, 0), L"5");
          List(form, 1)->SetSelectedIndex(4);
        },
        close));
    EXPECT_EQ(before, blocktest::RecordBytes(speed));
    EXPECT_EQ(costs, CostsOf(speed));
    EXPECT_EQ(100.0f, speed->period);
    EXPECT_EQ(source->Output(0), speed->Input(0)->source);
  }
}

// Outside a scheme the default processor frequency gives the floor; a
// floor above the ceiling stops at the ceiling.
TEST_F(ArithmeticDialogTest, SpeedPeriodFloorFollowsTheFrequency) {
  Bench bench;
  auto* speed = bench.Create<CBESpeed>(kBeSpeedClassId);
  struct Case {
    float frequency;
    double minimum;
  } cases[] = {{1e6f, 0.0001}, {50, 2}, {-1, 0.0001}, {1e-4f, 200000}};
  for (const Case& c : cases) {
    bench.scheme.frequency = c.frequency;
    EXPECT_DOUBLE_EQ(c.minimum, SpeedPeriodMinimum(speed)) << c.frequency;
  }
  bench.scheme.frequency = std::numeric_limits<float>::quiet_NaN();
  EXPECT_DOUBLE_EQ(0.0001, SpeedPeriodMinimum(speed));
  CBESpeed loose;
  EXPECT_DOUBLE_EQ(0.0001, SpeedPeriodMinimum(&loose));
  EXPECT_DOUBLE_EQ(0.0001, SpeedPeriodMinimum(nullptr));
  // Not a speed block: nothing is shown.
  int before = LiveForms.count;
  EXPECT_FALSE(ShowSpeedDialog(bench.Create<CBEBlock>(kBeLengthClassId)));
  EXPECT_FALSE(ShowSpeedDialog(nullptr));
  EXPECT_EQ(before, LiveForms.count);
}

struct ConstantCase {
  int typeIndex;  // 0 bit ... 5 double
  const wchar_t* typed;
  std::vector<uint8_t> value;
  const wchar_t* reopened;
};

TEST_F(ArithmeticDialogTest, ConstantStoresTheValueByTheCheckedType) {
  const ConstantCase cases[] = {
      {0, L"1", {1, 0, 0, 0, 0, 0, 0, 0}, L"1"},
      {0, L"2", {0, 0, 0, 0, 0, 0, 0, 0}, L"0"},
      {0, L"1 ", {0, 0, 0, 0, 0, 0, 0, 0}, L"0"},
      {1, L"-1", {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, L"-1"},
      {2, L"65535", {0xFF, 0xFF, 0, 0, 0, 0, 0, 0}, L"-1"},
      {3, L"123456", {0x40, 0xE2, 0x01, 0, 0, 0, 0, 0}, L"123456"},
      {4, L"2,5", {0, 0, 0x20, 0x40, 0, 0, 0, 0}, L"2.5"},
      {5, L"0.125", {0, 0, 0, 0, 0, 0, 0xC0, 0x3F}, L"0.125"},
  };
  for (const ConstantCase& c : cases) {
    SCOPED_TRACE(c.typed);
    Bench bench;
    auto* constant = bench.Create<CBEConstant>(kBeConstantClassId);
    EXPECT_TRUE(RunDialog(constant, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, constant->GetCaption(), 250, 290, {L"Значение:", L"Тип сигнала"});
      RECT edit = velktest::RectIn(form->GetHandle(), Edit(form, 0)->GetHandle());
      EXPECT_EQ(230, edit.right - edit.left);
      RECT group = velktest::RectIn(form->GetHandle(), Radios(form, 1)->GetHandle());
      EXPECT_EQ(230, group.right - group.left);
      EXPECT_EQ(150, group.bottom - group.top);
      EXPECT_EQ(Edit(form, 0)->GetHandle(), GetFocus());
      EXPECT_EQ(L"0", Text(Edit(form, 0)));
      EXPECT_EQ(0, Radios(form, 1)->GetItemIndex());
      const wchar_t* names[] = {L"bit", L"char", L"short", L"int", L"float", L"double"};
      for (int i = 0; i < 6; ++i) EXPECT_EQ(names[i], Text(Radios(form, 1)->GetItem(i)));
      TypeInto(Edit(form, 0), c.typed);
      Radios(form, 1)->SetItemIndex(c.typeIndex);
    }));
    EXPECT_EQ(kBeSignalBit + c.typeIndex, constant->GetType());
    EXPECT_EQ(c.value, std::vector<uint8_t>(constant->Output(0)->value, constant->Output(0)->value + 8));
    EXPECT_FALSE(RunDialog(
        constant, [&](CBEPropertyForm* form) { EXPECT_EQ(c.reopened, Text(Edit(form, 0))); }, Close::kCancel));
    blocktest::Costs saved = CostsOf(constant);
    constant->UpdateCosts();
    EXPECT_EQ(CostsOf(constant), saved);
  }
}

// Its readers stay while the type stays; a new type drops them, as for
// every other dialog.
TEST_F(ArithmeticDialogTest, ConstantKeepsItsReadersOnlyForTheSameType) {
  Bench bench;
  auto* constant = bench.Create<CBEConstant>(kBeConstantClassId);
  ASSERT_TRUE(constant->SetValueFromText(kBeSignalInt, L"5"));
  auto* reader = bench.Source(kBeSignalInt);
  reader->SetInputCount(1);
  reader->Input(0)->type = kBeSignalInt;
  bench.Link(constant, reader, 0);
  EXPECT_TRUE(RunDialog(constant, [](CBEPropertyForm* form) {
    EXPECT_EQ(L"5", Text(Edit(form, 0)));
    TypeInto(Edit(form, 0), L"6");
  }));
  EXPECT_EQ(constant->Output(0), reader->Input(0)->source);
  EXPECT_TRUE(RunDialog(constant, [](CBEPropertyForm* form) { Radios(form, 1)->SetItemIndex(5); }));
  EXPECT_EQ(kBeSignalDouble, constant->GetType());
  EXPECT_EQ(6.0, DoubleAt(constant->Output(0)->value));
  EXPECT_EQ(nullptr, reader->Input(0)->source);
}

}  // namespace
