// The control-link dialogs: what each shows, the enabling rules while the
// form is open, the corrections "OK" makes (amplitude, range, limit,
// realisation), the pins retyped by the rule of the dialogs and the costs
// recomputed where the link has them.
#include <memory>
#include <string>
#include <vector>

#include "blocks/dialogs/control/const_divider_dlg.h"
#include "blocks/dialogs/control/control_dialogs.h"
#include "blocks/dialogs/control/diff_dlg.h"
#include "blocks/dialogs/control/prop_dlg.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/control/diff.h"
#include "blocks/library/control/inertial.h"
#include "blocks/library/control/integral.h"
#include "blocks/library/control/integral_with_reload.h"
#include "blocks/library/control/vibro.h"
#include "blocks/library/math/const_divider.h"
#include "blocks/library/math/proportional.h"
#include "blocks/dialogs/dialog_driver.h"

namespace {

using blocktest::Bench;
using blocktest::CostsOf;
using dialogtest::Choose;
using dialogtest::ClickRadio;
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

class ControlDialogTest : public DialogTest {};

const std::vector<std::wstring> kTypes = {L"char", L"short", L"int", L"float", L"double"};
const std::vector<std::wstring> kLinkRows = {L"Коэффициент:", L"Тип входных данных:", L"Тип выходных данных:",
                                             L"Способ реализации"};

int Width(CKestControl* control) {
  RECT rect;
  GetWindowRect(control->GetHandle(), &rect);
  return rect.right - rect.left;
}

// A reader of the block's first output, of the output's type.
blocktest::Source* Reader(Bench& bench, CBEBlock* block) {
  auto* reader = bench.Source(kBeSignalBit);
  reader->SetInputCount(1);
  reader->Input(0)->type = block->Output(0)->type;
  bench.Link(block, reader, 0);
  return reader;
}

TEST_F(ControlDialogTest, ProportionalWithARealInputOpensOnFloatingPointAndStoresNoTable) {
  Bench bench;
  auto* prop = bench.Create<CBEProportional>(kBeProportionalClassId);
  ASSERT_NE(nullptr, prop);
  prop->Input(0)->type = kBeSignalDouble;
  prop->tableMode = 1;
  prop->amplitude = 300;
  EXPECT_TRUE(RunDialog(prop, [&](CBEPropertyForm* form) {
    std::vector<std::wstring> rows = kLinkRows;
    rows.push_back(L"Амплитуда вх.данных:");
    dialogtest::ExpectFrame(form, prop->GetCaption(), 250, 330, rows);
    auto* dlg = dynamic_cast<CPropDlg*>(form);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(L"2", Text(Edit(form, 0)));
    EXPECT_EQ(200, Width(Edit(form, 0)));
    EXPECT_EQ(kTypes, dialogtest::Items(List(form, 1)));
    EXPECT_EQ(L"double", Selected(List(form, 1)));
    EXPECT_EQ(L"char", Selected(List(form, 2)));
    EXPECT_EQ(dlg->GetInputTypeList(), List(form, 1));
    CKestRadioGroupBox* group = Radios(form, 3);
    ASSERT_EQ(dlg->GetRealisationGroup(), group);
    EXPECT_EQ(1000, GetDlgCtrlID(group->GetHandle()));
    EXPECT_EQ(220, Width(group));
    EXPECT_EQ(L"Числа с плав.точкой", Text(group->GetItem(0)));
    EXPECT_EQ(L"По таблице", Text(group->GetItem(1)));
    EXPECT_EQ(0, group->GetItemIndex());
    EXPECT_FALSE(group->IsEnabled());
    EXPECT_FALSE(dlg->GetAmplitudeEdit()->IsEnabled());
    EXPECT_EQ(dlg->GetAmplitudeEdit(), Spin(form, 4));
    EXPECT_EQ(L"300", Text(Spin(form, 4)));
    EXPECT_EQ(1, Spin(form, 4)->GetMinimum());
    EXPECT_EQ(2047, Spin(form, 4)->GetMaximum());
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_proportional_double.bmp"));
  }));
  EXPECT_EQ(0, prop->tableMode);
  EXPECT_EQ(300, prop->amplitude) << "the amplitude stays";
}

struct AmplitudeCase {
  int outputIndex;  // 0 char, 1 short
  const wchar_t* typed;
  int saved;
};

TEST_F(ControlDialogTest, ProportionalTableAmplitudeIsHeldForACharOutput) {
  const AmplitudeCase cases[] = {{0, L"2047", 127}, {1, L"2047", 2047}, {0, L"100", 100}, {2, L"5000", 2047}};
  for (const AmplitudeCase& c : cases) {
    SCOPED_TRACE(c.typed);
    Bench bench;
    auto* prop = bench.Create<CBEProportional>(kBeProportionalClassId);
    prop->tableMode = 1;
    EXPECT_TRUE(RunDialog(prop, [&](CBEPropertyForm* form) {
      EXPECT_EQ(1, Radios(form, 3)->GetItemIndex());
      EXPECT_TRUE(Radios(form, 3)->IsEnabled());
      EXPECT_TRUE(Spin(form, 4)->IsEnabled());
      TypeInto(Spin(form, 4), c.typed);
      List(form, 2)->SetSelectedIndex(c.outputIndex);
      TypeInto(Edit(form, 0), L"3,5");
    }));
    EXPECT_EQ(1, prop->tableMode);
    EXPECT_EQ(c.saved, prop->amplitude);
    EXPECT_EQ(3.5f, prop->coefficient);
    EXPECT_EQ(kBeSignalChar + c.outputIndex, prop->Output(0)->type);
    blocktest::Costs saved = CostsOf(prop);
    prop->UpdateCosts();
    EXPECT_EQ(CostsOf(prop), saved) << "the costs of what was stored";
    std::unique_ptr<BeScheme> copy = bench.ReadBack();
    EXPECT_NE(nullptr, copy) << "the block loads again";
  }
}

TEST_F(ControlDialogTest, ProportionalEnablesTheAmplitudeWithTheTableAndTheGroupWithIntegerInputs) {
  Bench bench;
  auto* prop = bench.Create<CBEProportional>(kBeProportionalClassId);
  auto* source = bench.Source(kBeSignalChar);
  bench.Link(source, prop, 0);
  auto* reader = Reader(bench, prop);
  EXPECT_TRUE(RunDialog(prop, [&](CBEPropertyForm* form) {
    auto* dlg = dynamic_cast<CPropDlg*>(form);
    ASSERT_NE(nullptr, dlg);
    CKestRadioGroupBox* group = dlg->GetRealisationGroup();
    CKestSpinEdit* amplitude = dlg->GetAmplitudeEdit();
    EXPECT_EQ(0, group->GetItemIndex());
    EXPECT_TRUE(group->IsEnabled());
    EXPECT_FALSE(amplitude->IsEnabled());
    ClickRadio(group, 1);
    EXPECT_TRUE(amplitude->IsEnabled());
    ClickRadio(group, 0);
    EXPECT_FALSE(amplitude->IsEnabled());
    ClickRadio(group, 1);
    Choose(dlg->GetInputTypeList(), 3);  // float
    EXPECT_FALSE(amplitude->IsEnabled());
    EXPECT_EQ(0, group->GetItemIndex());
    EXPECT_FALSE(group->IsEnabled());
    EXPECT_FALSE(group->GetItem(1)->IsEnabled());
    Choose(dlg->GetInputTypeList(), 1);  // short
    EXPECT_TRUE(group->IsEnabled());
    EXPECT_FALSE(amplitude->IsEnabled()) << "keeps its state";
    ClickRadio(group, 1);
    EXPECT_TRUE(amplitude->IsEnabled());
    TypeInto(amplitude, L"500");
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_proportional_table.bmp"));
  }));
  EXPECT_EQ(kBeSignalShort, prop->Input(0)->type);
  EXPECT_EQ(nullptr, prop->Input(0)->source) << "retyped: unlinked";
  EXPECT_EQ(prop->Output(0), reader->Input(0)->source) << "the output kept its type";
  EXPECT_EQ(1, prop->tableMode);
  EXPECT_EQ(127, prop->amplitude) << "held for the char output";
}

TEST_F(ControlDialogTest, TheFormsIgnoreTheirControlsUntilTheyAreReady) {
  Bench bench;
  auto* prop = bench.Create<CBEProportional>(kBeProportionalClassId);
  auto* divider = bench.Create<CBEConstDivider>(kBeConstDividerClassId);
  auto* diff = bench.Create<CBEDiff>(kBeDiffClassId);
  EXPECT_TRUE(RunDialog(prop, [&](CBEPropertyForm* form) {
    auto* dlg = dynamic_cast<CPropDlg*>(form);
    ASSERT_NE(nullptr, dlg);
    EXPECT_TRUE(dlg->IsReady());
    dlg->SetReady(false);
    Choose(dlg->GetInputTypeList(), 4);
    EXPECT_TRUE(dlg->GetRealisationGroup()->IsEnabled());
    dlg->SetReady(true);
    Choose(dlg->GetInputTypeList(), 4);
    EXPECT_FALSE(dlg->GetRealisationGroup()->IsEnabled());
  }));
  EXPECT_TRUE(RunDialog(divider, [&](CBEPropertyForm* form) {
    auto* dlg = dynamic_cast<CConstDividerDlg*>(form);
    ASSERT_NE(nullptr, dlg);
    dlg->SetReady(false);
    ClickRadio(dlg->GetRealisationGroup(), 1);
    EXPECT_FALSE(dlg->GetStartEdit()->IsEnabled());
    dlg->SetReady(true);
  }));
  EXPECT_TRUE(RunDialog(diff, [&](CBEPropertyForm* form) {
    auto* dlg = dynamic_cast<CDiffDlg*>(form);
    ASSERT_NE(nullptr, dlg);
    dlg->SetReady(false);
    Choose(dlg->GetRealisationList(), 1, CBN_SELENDOK);
    EXPECT_FALSE(dlg->GetAmplitudeEdit()->IsEnabled());
    dlg->SetReady(true);
    Choose(dlg->GetRealisationList(), 1, CBN_EDITCHANGE);
    EXPECT_TRUE(dlg->GetAmplitudeEdit()->IsEnabled());
  }));
}

struct RangeCase {
  int outputIndex;
  const wchar_t* start;
  const wchar_t* end;
  int from, to;
};

TEST_F(ControlDialogTest, DividerRangeIsHeldAndKeptIncreasing) {
  const RangeCase cases[] = {
      {1, L"200", L"100", 200, 201}, {0, L"127", L"127", 126, 127}, {0, L"300", L"500", 126, 127},
      {0, L"5", L"60", 5, 60},       {1, L"2047", L"2047", 2047, 2048}, {1, L"0", L"0", 1, 2},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(std::wstring(c.start) + L".." + c.end);
    Bench bench;
    auto* divider = bench.Create<CBEConstDivider>(kBeConstDividerClassId);
    divider->tableMode = 1;
    EXPECT_TRUE(RunDialog(divider, [&](CBEPropertyForm* form) {
      auto* dlg = dynamic_cast<CConstDividerDlg*>(form);
      ASSERT_NE(nullptr, dlg);
      EXPECT_TRUE(dlg->GetStartEdit()->IsEnabled());
      EXPECT_TRUE(dlg->GetEndEdit()->IsEnabled());
      TypeInto(dlg->GetStartEdit(), c.start);
      TypeInto(dlg->GetEndEdit(), c.end);
      List(form, 2)->SetSelectedIndex(c.outputIndex);
    }));
    EXPECT_EQ(1, divider->tableMode);
    EXPECT_EQ(c.from, divider->from);
    EXPECT_EQ(c.to, divider->to);
    EXPECT_NE(nullptr, bench.ReadBack()) << "the block loads again";
  }
}

TEST_F(ControlDialogTest, DividerShowsTheRangeStartClampedAndWritesWhatItShows) {
  Bench bench;
  auto* divider = bench.Create<CBEConstDivider>(kBeConstDividerClassId);
  ASSERT_EQ(0, divider->from);
  EXPECT_TRUE(RunDialog(divider, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, divider->GetCaption(), 300, 380, kLinkRows);
    auto* dlg = dynamic_cast<CConstDividerDlg*>(form);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(L"127", Text(Edit(form, 0)));
    EXPECT_EQ(L"Диапазон вх.данных:", Text(dlg->GetRangeLabel()));
    RECT group = velktest::RectIn(form->GetHandle(), Radios(form, 3)->GetHandle());
    RECT label = velktest::RectIn(form->GetHandle(), dlg->GetRangeLabel()->GetHandle());
    RECT start = velktest::RectIn(form->GetHandle(), dlg->GetStartEdit()->GetHandle());
    RECT end = velktest::RectIn(form->GetHandle(), dlg->GetEndEdit()->GetHandle());
    EXPECT_LE(group.bottom, label.top + 1);
    EXPECT_LE(label.bottom, start.top + 1);
    EXPECT_EQ(start.top, end.top) << "side by side";
    EXPECT_LT(start.right, end.left);
    EXPECT_EQ(90, start.right - start.left);
    EXPECT_EQ(L"1", Text(dlg->GetStartEdit()));
    EXPECT_EQ(L"127", Text(dlg->GetEndEdit()));
    EXPECT_EQ(1, dlg->GetStartEdit()->GetMinimum());
    EXPECT_EQ(2047, dlg->GetEndEdit()->GetMaximum());
    EXPECT_FALSE(dlg->GetStartEdit()->IsEnabled());
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_const_divider.bmp"));
    ClickRadio(Radios(form, 3), 1);
    EXPECT_TRUE(dlg->GetStartEdit()->IsEnabled());
  }));
  EXPECT_EQ(1, divider->tableMode);
  EXPECT_EQ(1, divider->from);
  EXPECT_EQ(127, divider->to);
}

