// The multiplexer, demultiplexer, coder and pulse-counter dialogs: the
// signal-kind list and its item data, the block sized by its channels, the
// pins retyped and described, links dropped with the pins that went.
#include <string>
#include <vector>

#include "blocks/dialogs/digital/digital_dialogs.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/digital/coder.h"
#include "blocks/library/digital/demux.h"
#include "blocks/library/digital/mux.h"
#include "blocks/library/digital/puls_counter.h"
#include "blocks/dialogs/dialog_driver.h"

namespace {

using blocktest::Bench;
using blocktest::CostsOf;
using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::List;
using dialogtest::RunDialog;
using dialogtest::Selected;
using dialogtest::Spin;
using dialogtest::Text;
using dialogtest::TypeInto;

class DigitalDialogTest : public DialogTest {};

const std::vector<std::wstring> kKindNames = {
    L"bit", L"char", L"short", L"int", L"float", L"double", L"Видео", L"Аудио", L"Управл.камерами",
    L"Навигац. информация", L"Управл.нав.приемником", L"Инерциальные данные", L"Управл.инерциал.сист.",
    L"Сектор сканирования", L"Локальная карта", L"Ответ дальномера", L"Управл.дальномером", L"Глоб.карта"};
const std::vector<int> kKindCodes = {1, 2, 3, 4, 5, 6, 22, 23, 24, 27, 28, 25, 26, 30, 31, 33, 32, 36};

int Height(const CBEBlock* block) { return block->rect.bottom - block->rect.top; }

void ExpectKindList(CKestComboBox* list) {
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(kKindNames, dialogtest::Items(list));
  ASSERT_EQ(static_cast<int>(kKindCodes.size()), list->GetCount());
  for (int i = 0; i < list->GetCount(); ++i) EXPECT_EQ(kKindCodes[i], static_cast<int>(list->GetItemData(i))) << i;
  RECT rect;
  GetWindowRect(list->GetHandle(), &rect);
  EXPECT_EQ(120, rect.right - rect.left);
}

TEST_F(DigitalDialogTest, MultiplexerTakesItsDataInputsHeightKindAndDescriptions) {
  Bench bench;
  auto* mux = bench.Create<CBEMUX>(kBeMUXClassId);
  ASSERT_NE(nullptr, mux);
  auto* selector = bench.Source(kBeSignalChar);
  bench.Link(selector, mux, 0);
  auto* data = bench.Source(kBeSignalChar);
  bench.Link(data, mux, 1);
  BeSignalType selectorType = mux->Input(0)->type;
  int top = mux->rect.top;
  EXPECT_TRUE(RunDialog(mux, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, mux->GetCaption(), 250, 190, {L"Кол-во входов:", L"Тип данных:"});
    EXPECT_EQ(L"2", Text(Spin(form, 0)));
    EXPECT_EQ(2, Spin(form, 0)->GetMinimum());
    EXPECT_EQ(127, Spin(form, 0)->GetMaximum());
    ExpectKindList(List(form, 1));
    EXPECT_EQ(L"char", Selected(List(form, 1)));
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_mux_kinds.bmp"));
    TypeInto(Spin(form, 0), L"4");
  }));
  EXPECT_EQ(5, mux->inputCount);
  EXPECT_EQ(150, Height(mux));
  EXPECT_EQ(top, mux->rect.top);
  for (int i = 1; i < 5; ++i) {
    EXPECT_STREQ(L"Вход", mux->Input(i)->description) << i;
    EXPECT_EQ(kBeSignalChar, mux->Input(i)->type) << i;
  }
  EXPECT_EQ(data->Output(0), mux->Input(1)->source) << "same kind: kept";
  // The pins are spread over the new height.
  EXPECT_LT(mux->Input(3)->yOffset, mux->Input(4)->yOffset);

  // "Видео": the output and every data input, never the selector.
  auto* video = bench.Source(kBeSignalVideo);
  EXPECT_TRUE(RunDialog(mux, [&](CBEPropertyForm* form) {
    EXPECT_EQ(L"4", Text(Spin(form, 0)));
    List(form, 1)->SetSelectedIndex(6);
  }));
  EXPECT_EQ(kBeSignalVideo, mux->Output(0)->type);
  for (int i = 1; i < 5; ++i) EXPECT_EQ(kBeSignalVideo, mux->Input(i)->type) << i;
  EXPECT_EQ(selectorType, mux->Input(0)->type);
  EXPECT_EQ(selector->Output(0), mux->Input(0)->source) << "the selector keeps its link";
  EXPECT_EQ(nullptr, mux->Input(1)->source) << "retyped: unlinked";

  // Back to two data inputs: the links of the removed inputs are gone.
  bench.Link(video, mux, 4);
  bench.Link(video, mux, 2);
  EXPECT_TRUE(RunDialog(mux, [&](CBEPropertyForm* form) {
    EXPECT_EQ(L"Видео", Selected(List(form, 1))) << "reopened by item data";
    TypeInto(Spin(form, 0), L"2");
  }));
  EXPECT_EQ(3, mux->inputCount);
  EXPECT_EQ(90, Height(mux));
  EXPECT_EQ(video->Output(0), mux->Input(2)->source) << "a kept input of the same kind keeps its link";
}

