// The processor peripheral dialogs: what each shows of its block, what
// "OK" writes and rebuilds (pins, bindings, costs), and that "Отмена"
// after every control was changed leaves block, pins and bindings alone;
// the pin block's refusal in its alternate-function modes.
#include <string>
#include <vector>

#include "blocks/dialogs/dialog_driver.h"
#include "blocks/dialogs/mcu/peripheral_dialogs.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/interfaces/gpio.h"
#include "blocks/library/mcu/avr_adc.h"
#include "blocks/library/mcu/avr_timer.h"
#include "blocks/library/mcu/interval_detector.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/mcu/software_pwm.h"
#include "foundation/numbers.h"
#include "kestui/buttons/kest_check_box.h"
#include "kestui/lists/kest_list_view.h"
#include "mcu/avr_bench.h"

namespace {

using avrtest::AvrBench;
using blocktest::CostsOf;
using dialogtest::Choose;
using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::Edit;
using dialogtest::Items;
using dialogtest::List;
using dialogtest::RunDialog;
using dialogtest::Selected;
using dialogtest::Spin;
using dialogtest::Text;
using dialogtest::TypeInto;

class PeripheralDialogTest : public DialogTest {};

// The form's own child controls of a class, in the order they were made.
template <class T>
std::vector<T*> ControlsOf(CKestControl* parent) {
  std::vector<T*> found;
  for (HWND child : velktest::Children(parent->GetHandle()))
    if (auto* control = dynamic_cast<T*>(GetControlFromHandle(child))) found.push_back(control);
  return found;
}

std::vector<std::wstring> Texts(const std::vector<CKestLabel*>& labels) {
  std::vector<std::wstring> texts;
  for (CKestLabel* label : labels) texts.push_back(Text(label));
  return texts;
}

SIZE SizeOf(CKestControl* control) {
  RECT rect;
  GetWindowRect(control->GetHandle(), &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

RECT RectOf(CBEPropertyForm* form, CKestControl* control) {
  return velktest::RectIn(form->GetHandle(), control->GetHandle());
}

// A block of a class that only a unit's catalogue lists.
template <class T>
T* Make(blocktest::Bench& bench, unsigned int classId, const wchar_t* caption) {
  if (!bench.library.catalogue.FindEntry(classId)) {
    EXPECT_TRUE(bench.library.Offer(classId, caption));
  }
  return bench.Create<T>(classId);
}

// ------------------------------------------------------------ GPIO

CKestListView* LineList(CBEPropertyForm* form) {
  std::vector<CKestListView*> lists = ControlsOf<CKestListView>(form);
  return lists.size() == 1 ? lists[0] : nullptr;
}

TEST_F(PeripheralDialogTest, GpioTicksTheOutputsAndRebuildsThePinsFromTheTicks) {
  AvrBench bench;
  auto* gpio = Make<CBEGPIO>(bench, kBeGPIOClassId, L"GPIO");
  ASSERT_NE(nullptr, gpio);
  ASSERT_TRUE(gpio->SetLineCount(4));
  gpio->directions[1] = 1;
  ASSERT_TRUE(gpio->BuildPins());
  EXPECT_TRUE(RunDialog(gpio, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, L"GPIO", 260, 260, {});
    EXPECT_EQ(std::vector<std::wstring>{L"Отметьте галочкой выходы:"}, Texts(ControlsOf<CKestLabel>(form)));
    CKestListView* lines = LineList(form);
    ASSERT_NE(nullptr, lines);
    LONG style = GetWindowLongW(lines->GetHandle(), GWL_STYLE);
    EXPECT_EQ(LVS_LIST, style & LVS_TYPEMASK);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_AUTOARRANGE);
    DWORD ex = static_cast<DWORD>(SendMessageW(lines->GetHandle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_TRUE(ex & LVS_EX_CHECKBOXES);
    EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(lines->GetHandle(), GetFocus());
    // The list fills what the label above and the button strip below leave.
    RECT list = RectOf(form, lines), ok = RectOf(form, form->GetOkButton());
    EXPECT_LT(list.bottom, ok.top + 1);
    EXPECT_GE(ok.top, list.bottom + (45 - 25) / 2 - 2) << "the buttons stand in a strip of 45";
    ASSERT_EQ(4, lines->GetItemCount());
    for (int q = 0; q < 4; ++q) {
      wchar_t text[16];
      EXPECT_EQ(L"GPIO " + std::to_wstring(q), std::wstring(lines->GetItemText(q, 0, text, 16)));
      EXPECT_EQ(q == 1, lines->IsItemChecked(q)) << q;
    }
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_gpio.bmp"));
    lines->SetItemChecked(0, true);
    lines->SetItemChecked(1, false);
    lines->SetItemChecked(3, true);
  }));
  EXPECT_TRUE(gpio->IsDriven(0));
  EXPECT_FALSE(gpio->IsDriven(1));
  EXPECT_FALSE(gpio->IsDriven(2));
  EXPECT_TRUE(gpio->IsDriven(3));
  ASSERT_EQ(2, gpio->inputCount);
  ASSERT_EQ(2, gpio->outputCount);
  EXPECT_STREQ(L"GPIO0", gpio->Input(0)->name);
  EXPECT_STREQ(L"GPIO3", gpio->Input(1)->name);
  EXPECT_STREQ(L"GPIO1", gpio->Output(0)->name);
  EXPECT_STREQ(L"GPIO2", gpio->Output(1)->name);
}

TEST_F(PeripheralDialogTest, GpioWithoutLinesOpensAnEmptyListAndCancelChangesNothing) {
  AvrBench bench;
  auto* gpio = Make<CBEGPIO>(bench, kBeGPIOClassId, L"GPIO");
  ASSERT_NE(nullptr, gpio);
  EXPECT_TRUE(RunDialog(gpio, [&](CBEPropertyForm* form) {
    ASSERT_NE(nullptr, LineList(form));
    EXPECT_EQ(0, LineList(form)->GetItemCount());
  }));
  EXPECT_EQ(0, gpio->inputCount);
  EXPECT_EQ(0, gpio->outputCount);

  ASSERT_TRUE(gpio->SetLineCount(3));
  std::vector<uint8_t> before = blocktest::RecordBytes(gpio);
  for (Close close : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
    EXPECT_FALSE(RunDialog(
        gpio,
        [&](CBEPropertyForm* form) {
          for (int q = 0; q < 3; ++q) LineList(form)->SetItemChecked(q, true);
        },
        close));
    EXPECT_EQ(before, blocktest::RecordBytes(gpio));
    EXPECT_EQ(0, gpio->inputCount);
    EXPECT_EQ(3, gpio->outputCount);
  }
}

// ------------------------------------------------------------ software PWM

TEST_F(PeripheralDialogTest, SoftwarePwmShowsThePeriodWithFourDecimalsAndRecomputesTheCosts) {
  AvrBench bench;
  auto* pwm = Make<CBESoftwarePWM>(bench, kBeSoftwarePWMClassId, L"Программный ШИМ");
  ASSERT_NE(nullptr, pwm);
  EXPECT_TRUE(RunDialog(pwm, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, L"Программный ШИМ", 260, 180,
                            {L"Период ШИМ [сек]:", L"Кол-во дискрет (ампл.входа):"});
    EXPECT_EQ(L"0.0050", Text(Edit(form, 0)));
    EXPECT_EQ(180, SizeOf(Edit(form, 0)).cx);
    EXPECT_EQ(21, SizeOf(Edit(form, 0)).cy);
    EXPECT_EQ(Edit(form, 0)->GetHandle(), GetFocus());
    CKestSpinEdit* steps = Spin(form, 1);
    ASSERT_NE(nullptr, steps);
    EXPECT_EQ(L"16", Text(steps));
    EXPECT_EQ(2, steps->GetMinimum());
    EXPECT_EQ(126, steps->GetMaximum());
    EXPECT_EQ(1, steps->GetStep());
    EXPECT_EQ(100, SizeOf(steps).cx);
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_software_pwm.bmp"));
    // 0.5 s in 8 steps: a step of 0.0625 s, far above 100 clocks at 1 MHz.
    TypeInto(Edit(form, 0), L"0,5");
    TypeInto(steps, L"8");
  }));
  EXPECT_EQ(0.5f, pwm->period);
  EXPECT_EQ(8, pwm->steps);
  // 84 ROM bytes; cycles 0.072 / 0.0625 = 1.152, truncated.
  EXPECT_EQ(84, pwm->rom);
  EXPECT_EQ(1, pwm->cycles);
}