TEST_F(ControlDialogTest, DividerOnAnIntInputOffersTheTableUntilIntIsChosenAgain) {
  Bench bench;
  auto* divider = bench.Create<CBEConstDivider>(kBeConstDividerClassId);
  divider->Input(0)->type = kBeSignalInt;
  EXPECT_TRUE(RunDialog(divider, [&](CBEPropertyForm* form) {
    auto* dlg = dynamic_cast<CConstDividerDlg*>(form);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(L"int", Selected(dlg->GetInputTypeList()));
    EXPECT_TRUE(dlg->GetRealisationGroup()->IsEnabled());
    EXPECT_FALSE(dlg->GetStartEdit()->IsEnabled());
    EXPECT_FALSE(dlg->GetEndEdit()->IsEnabled());
    ClickRadio(dlg->GetRealisationGroup(), 1);
    EXPECT_TRUE(dlg->GetStartEdit()->IsEnabled());
    EXPECT_TRUE(dlg->GetEndEdit()->IsEnabled());
  }));
  EXPECT_EQ(1, divider->tableMode);
  EXPECT_EQ(kBeSignalInt, divider->Input(0)->type);

  divider->tableMode = 0;
  divider->Input(0)->type = kBeSignalChar;
  EXPECT_TRUE(RunDialog(divider, [&](CBEPropertyForm* form) {
    auto* dlg = dynamic_cast<CConstDividerDlg*>(form);
    ClickRadio(dlg->GetRealisationGroup(), 1);
    EXPECT_TRUE(dlg->GetStartEdit()->IsEnabled());
    Choose(dlg->GetInputTypeList(), 2);  // int
    EXPECT_EQ(0, dlg->GetRealisationGroup()->GetItemIndex());
    EXPECT_FALSE(dlg->GetRealisationGroup()->IsEnabled());
    EXPECT_FALSE(dlg->GetStartEdit()->IsEnabled());
    EXPECT_FALSE(dlg->GetEndEdit()->IsEnabled());
    Choose(dlg->GetInputTypeList(), 1);  // short
    EXPECT_TRUE(dlg->GetRealisationGroup()->IsEnabled());
    EXPECT_FALSE(dlg->GetStartEdit()->IsEnabled());
  }));
  EXPECT_EQ(0, divider->tableMode);
  EXPECT_EQ(kBeSignalShort, divider->Input(0)->type);
}