TEST_F(DigitalDialogTest, SignalKindsReopenByItemDataNotPosition) {
  // Codes 33 and 32 stand in the list out of code order.
  for (int index : {15, 16, 11, 12, 0}) {
    SCOPED_TRACE(index);
    Bench bench;
    auto* mux = bench.Create<CBEMUX>(kBeMUXClassId);
    EXPECT_TRUE(RunDialog(mux, [&](CBEPropertyForm* form) { List(form, 1)->SetSelectedIndex(index); }));
    EXPECT_EQ(kKindCodes[index], mux->Output(0)->type);
    EXPECT_TRUE(RunDialog(mux, [&](CBEPropertyForm* form) {
      EXPECT_EQ(index, List(form, 1)->GetSelectedIndex());
    }));
  }
}

TEST_F(DigitalDialogTest, DemultiplexerTakesItsOutputsAndDropsTheLinksOfRemovedOnes) {
  Bench bench;
  auto* demux = bench.Create<CBEDEMUX>(kBeDEMUXClassId);
  ASSERT_NE(nullptr, demux);
  auto* data = bench.Source(kBeSignalChar);
  bench.Link(data, demux, 1);
  EXPECT_TRUE(RunDialog(demux, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, demux->GetCaption(), 250, 190, {L"Кол-во выходов:", L"Тип данных:"});
    EXPECT_EQ(L"2", Text(Spin(form, 0)));
    ExpectKindList(List(form, 1));
    EXPECT_EQ(L"char", Selected(List(form, 1)));
    TypeInto(Spin(form, 0), L"3");
    List(form, 1)->SetSelectedIndex(3);
  }));
  EXPECT_EQ(3, demux->outputCount);
  EXPECT_EQ(2, demux->inputCount);
  EXPECT_EQ(90, Height(demux));
  EXPECT_EQ(kBeSignalInt, demux->Input(1)->type);
  EXPECT_EQ(nullptr, demux->Input(1)->source) << "retyped: unlinked";
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(kBeSignalInt, demux->Output(i)->type) << i;
    EXPECT_STREQ(L"Выход", demux->Output(i)->description) << i;
  }
  // Readers of the third and first outputs; two outputs keep only the first.
  auto* last = bench.Source(kBeSignalBit);
  last->SetInputCount(1);
  last->Input(0)->type = kBeSignalInt;
  bench.Link(demux, 2, last, 0);
  auto* first = bench.Source(kBeSignalBit);
  first->SetInputCount(1);
  first->Input(0)->type = kBeSignalInt;
  bench.Link(demux, 0, first, 0);
  EXPECT_TRUE(RunDialog(demux, [&](CBEPropertyForm* form) {
    EXPECT_EQ(L"int", Selected(List(form, 1))) << "the data input's kind";
    TypeInto(Spin(form, 0), L"2");
  }));
  EXPECT_EQ(2, demux->outputCount);
  EXPECT_EQ(60, Height(demux));
  EXPECT_EQ(nullptr, last->Input(0)->source);
  EXPECT_EQ(demux->Output(0), first->Input(0)->source);
}