struct PwmTyping {
  const wchar_t* period;
  const wchar_t* steps;
  float storedPeriod;  // before the costs raise it
  int storedSteps;
};

TEST_F(PeripheralDialogTest, SoftwarePwmHoldsTheStepsAndReadsANonNumberAsZero) {
  // A period of 0 is raised to steps x 100 clocks at 1 MHz.
  const PwmTyping cases[] = {
      {L"0,25", L"200", 0.25f, 126},
      {L"0,25", L"1", 0.25f, 2},
      {L"нет", L"10", 0.0f, 10},
  };
  for (const PwmTyping& c : cases) {
    SCOPED_TRACE(c.steps);
    AvrBench bench;
    auto* pwm = Make<CBESoftwarePWM>(bench, kBeSoftwarePWMClassId, L"Программный ШИМ");
    EXPECT_TRUE(RunDialog(pwm, [&](CBEPropertyForm* form) {
      TypeInto(Edit(form, 0), c.period);
      TypeInto(Spin(form, 1), c.steps);
    }));
    EXPECT_EQ(c.storedSteps, pwm->steps);
    float even = RoundToFloat(static_cast<double>(c.storedPeriod) / c.storedSteps);
    float fastest = RoundToFloat(100.0 / 1000000.0);
    float t = even > fastest ? even : fastest;
    EXPECT_EQ(RoundToFloat(static_cast<double>(c.storedSteps) * t), pwm->period);
  }
}

