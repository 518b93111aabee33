// The generator dialogs: the event kind, the single impulse's and square
// wave's period floor (10 / the processor frequency) and no-repeat value,
// and the input boxes of the pulse extender and the monostable.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "blocks/dialogs/generators/generator_dialogs.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/generators/duration.h"
#include "blocks/library/generators/event.h"
#include "blocks/library/generators/meander.h"
#include "blocks/library/generators/monostable.h"
#include "blocks/library/generators/single_impuls.h"
#include "blocks/dialogs/dialog_driver.h"
#include "blocks/dialogs/input_box_steps.h"

namespace {

using dialogtest::InputBoxScript;
using dialogtest::RunInputBox;

using blocktest::Bench;
using blocktest::CostsOf;
using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::Edit;
using dialogtest::List;
using dialogtest::RunDialog;
using dialogtest::Selected;
using dialogtest::Text;
using dialogtest::TypeInto;

class GeneratorDialogTest : public DialogTest {};

TEST_F(GeneratorDialogTest, EventDetectorStoresTheChosenKind) {
  Bench bench;
  auto* event = bench.Create<CBEEvent>(kBeEventClassId);
  ASSERT_NE(nullptr, event);
  event->kind = kEventDecrease;
  EXPECT_TRUE(RunDialog(event, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, event->GetCaption(), 260, 120, {L"Тип событий:"});
    EXPECT_EQ((std::vector<std::wstring>{L"Увеличение сигнала", L"Уменьшение сигнала", L"Изменение сигнала"}),
              dialogtest::Items(List(form, 0)));
    EXPECT_EQ(L"Уменьшение сигнала", Selected(List(form, 0)));
    RECT rect;
    GetWindowRect(List(form, 0)->GetHandle(), &rect);
    EXPECT_EQ(220, rect.right - rect.left);
    EXPECT_EQ(List(form, 0)->GetHandle(), GetFocus());
    List(form, 0)->SetSelectedIndex(2);
  }));
  EXPECT_EQ(2, event->kind);
  EXPECT_FALSE(RunDialog(event, [&](CBEPropertyForm* form) { List(form, 0)->SetSelectedIndex(0); }, Close::kCancel));
  EXPECT_EQ(2, event->kind);
}

struct PeriodCase {
  const wchar_t* typed;
  float frequency;
  float single;   // the single impulse's stored period
  float meander;  // the square wave's
};

TEST_F(GeneratorDialogTest, PeriodsAreHeldAboveTheProcessorsFloor) {
  const float floor1M = 0.00001f, floor2M = 0.000005f;
  const PeriodCase cases[] = {
      {L"-5", 1e6f, -1.0f, floor1M},    {L"0", 1e6f, floor1M, floor1M},   {L"abc", 1e6f, floor1M, floor1M},
      {L"2,5", 1e6f, 2.5f, 2.5f},       {L"0", 2e6f, floor2M, floor2M},   {L"0.000001", 1e6f, floor1M, floor1M},
      {L"250", 1e6f, 250.0f, 250.0f},   {L"-1", 1e6f, -1.0f, floor1M},
  };
  for (const PeriodCase& c : cases) {
    SCOPED_TRACE(c.typed);
    Bench bench;
    bench.scheme.frequency = c.frequency;
    auto* single = bench.Create<CBESingleImpuls>(kBeSingleImpulsClassId);
    auto* meander = bench.Create<CBEMeander>(kBeMeanderClassId);
    ASSERT_TRUE(single && meander);
    blocktest::Costs costs = CostsOf(single);
    EXPECT_TRUE(RunDialog(single, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, single->GetCaption(), 300, 170,
                              {L"Период [мс] (-1 - без повтора):", L"Нач.фаза [мс]:"}, 70);
      EXPECT_EQ(L"-1", Text(Edit(form, 0)));
      EXPECT_EQ(L"0", Text(Edit(form, 1)));
      TypeInto(Edit(form, 0), c.typed);
      TypeInto(Edit(form, 1), L"3,25");
    }));
    EXPECT_FLOAT_EQ(c.single, single->period);
    EXPECT_EQ(3.25f, single->initialDelay);
    EXPECT_EQ(costs, CostsOf(single));
    EXPECT_TRUE(RunDialog(meander, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, meander->GetCaption(), 200, 170, {L"Период [мс]:", L"Нач.фаза [мс]:"}, 70);
      EXPECT_EQ(L"1000", Text(Edit(form, 0)));
      TypeInto(Edit(form, 0), c.typed);
      TypeInto(Edit(form, 1), L"-7");
    }));
    EXPECT_FLOAT_EQ(c.meander, meander->period);
    EXPECT_EQ(-7.0f, meander->initialPhase) << "no limit";
  }
}

struct BoxCase {
  const wchar_t* typed;
  bool ok;
  bool answer;
  int32_t stored;
};

TEST_F(GeneratorDialogTest, ExtenderAndMonostableAskForTheirTimeInTheInputBox) {
  const BoxCase cases[] = {
      {L"250", true, true, 250}, {L"40мс", true, true, 40}, {L"", true, false, 1000},
      {L"77", false, false, 1000}, {L"-3", true, true, -3}, {L"abc", true, true, 0},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.typed);
    Bench bench;
    auto* duration = bench.Create<CBEDuration>(kBeDurationClassId);
    auto* monostable = bench.Create<CBEMonostable>(kBeMonostableClassId);
    ASSERT_TRUE(duration && monostable);
    duration->SetCaption(L"Продлеватель 1");
    InputBoxScript script;
    script.typed = c.typed;
    script.ok = c.ok;
    EXPECT_EQ(c.answer, RunInputBox(duration, &script));
    EXPECT_EQ(L"Продлеватель 1", script.caption);
    EXPECT_EQ(L"Время продления [мс]:", script.prompt);
    EXPECT_EQ(L"1000", script.initial);
    EXPECT_EQ(c.stored, duration->extension);

    InputBoxScript second;
    second.typed = c.typed;
    second.ok = c.ok;
    EXPECT_EQ(c.answer, RunInputBox(monostable, &second));
    EXPECT_EQ(monostable->GetCaption(), second.caption);
    EXPECT_EQ(L"Интервал работы [мс]:", second.prompt);
    EXPECT_EQ(c.stored, monostable->duration);
  }
}

}  // namespace