TEST_F(DigitalDialogTest, CoderRebuildsItsInputsFromTheCountBesideItsLabel) {
  Bench bench;
  auto* coder = bench.Create<CBECoder>(kBeCoderClassId);
  ASSERT_NE(nullptr, coder);
  EXPECT_TRUE(RunDialog(coder, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, coder->GetCaption(), 250, 110, {L"Кол-во входов:"});
    RECT label = velktest::RectIn(form->GetHandle(), form->GetRowLabel(0)->GetHandle());
    RECT spin = velktest::RectIn(form->GetHandle(), Spin(form, 0)->GetHandle());
    EXPECT_LE(label.right, spin.left) << "side by side";
    EXPECT_EQ(L"2", Text(Spin(form, 0)));
    EXPECT_EQ(2, Spin(form, 0)->GetMinimum());
    EXPECT_EQ(127, Spin(form, 0)->GetMaximum());
    EXPECT_EQ(Spin(form, 0)->GetHandle(), GetFocus());
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_coder.bmp"));
    TypeInto(Spin(form, 0), L"5");
  }));
  ASSERT_EQ(5, coder->inputCount);
  EXPECT_EQ(100, Height(coder));
  EXPECT_STREQ(L"5", coder->Input(4)->name);
  EXPECT_STREQ(L"Вход 5", coder->Input(4)->description);
  EXPECT_EQ(1, coder->outputCount);
  EXPECT_EQ(15, coder->cycles);
  EXPECT_EQ(20, coder->rom);
}

TEST_F(DigitalDialogTest, PulseCounterRetypesItsOutputAndAlwaysRecomputesItsCosts) {
  Bench bench;
  auto* counter = bench.Create<CBEPulsCounter>(kBePulsCounterClassId);
  ASSERT_NE(nullptr, counter);
  auto* reader = bench.Source(kBeSignalBit);
  reader->SetInputCount(1);
  reader->Input(0)->type = kBeSignalShort;
  bench.Link(counter, reader, 0);
  auto* a = bench.Source(kBeSignalBit);
  bench.Link(a, counter, 0);
  counter->cycles = 5;
  EXPECT_TRUE(RunDialog(counter, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, counter->GetCaption(), 260, 115, {L"Тип данных:"});
    EXPECT_EQ((std::vector<std::wstring>{L"char", L"short", L"int"}), dialogtest::Items(List(form, 0)));
    EXPECT_EQ(L"short", Selected(List(form, 0)));
    EXPECT_EQ(List(form, 0)->GetHandle(), GetFocus());
  }));
  EXPECT_EQ(600, counter->cycles) << "recomputed for the same type";
  EXPECT_EQ(counter->Output(0), reader->Input(0)->source) << "same type: kept";
  EXPECT_TRUE(RunDialog(counter, [&](CBEPropertyForm* form) { List(form, 0)->SetSelectedIndex(2); }));
  EXPECT_EQ(kBeSignalInt, counter->Output(0)->type);
  EXPECT_EQ(nullptr, reader->Input(0)->source);
  EXPECT_EQ(a->Output(0), counter->Input(0)->source) << "the inputs are never retyped";
  EXPECT_EQ(kBeSignalBit, counter->Input(0)->type);
}

TEST_F(DigitalDialogTest, CancelLeavesTheSwitchesAsTheyWere) {
  Bench bench;
  auto* mux = bench.Create<CBEMUX>(kBeMUXClassId);
  auto* demux = bench.Create<CBEDEMUX>(kBeDEMUXClassId);
  for (CBEBlock* block : {static_cast<CBEBlock*>(mux), static_cast<CBEBlock*>(demux)}) {
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    RECT rect = block->rect;
    EXPECT_FALSE(RunDialog(
        block,
        [&](CBEPropertyForm* form) {
          TypeInto(Spin(form, 0), L"9");
          List(form, 1)->SetSelectedIndex(6);
        },
        Close::kCancel));
    EXPECT_EQ(before, blocktest::RecordBytes(block));
    EXPECT_TRUE(EqualRect(&rect, &block->rect));
  }
}

}  // namespace