TEST_F(ControlDialogTest, DifferentiatorEnablesItsAmplitudeWithTheTableAndCorrectsOnOk) {
  Bench bench;
  auto* diff = bench.Create<CBEDiff>(kBeDiffClassId);
  ASSERT_NE(nullptr, diff);
  auto* source = bench.Source(kBeSignalChar);
  bench.Link(source, diff, 0);
  auto* reader = Reader(bench, diff);
  EXPECT_TRUE(RunDialog(diff, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, diff->GetCaption(), 260, 265,
                            {L"Коэффициент усиления:", L"Амплитуда на входе:", L"Тип данных:", L"Способ реализации:"});
    auto* dlg = dynamic_cast<CDiffDlg*>(form);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(L"1", Text(Edit(form, 0)));
    EXPECT_EQ(180, Width(Edit(form, 0)));
    EXPECT_EQ(Edit(form, 0)->GetHandle(), GetFocus());
    EXPECT_EQ(L"127", Text(Edit(form, 1)));
    EXPECT_FALSE(Edit(form, 1)->IsEnabled());
    EXPECT_EQ(kTypes, dialogtest::Items(List(form, 2)));
    EXPECT_EQ(L"char", Selected(List(form, 2)));
    EXPECT_EQ((std::vector<std::wstring>{L"Числа с плавающей точкой", L"Целочисл. по таблице"}),
              dialogtest::Items(List(form, 3)));
    EXPECT_EQ(230, Width(List(form, 3)));
    EXPECT_EQ(L"Числа с плавающей точкой", Selected(List(form, 3)));
    Choose(List(form, 3), 1, CBN_SELENDOK);
    EXPECT_TRUE(Edit(form, 1)->IsEnabled());
    Choose(List(form, 3), 0, CBN_SELENDOK);
    EXPECT_FALSE(Edit(form, 1)->IsEnabled());
    Choose(List(form, 3), 1, CBN_SELENDOK);
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_diff.bmp"));
    TypeInto(Edit(form, 0), L"2,5");
    TypeInto(Edit(form, 1), L"300");
    List(form, 2)->SetSelectedIndex(1);
  }));
  EXPECT_EQ(2.5, diff->gain);
  EXPECT_EQ(300, diff->amplitude);
  EXPECT_EQ(1, diff->realisation);
  EXPECT_EQ(kBeSignalShort, diff->Input(0)->type);
  EXPECT_EQ(kBeSignalShort, diff->Output(0)->type);
  EXPECT_EQ(nullptr, diff->Input(0)->source);
  EXPECT_EQ(nullptr, reader->Input(0)->source);
  blocktest::Costs saved = CostsOf(diff);
  diff->UpdateCosts();
  EXPECT_EQ(CostsOf(diff), saved);
  EXPECT_EQ(10, saved.cycles) << "the table realisation";

  // Float with the table chosen: floating point; a negative amplitude 0.
  EXPECT_TRUE(RunDialog(diff, [&](CBEPropertyForm* form) {
    EXPECT_TRUE(Edit(form, 1)->IsEnabled());
    List(form, 2)->SetSelectedIndex(3);
    TypeInto(Edit(form, 1), L"-3");
  }));
  EXPECT_EQ(0, diff->realisation);
  EXPECT_EQ(0, diff->amplitude);
  EXPECT_EQ(kBeSignalFloat, diff->Output(0)->type);
}