// ------------------------------------------------------------ interval meter

TEST_F(PeripheralDialogTest, IntervalMeterStoresItsThreeValuesAndItsCycles) {
  AvrBench bench;
  auto* meter = Make<CBEIntervalDetector>(bench, kBeIntervalDetectorClassId, L"Измеритель интервалов");
  ASSERT_NE(nullptr, meter);
  EXPECT_TRUE(RunDialog(meter, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, L"Измеритель интервалов", 400, 220, {});
    std::vector<CKestLabel*> labels = ControlsOf<CKestLabel>(form);
    ASSERT_EQ(3u, labels.size());
    EXPECT_EQ(L"Блок подсчитывает количество измерительных импульсов в течение заданного числа периода "
              L"входного сигнала (с учетом знака входного сигнала)",
              Text(labels[0]));
    EXPECT_EQ(360, SizeOf(labels[0]).cx);
    EXPECT_EQ(40, SizeOf(labels[0]).cy);
    EXPECT_EQ(0, labels[0]->GetAlignment());
    EXPECT_EQ(L"Период измерительных импульсов [мкс]:", Text(labels[1]));
    EXPECT_EQ(L"Число периодов вх.сигнала:", Text(labels[2]));
    std::vector<CKestSpinEdit*> spins = ControlsOf<CKestSpinEdit>(form);
    ASSERT_EQ(2u, spins.size());
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(270, SizeOf(labels[1 + i]).cx);
      EXPECT_EQ(-1, labels[1 + i]->GetAlignment());
      RECT label = RectOf(form, labels[1 + i]), spin = RectOf(form, spins[i]);
      EXPECT_LE(label.right, spin.left) << "the label beside its spin edit";
      EXPECT_EQ(label.top, spin.top);
    }
    EXPECT_EQ(L"200", Text(spins[0]));
    EXPECT_EQ(100, spins[0]->GetMinimum());
    EXPECT_EQ(10000000, spins[0]->GetMaximum());
    EXPECT_EQ(100, spins[0]->GetStep());
    EXPECT_EQ(L"1", Text(spins[1]));
    EXPECT_EQ(1, spins[1]->GetMinimum());
    EXPECT_EQ(5000, spins[1]->GetMaximum());
    EXPECT_EQ(1, spins[1]->GetStep());
    EXPECT_EQ(spins[0]->GetHandle(), GetFocus());
    std::vector<CKestCheckBox*> boxes = ControlsOf<CKestCheckBox>(form);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Фильтрация вх.сигнала", Text(boxes[0]));
    EXPECT_TRUE(boxes[0]->IsChecked());
    EXPECT_EQ(200, SizeOf(boxes[0]).cx);
    EXPECT_EQ(18, SizeOf(boxes[0]).cy);
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_interval_detector.bmp"));
    TypeInto(spins[0], L"500");
    TypeInto(spins[1], L"20");
    boxes[0]->Click();
  }));
  EXPECT_EQ(500, meter->interval);
  EXPECT_EQ(20, meter->periods);
  EXPECT_EQ(0, meter->filter);
  // (2000 / 500) x 45 without the filter.
  EXPECT_EQ(180, meter->cycles);
}

TEST_F(PeripheralDialogTest, IntervalMeterHoldsItsValuesInTheirRanges) {
  AvrBench bench;
  auto* meter = Make<CBEIntervalDetector>(bench, kBeIntervalDetectorClassId, L"Измеритель интервалов");
  EXPECT_TRUE(RunDialog(meter, [&](CBEPropertyForm* form) {
    std::vector<CKestSpinEdit*> spins = ControlsOf<CKestSpinEdit>(form);
    ASSERT_EQ(2u, spins.size());
    TypeInto(spins[0], L"20000000");
    TypeInto(spins[1], L"0");
  }));
  EXPECT_EQ(10000000, meter->interval);
  EXPECT_EQ(1, meter->periods);
  EXPECT_EQ(1, meter->filter);
  // 2000 / 10,000,000 is 0 whole measuring periods.
  EXPECT_EQ(0, meter->cycles);
}

TEST_F(PeripheralDialogTest, PwmAndIntervalMeterChangeNothingUnlessConfirmed) {
  AvrBench bench;
  auto* pwm = Make<CBESoftwarePWM>(bench, kBeSoftwarePWMClassId, L"Программный ШИМ");
  auto* meter = Make<CBEIntervalDetector>(bench, kBeIntervalDetectorClassId, L"Измеритель интервалов");
  ASSERT_TRUE(pwm && meter);
  for (CBEBlock* block : {static_cast<CBEBlock*>(pwm), static_cast<CBEBlock*>(meter)}) {
    std::vector<uint8_t> record = blocktest::RecordBytes(block);
    blocktest::Costs costs = CostsOf(block);
    for (Close close : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
      EXPECT_FALSE(RunDialog(
          block,
          [&](CBEPropertyForm* form) {
            for (CKestEdit* edit : ControlsOf<CKestEdit>(form)) TypeInto(edit, L"7");
            for (CKestSpinEdit* spin : ControlsOf<CKestSpinEdit>(form)) TypeInto(spin, L"300");
            for (CKestCheckBox* box : ControlsOf<CKestCheckBox>(form)) box->Click();
          },
          close));
      EXPECT_EQ(record, blocktest::RecordBytes(block));
      EXPECT_EQ(costs, CostsOf(block));
    }
  }
}

// ------------------------------------------------------------ ADC

const std::vector<std::wstring> kAdcRows = {L"Ист. опорного напряжения (REFS1:0):",
                                            L"Выравнивание результата (ADLAR):", L"Делитель (ADPS2:0):"};