struct LimitCase {
  int typeIndex;
  int realisation;
  const wchar_t* typed;
  double limit;
  int savedRealisation;
};

TEST_F(ControlDialogTest, IntegralLimitIsHeldByRealisationAndType) {
  const LimitCase cases[] = {
      {2, 1, L"1000", 512, 1},   {0, 0, L"300", 127, 0},        {2, 0, L"-5", 0, 0},
      {4, 1, L"1000", 1000, 0},  {1, 0, L"40000", 32767, 0},    {2, 0, L"3e9", 2147483647.0, 0},
      {3, 0, L"1e20", 1e20, 0},  {0, 1, L"100", 100, 1},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.typed);
    Bench bench;
    auto* integral = bench.Create<CBEIntegral>(kBeIntegralClassId);
    ASSERT_NE(nullptr, integral);
    EXPECT_TRUE(RunDialog(integral, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, integral->GetCaption(), 260, 300,
                              {L"Коэффициент усиления:", L"Нач.значение на выходе:", L"Ограничение на выходе:",
                               L"Тип данных:", L"Способ реализации:"});
      EXPECT_EQ(L"1", Text(Edit(form, 0)));
      EXPECT_EQ(L"0", Text(Edit(form, 1)));
      EXPECT_EQ(L"127", Text(Edit(form, 2)));
      EXPECT_EQ(Edit(form, 0)->GetHandle(), GetFocus());
      EXPECT_EQ(230, Width(List(form, 4)));
      TypeInto(Edit(form, 0), L"0.5");
      TypeInto(Edit(form, 1), L"-2");
      TypeInto(Edit(form, 2), c.typed);
      List(form, 3)->SetSelectedIndex(c.typeIndex);
      List(form, 4)->SetSelectedIndex(c.realisation);
    }));
    EXPECT_EQ(0.5, integral->gain);
    EXPECT_EQ(-2.0, integral->initialOutput);
    EXPECT_EQ(c.limit, integral->limit);
    EXPECT_EQ(c.savedRealisation, integral->realisation);
    EXPECT_EQ(kBeSignalChar + c.typeIndex, integral->Output(0)->type);
    EXPECT_EQ(kBeSignalChar + c.typeIndex, integral->Input(0)->type);
    blocktest::Costs saved = CostsOf(integral);
    integral->UpdateCosts();
    EXPECT_EQ(CostsOf(integral), saved);
  }
}

TEST_F(ControlDialogTest, IntegralWithReloadRetypesBothDataInputsAndTheOutput) {
  Bench bench;
  auto* integral = bench.Create<CBEIntegralWithReload>(kBeIntegralWithReloadClassId);
  ASSERT_NE(nullptr, integral);
  integral->SetDataType(kBeSignalDouble);
  auto* x = bench.Source(kBeSignalDouble);
  auto* d = bench.Source(kBeSignalDouble);
  auto* w = bench.Source(kBeSignalBit);
  bench.Link(x, integral, 0);
  bench.Link(d, integral, 1);
  bench.Link(w, integral, 2);
  auto* reader = Reader(bench, integral);
  blocktest::Costs costs = CostsOf(integral);
  EXPECT_TRUE(RunDialog(integral, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, integral->GetCaption(), 260, 200,
                            {L"Коэффициент усиления:", L"Нач.значение на выходе:", L"Тип данных:"});
    EXPECT_EQ(L"double", Selected(List(form, 2)));
    EXPECT_EQ(Edit(form, 0)->GetHandle(), GetFocus());
    TypeInto(Edit(form, 0), L"4");
    TypeInto(Edit(form, 1), L"1,25");
    List(form, 2)->SetSelectedIndex(1);
  }));
  EXPECT_EQ(4.0, integral->gain);
  EXPECT_EQ(1.25, integral->initialOutput);
  EXPECT_EQ(kBeSignalShort, integral->Input(0)->type);
  EXPECT_EQ(kBeSignalShort, integral->Input(1)->type);
  EXPECT_EQ(kBeSignalShort, integral->Output(0)->type);
  EXPECT_EQ(nullptr, integral->Input(0)->source);
  EXPECT_EQ(nullptr, integral->Input(1)->source);
  EXPECT_EQ(w->Output(0), integral->Input(2)->source) << "W stays";
  EXPECT_EQ(kBeSignalBit, integral->Input(2)->type);
  EXPECT_EQ(nullptr, reader->Input(0)->source);
  EXPECT_EQ(costs, CostsOf(integral));
}