TEST_F(PeripheralDialogTest, AdcShowsItsRegistersAndChannelsAndBindsTheChosenChannels) {
  AvrBench bench;
  auto* adc = bench.Create<CBEAvrADC>(kBeAvrADCClassId);
  ASSERT_NE(nullptr, adc);
  CBEIOPort* adc0 = bench.Pin(L"PF0/ADC0", 0);
  CBEIOPort* adc2 = bench.Pin(L"PF2/ADC2", 2);
  CBEIOPort* adc7 = bench.Pin(L"PF7/ADC7", 7);
  adc->reference = CBEAvrADC::kRefAvcc;
  adc->leftAdjust = 1;
  adc->prescaler = 5;
  adc->channelMask = 0x06;
  ASSERT_TRUE(adc->BuildPins());
  adc->BindPins();
  ASSERT_EQ(CBEIOPort::kModeAnalog, adc2->mode);
  EXPECT_TRUE(RunDialog(adc, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, L"АЦП", 360, 330, kAdcRows);
    const int widths[3] = {250, 300, 200};
    for (int row = 0; row < 3; ++row) EXPECT_EQ(widths[row], SizeOf(List(form, row)).cx) << row;
    EXPECT_EQ(std::vector<std::wstring>(kBeAdcReferenceItems, kBeAdcReferenceItems + 4), Items(List(form, 0)));
    EXPECT_EQ(L"Ножка AVCC с внеш.кондесатором к AREF (01)", Selected(List(form, 0)));
    EXPECT_EQ((std::vector<std::wstring>{L"правое: ------9876543210", L"левое:  9876543210------"}),
              Items(List(form, 1)));
    EXPECT_EQ(1, List(form, 1)->GetSelectedIndex());
    EXPECT_EQ((std::vector<std::wstring>{L"2 (000)", L"2 (001)", L"4 (010)", L"8 (011)", L"16 (100)", L"32 (101)",
                                         L"64 (110)", L"128 (111)"}),
              Items(List(form, 2)));
    EXPECT_EQ(L"32 (101)", Selected(List(form, 2)));
    std::vector<std::wstring> labels = Texts(ControlsOf<CKestLabel>(form));
    ASSERT_EQ(4u, labels.size());
    EXPECT_EQ(L"Каналы АЦП:", labels[3]);
    std::vector<CKestCheckBox*> boxes = ControlsOf<CKestCheckBox>(form);
    ASSERT_EQ(8u, boxes.size());
    for (int k = 0; k < 8; ++k) {
      SCOPED_TRACE(k);
      EXPECT_EQ(L"Канал " + std::to_wstring(k) + L" (ADC" + std::to_wstring(k) + L")", Text(boxes[k]));
      EXPECT_EQ(150, SizeOf(boxes[k]).cx);
      EXPECT_EQ(18, SizeOf(boxes[k]).cy);
      EXPECT_EQ(k == 1 || k == 2, boxes[k]->IsChecked());
      RECT box = RectOf(form, boxes[k]);
      if (k % 2 == 1) {
        RECT left = RectOf(form, boxes[k - 1]);
        EXPECT_EQ(left.top, box.top) << "two channels a row";
        EXPECT_LT(left.right, box.left + 1);
      } else if (k > 0) {
        EXPECT_GT(box.top, RectOf(form, boxes[k - 2]).bottom - 1) << "a new row";
      }
    }
    RECT label = RectOf(form, ControlsOf<CKestLabel>(form)[3]);
    EXPECT_LE(label.bottom, RectOf(form, boxes[0]).top + 1) << "the channels under their label";
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_avr_adc.bmp"));
    List(form, 0)->SetSelectedIndex(2);
    List(form, 1)->SetSelectedIndex(0);
    List(form, 2)->SetSelectedIndex(7);
    // Channels 0 and 7 only.
    boxes[0]->Click();
    boxes[1]->Click();
    boxes[2]->Click();
    boxes[7]->Click();
  }));
  EXPECT_EQ(+CBEAvrADC::kRefReserved, adc->reference) << "the reserved reference is taken as it is";
  EXPECT_EQ(0, adc->leftAdjust);
  EXPECT_EQ(7, adc->prescaler);
  EXPECT_EQ(129, adc->channelMask);
  ASSERT_EQ(2, adc->inputCount);
  ASSERT_EQ(2, adc->outputCount);
  EXPECT_STREQ(L"0", adc->Input(0)->name);
  EXPECT_STREQ(L"7", adc->Input(1)->name);
  EXPECT_EQ(CBEIOPort::kModeAnalog, adc0->mode);
  EXPECT_EQ(CBEIOPort::kModeAnalog, adc7->mode);
  EXPECT_EQ(adc0->Output(0), adc->Input(0)->source);
  EXPECT_EQ(adc7->Output(0), adc->Input(1)->source);
  EXPECT_NE(CBEIOPort::kModeAnalog, adc2->mode) << "the channel given up gives its pin back";
}

struct AdcCase {
  unsigned char mask;
  unsigned char reference;
};

TEST_F(PeripheralDialogTest, AdcChannelMasksAreRebuiltFromTheBoxes) {
  // Each case ticks exactly the boxes of its mask, from a converter with
  // every channel in use.
  const unsigned char masks[] = {0x00, 0x01, 0x80, 0x55, 0xAA, 0xFF};
  for (unsigned char mask : masks) {
    SCOPED_TRACE(static_cast<int>(mask));
    AvrBench bench;
    auto* adc = bench.Create<CBEAvrADC>(kBeAvrADCClassId);
    adc->channelMask = 0xFF;
    ASSERT_TRUE(adc->BuildPins());
    EXPECT_TRUE(RunDialog(adc, [&](CBEPropertyForm* form) {
      std::vector<CKestCheckBox*> boxes = ControlsOf<CKestCheckBox>(form);
      ASSERT_EQ(8u, boxes.size());
      for (int k = 0; k < 8; ++k)
        if (!((mask >> k) & 1)) boxes[k]->Click();
    }));
    EXPECT_EQ(mask, adc->channelMask);
    int channels = 0;
    for (int k = 0; k < 8; ++k) channels += (mask >> k) & 1;
    EXPECT_EQ(channels, adc->inputCount);
    EXPECT_EQ(channels, adc->outputCount);
  }
}