TEST_F(ControlDialogTest, LagAndOscillatingLinksStoreTheirNumbersUnlimited) {
  Bench bench;
  auto* inertial = bench.Create<CBEInertial>(kBeInertialClassId);
  ASSERT_NE(nullptr, inertial);
  auto* reader = Reader(bench, inertial);
  blocktest::Costs costs = CostsOf(inertial);
  EXPECT_TRUE(RunDialog(inertial, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, inertial->GetCaption(), 260, 200,
                            {L"Постоянная времени [сек]:", L"Коэффициент усиления:", L"Тип данных:"});
    EXPECT_EQ(Edit(form, 0)->GetHandle(), GetFocus());
    EXPECT_EQ(L"float", Selected(List(form, 2)));
    TypeInto(Edit(form, 0), L"-0,5");
    TypeInto(Edit(form, 1), L"abc");
  }));
  EXPECT_EQ(-0.5, inertial->timeConstant);
  EXPECT_EQ(0.0, inertial->gain) << "no digits read as 0";
  EXPECT_EQ(inertial->Output(0), reader->Input(0)->source) << "same type: kept";
  EXPECT_EQ(costs, CostsOf(inertial));

  auto* vibro = bench.Create<CBEVibro>(kBeVibroClassId);
  ASSERT_NE(nullptr, vibro);
  auto* source = bench.Source(kBeSignalFloat);
  bench.Link(source, vibro, 0);
  costs = CostsOf(vibro);
  EXPECT_TRUE(RunDialog(vibro, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, vibro->GetCaption(), 260, 250,
                            {L"Постоянная времени T [сек]:", L"Коэф.демпфирования ξ:", L"Коэффициент усиления K:",
                             L"Тип данных:"});
    EXPECT_EQ(L"1", Text(Edit(form, 0)));
    EXPECT_EQ(L"0.75", Text(Edit(form, 1)));
    EXPECT_EQ(L"1", Text(Edit(form, 2)));
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_vibro.bmp"));
    TypeInto(Edit(form, 0), L"2");
    TypeInto(Edit(form, 1), L"0,1");
    TypeInto(Edit(form, 2), L"1e3");
    List(form, 3)->SetSelectedIndex(2);
  }));
  EXPECT_EQ(2.0, vibro->timeConstant);
  EXPECT_EQ(0.1, vibro->damping);
  EXPECT_EQ(1000.0, vibro->gain);
  EXPECT_EQ(kBeSignalInt, vibro->Input(0)->type);
  EXPECT_EQ(kBeSignalInt, vibro->Output(0)->type);
  EXPECT_EQ(nullptr, vibro->Input(0)->source);
  EXPECT_EQ(costs, CostsOf(vibro));
}