TEST_F(PeripheralDialogTest, AdcCancelledAfterEveryChangeLeavesBlockPinsAndBindings) {
  AvrBench bench;
  auto* adc = bench.Create<CBEAvrADC>(kBeAvrADCClassId);
  CBEIOPort* adc3 = bench.Pin(L"PF3/ADC3", 3);
  adc->channelMask = 0x08;
  ASSERT_TRUE(adc->BuildPins());
  adc->BindPins();
  std::vector<uint8_t> before = blocktest::RecordBytes(adc);
  for (Close close : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
    EXPECT_FALSE(RunDialog(
        adc,
        [&](CBEPropertyForm* form) {
          for (int row = 0; row < 3; ++row) List(form, row)->SetSelectedIndex(1);
          for (CKestCheckBox* box : ControlsOf<CKestCheckBox>(form)) box->Click();
        },
        close));
    EXPECT_EQ(before, blocktest::RecordBytes(adc));
    ASSERT_EQ(1, adc->inputCount);
    EXPECT_EQ(adc3->Output(0), adc->Input(0)->source);
    EXPECT_EQ(CBEIOPort::kModeAnalog, adc3->mode);
  }
}

// ------------------------------------------------------------ timer/counter

const std::vector<std::wstring> kDividers = {L"Выкл.", L"1:1",  L"1:8",   L"1:32",
                                             L"1:64",  L"1:128", L"1:256", L"1:1024"};

struct TimerCase {
  int number;
  unsigned char wide;
  unsigned char channels;
  std::vector<std::wstring> outputLabels;
};

TEST_F(PeripheralDialogTest, TimerShowsItsRegistersAndOneCellPerCompareChannel) {
  const TimerCase cases[] = {
      {1, 1, 3, {L"Вых.OC1A:", L"Вых.OC1B:", L"Вых.OC1C:"}},
      {2, 0, 1, {L"Вых.OC2:"}},
      {0, 0, 2, {L"Вых.OC0A:", L"Вых.OC0B:"}},
      {3, 1, 0, {}},
  };
  for (const TimerCase& c : cases) {
    SCOPED_TRACE(c.number);
    AvrBench bench;
    auto* timer = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
    ASSERT_NE(nullptr, timer);
    timer->number = c.number;
    timer->wide = c.wide;
    timer->channelCount = c.channels;
    timer->top = 1000;
    timer->prescaler = 3;
    for (int m = 0; m < c.channels; ++m) timer->compareModes[m] = static_cast<unsigned char>(m % 3);
    ASSERT_TRUE(timer->BuildPins(false));
    std::wstring caption = timer->GetCaption();
    EXPECT_TRUE(RunDialog(timer, [&](CBEPropertyForm* form) {
      std::vector<std::wstring> rows = {L"Делитель частоты (рег. CSx):"};
      if (c.wide) rows.push_back(L"Диапазон вход.знач. (рег. ICRx):");
      dialogtest::ExpectFrame(form, caption.c_str(), 360, 220, rows);
      EXPECT_EQ(kDividers, Items(List(form, 0)));
      EXPECT_EQ(L"1:32", Selected(List(form, 0)));
      EXPECT_EQ(100, SizeOf(List(form, 0)).cx);
      std::vector<std::wstring> labels = Texts(ControlsOf<CKestLabel>(form));
      size_t first = 1;
      if (c.wide) {
        CKestSpinEdit* top = Spin(form, 1);
        ASSERT_NE(nullptr, top);
        EXPECT_EQ(L"1000", Text(top));
        EXPECT_EQ(0, top->GetMinimum());
        EXPECT_EQ(65535, top->GetMaximum());
        EXPECT_EQ(80, SizeOf(top).cx);
        ++first;
      } else {
        ASSERT_LE(2u, labels.size());
        EXPECT_EQ(L"Диапазон вход.знач.: 255", labels[1]);
        EXPECT_TRUE(ControlsOf<CKestSpinEdit>(form).empty());
        ++first;
      }
      EXPECT_EQ(c.outputLabels, std::vector<std::wstring>(labels.begin() + first, labels.end()));
      std::vector<CKestComboBox*> lists = ControlsOf<CKestComboBox>(form);
      ASSERT_EQ(1u + c.channels, lists.size());
      for (int m = 0; m < c.channels; ++m) {
        CKestComboBox* list = lists[1 + m];
        EXPECT_EQ((std::vector<std::wstring>{L"Откл.", L"Прям.ШИМ", L"Инв.ШИМ"}), Items(list));
        EXPECT_EQ(m % 3, list->GetSelectedIndex());
        EXPECT_EQ(100, SizeOf(list).cx);
        if (m > 0) {
          EXPECT_EQ(RectOf(form, lists[1]).top, RectOf(form, list).top) << "side by side";
        }
      }
      if (c.channels == 3) {
        EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_avr_timer.bmp"));
      }
      Choose(List(form, 0), 7);
      if (c.wide) TypeInto(Spin(form, 1), L"70000");
      for (int m = 0; m < c.channels; ++m) lists[1 + m]->SetSelectedIndex(m == 0 ? 2 : 0);
    }));
    EXPECT_EQ(7, timer->prescaler);
    EXPECT_EQ(c.wide ? 65535 : 255, timer->top);
    if (c.channels > 0) {
      EXPECT_EQ(+CBEAvrTimer::kInvertedPwm, timer->compareModes[0]);
    }
    for (int m = 1; m < c.channels; ++m) EXPECT_EQ(+CBEAvrTimer::kCompareOff, timer->compareModes[m]);
    EXPECT_EQ(L"Timer/Counter" + std::to_wstring(c.number), std::wstring(timer->GetCaption()));
    EXPECT_EQ(c.channels, timer->inputCount) << "a control input per channel";
    EXPECT_EQ(c.channels > 0 ? 1 : 0, timer->outputCount) << "an output per channel not off";
  }
}

TEST_F(PeripheralDialogTest, TimerBindsTheOutputsOnOkAndCancelLeavesEverything) {
  AvrBench bench;
  auto* timer = bench.Create<CBEAvrTimer>(kBeAvrTimerClassId);
  CBEIOPort* ocA = bench.Pin(L"PB5/OC1A", 5);
  CBEIOPort* ocB = bench.Pin(L"PB6/OC1B", 6);
  timer->number = 1;
  timer->channelCount = 2;
  timer->compareModes[0] = CBEAvrTimer::kDirectPwm;
  ASSERT_TRUE(timer->BuildPins(true));
  ASSERT_EQ(CBEIOPort::kModeAltOutput, ocA->mode);
  std::vector<uint8_t> before = blocktest::RecordBytes(timer);
  for (Close close : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
    EXPECT_FALSE(RunDialog(
        timer,
        [&](CBEPropertyForm* form) {
          Choose(List(form, 0), 5);
          TypeInto(Spin(form, 1), L"999");
          for (CKestComboBox* list : ControlsOf<CKestComboBox>(form)) list->SetSelectedIndex(2);
        },
        close));
    EXPECT_EQ(before, blocktest::RecordBytes(timer));
    EXPECT_EQ(CBEIOPort::kModeAltOutput, ocA->mode);
    EXPECT_EQ(CBEIOPort::kModeInput, ocB->mode);
    ASSERT_EQ(1, timer->outputCount);
    EXPECT_EQ(timer->Output(0), ocA->Input(0)->source);
  }
  EXPECT_TRUE(RunDialog(timer, [&](CBEPropertyForm* form) {
    std::vector<CKestComboBox*> lists = ControlsOf<CKestComboBox>(form);
    ASSERT_EQ(3u, lists.size());
    lists[1]->SetSelectedIndex(0);
    lists[2]->SetSelectedIndex(1);
  }));
  ASSERT_EQ(1, timer->outputCount);
  EXPECT_EQ(CBEIOPort::kModeAltOutput, ocB->mode);
  ASSERT_EQ(1, ocB->inputCount);
  EXPECT_EQ(timer->Output(0), ocB->Input(0)->source);
  EXPECT_NE(CBEIOPort::kModeAltOutput, ocA->mode) << "the channel switched off gives its pin back";
}

// ------------------------------------------------------------ pin block