TEST_F(ControlDialogTest, CancelAfterEditingEveryFieldLeavesTheLinkedBlocksAsTheyWere) {
  Bench bench;
  auto* prop = bench.Create<CBEProportional>(kBeProportionalClassId);
  auto* divider = bench.Create<CBEConstDivider>(kBeConstDividerClassId);
  auto* diff = bench.Create<CBEDiff>(kBeDiffClassId);
  for (CBEBlock* block : {static_cast<CBEBlock*>(prop), static_cast<CBEBlock*>(divider),
                          static_cast<CBEBlock*>(diff)}) {
    auto* source = bench.Source(kBeSignalChar);
    bench.Link(source, block, 0);
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    blocktest::Costs costs = CostsOf(block);
    EXPECT_FALSE(RunDialog(
        block,
        [&](CBEPropertyForm* form) {
          TypeInto(Edit(form, 0), L"9");
          for (int row = 1; row < form->GetRowCount(); ++row) {
            if (auto* list = List(form, row)) Choose(list, 1);
            if (auto* radios = Radios(form, row)) ClickRadio(radios, 1);
            if (auto* spin = Spin(form, row)) TypeInto(spin, L"77");
          }
          if (auto* dlg = dynamic_cast<CConstDividerDlg*>(form)) TypeInto(dlg->GetEndEdit(), L"5");
        },
        Close::kCancel));
    EXPECT_EQ(before, blocktest::RecordBytes(block));
    EXPECT_EQ(costs, CostsOf(block));
    EXPECT_EQ(source->Output(0), block->Input(0)->source);
  }
}

}  // namespace