TEST_F(PeripheralDialogTest, PinBlockShowsItsModeAndStoresTheChoice) {
  struct Case {
    int mode;
    int shown;
    int choose;
    int stored;
  } cases[] = {
      {CBEIOPort::kModeSwitchable, 3, 2, CBEIOPort::kModeOutput},
      {CBEIOPort::kModeInput, 0, 3, CBEIOPort::kModeSwitchable},
      {CBEIOPort::kModePullUp, 1, 0, CBEIOPort::kModeInput},
      {CBEIOPort::kModeOutput, 2, 1, CBEIOPort::kModePullUp},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    AvrBench bench;
    CBEIOPort* pin = bench.Pin(L"PB0", 8, c.mode);
    ASSERT_NE(nullptr, pin);
    EXPECT_TRUE(RunDialog(pin, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, L"Свойства PB0", 300, 120, {L"Режим порта:"});
      EXPECT_EQ(std::vector<std::wstring>(kBePortModeItems, kBePortModeItems + 4), Items(List(form, 0)));
      EXPECT_EQ(c.shown, List(form, 0)->GetSelectedIndex());
      EXPECT_EQ(280, SizeOf(List(form, 0)).cx);
      if (c.mode == CBEIOPort::kModeSwitchable) {
        EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_port_pin.bmp"));
      }
      Choose(List(form, 0), c.choose);
    }));
    EXPECT_EQ(c.stored, pin->mode);
    EXPECT_EQ(CBEIOPort::InputCountOf(c.stored), pin->inputCount);
    EXPECT_EQ(CBEIOPort::OutputCountOf(c.stored), pin->outputCount);
  }
}

TEST_F(PeripheralDialogTest, PinBlockInAnAlternateModeIsRefusedWithoutAForm) {
  for (int mode = CBEIOPort::kModeAltInput; mode <= CBEIOPort::kModeBus; ++mode) {
    SCOPED_TRACE(mode);
    AvrBench bench;
    CBEIOPort* pin = bench.Pin(L"PF6/ADC6", 6, mode);
    int forms = LiveForms.count;
    EXPECT_FALSE(pin->ShowProperties());
    EXPECT_EQ(forms, LiveForms.count) << "no form opened";
    EXPECT_EQ(mode, pin->mode);
    ASSERT_EQ(1u, bench.host.texts.size());
    EXPECT_EQ(L"Порт переведен в режим альтернативной функции и настройке не подлежит", bench.host.texts[0]);
    EXPECT_EQ(L"PF6/ADC6", bench.host.captions[0]);
    EXPECT_EQ(static_cast<UINT>(MB_OK), bench.host.styles[0] & MB_TYPEMASK);
    // Reached directly, the dialog refuses too.
    EXPECT_FALSE(ShowIOPortDialog(pin));
    EXPECT_EQ(forms, LiveForms.count);
  }
}

TEST_F(PeripheralDialogTest, PinBlockCancelLeavesTheModeAndALongCaptionIsCutInTheTitle) {
  AvrBench bench;
  std::wstring caption(80, L'x');
  CBEIOPort* pin = bench.Pin(caption.c_str(), 1, CBEIOPort::kModeSwitchable);
  EXPECT_FALSE(RunDialog(
      pin,
      [&](CBEPropertyForm* form) {
        std::wstring title = velktest::WindowText(form->GetHandle());
        EXPECT_EQ(63u, title.size());
        EXPECT_EQ(L"Свойства xxx", title.substr(0, 12));
        EXPECT_EQ(L"...", title.substr(60));
        Choose(List(form, 0), 0);
      },
      Close::kCancel));
  EXPECT_EQ(CBEIOPort::kModeSwitchable, pin->mode);
  EXPECT_EQ(2, pin->inputCount);
}

// Every dialog here takes only blocks of its own class.
TEST_F(PeripheralDialogTest, EachDialogRefusesABlockOfAnotherClass) {
  AvrBench bench;
  CBEBlock* other = bench.Create<CBEBlock>(kBeAddClassId);
  int forms = LiveForms.count;
  for (auto dialog : {ShowGpioDialog, ShowSoftwarePwmDialog, ShowIntervalDetectorDialog, ShowAvrAdcDialog,
                      ShowAvrTimerDialog, ShowIOPortDialog}) {
    EXPECT_FALSE(dialog(other));
    EXPECT_FALSE(dialog(nullptr));
  }
  EXPECT_EQ(forms, LiveForms.count);
}

}  // namespace
