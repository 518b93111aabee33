// Every dialog of the simple blocks, reached as the block editor reaches it
// (the block's ShowProperties): it opens with the block's caption, its size
// and rows, centred, and "Отмена", Esc and the close box change nothing,
// also after the controls were edited.
#include <string>
#include <vector>

#include "blocks/dialogs/dialog_driver.h"

namespace {

using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::RunDialog;

class EveryDialogTest : public DialogTest {};

struct DialogRow {
  unsigned int classId;
  const wchar_t* name;  // of the screenshot
  int width, height;
  std::vector<std::wstring> labels;
  int buttonWidth = 80;
};

const std::vector<std::wstring> kTypeOnly = {L"Тип данных:"};

const DialogRow kRows[] = {
    {kBeArctan2ClassId, L"arctan2", 260, 120, kTypeOnly},
    {kBeAbsClassId, L"abs", 260, 120, kTypeOnly},
    {kBeSinClassId, L"sin", 260, 120, kTypeOnly},
    {kBeCosClassId, L"cos", 260, 120, kTypeOnly},
    {kBeTanClassId, L"tan", 260, 120, kTypeOnly},
    {kBeCotanClassId, L"cotan", 260, 120, kTypeOnly},
    {kBeArcsinClassId, L"arcsin", 260, 120, kTypeOnly},
    {kBeArccosClassId, L"arccos", 260, 120, kTypeOnly},
    {kBeArctanClassId, L"arctan", 260, 120, kTypeOnly},
    {kBeDegToRadClassId, L"deg_to_rad", 260, 120, kTypeOnly},
    {kBeRadToDegClassId, L"rad_to_deg", 260, 120, kTypeOnly},
    {kBePItoPIClassId, L"pi_to_pi", 260, 120, kTypeOnly},
    {kBeDiv2ClassId, L"div2", 260, 120, kTypeOnly},
    {kBeMul2ClassId, L"mul2", 260, 120, kTypeOnly},
    {kBeNotClassId, L"not", 260, 120, kTypeOnly},
    {kBeSub2ClassId, L"sub2", 260, 120, kTypeOnly},
    {kBeNegClassId, L"neg", 260, 120, kTypeOnly},
    {kBeCounterClassId, L"counter", 260, 120, kTypeOnly},
    {kBeRegisterClassId, L"register", 260, 120, kTypeOnly},
    {kBeDFlipFlopClassId, L"d_flip_flop", 260, 120, kTypeOnly},
    {kBeShrClassId, L"shr", 200, 210, {L"Число бит:", L"Тип сдвига:", L"Тип входных данных:"}},
    {kBeShlClassId, L"shl", 200, 210, {L"Число бит:", L"Тип сдвига:", L"Тип входных данных:"}},
    {kBeGetBitClassId, L"get_bit", 200, 170, {L"Номер бита (с нуля):", L"Тип входных данных:"}},
    {kBeCmp2ClassId, L"cmp2", 200, 170, {L"Операция:", L"Тип входных данных:"}},
    {kBeCmpClassId, L"cmp", 200, 210, {L"Операнд B:", L"Операция:", L"Тип входных данных:"}},
    {kBeOr2ClassId, L"or2", 200, 170, {L"Кол-во входов:", L"Тип входных данных:"}},
    {kBeAnd2ClassId, L"and2", 200, 170, {L"Кол-во входов:", L"Тип входных данных:"}},
    {kBeOrClassId, L"or", 200, 170, {L"Маска:", L"Тип входных данных:"}},
    {kBeAndClassId, L"and", 200, 170, {L"Маска:", L"Тип входных данных:"}},
    {kBeLimiterClassId, L"limiter", 200, 210, {L"Ограничение сверху:", L"Ограничение снизу:", L"Тип данных:"}},
    {kBeSubClassId, L"sub", 200, 170, {L"Вычитаемое:", L"Тип входных данных:"}},
    {kBeAddClassId, L"add", 200, 170, {L"Второе слогаемое:", L"Тип входных данных:"}},
    {kBeSummatorClassId, L"summator", 200, 170, {L"Кол-во входов:", L"Тип данных:"}},
    {kBeNormClassId, L"norm", 200, 170, {L"Размерность вектора:", L"Тип данных:"}},
    {kBeLengthClassId, L"length", 200, 170, {L"Размерность вектора:", L"Тип данных:"}},
    {kBeSpeedClassId, L"speed", 300, 260, {L"Период измерения [мс]:", L"Тип данных:"}},
    {kBeTypeConvertorClassId, L"type_convertor", 200, 170, {L"Тип входных данных:", L"Тип выходных данных:"}},
    {kBeConstantClassId, L"constant", 250, 290, {L"Значение:", L"Тип сигнала"}},
    {kBeMUXClassId, L"mux", 250, 190, {L"Кол-во входов:", L"Тип данных:"}},
    {kBeDEMUXClassId, L"demux", 250, 190, {L"Кол-во выходов:", L"Тип данных:"}},
    {kBeCoderClassId, L"coder", 250, 110, {L"Кол-во входов:"}},
    {kBePulsCounterClassId, L"puls_counter", 260, 115, kTypeOnly},
    {kBeProportionalClassId, L"proportional", 250, 330,
     {L"Коэффициент:", L"Тип входных данных:", L"Тип выходных данных:", L"Способ реализации",
      L"Амплитуда вх.данных:"}},
    {kBeConstDividerClassId, L"const_divider", 300, 380,
     {L"Коэффициент:", L"Тип входных данных:", L"Тип выходных данных:", L"Способ реализации"}},
    {kBeDiffClassId, L"diff", 260, 265,
     {L"Коэффициент усиления:", L"Амплитуда на входе:", L"Тип данных:", L"Способ реализации:"}},
    {kBeIntegralClassId, L"integral", 260, 300,
     {L"Коэффициент усиления:", L"Нач.значение на выходе:", L"Ограничение на выходе:", L"Тип данных:",
      L"Способ реализации:"}},
    {kBeIntegralWithReloadClassId, L"integral_with_reload", 260, 200,
     {L"Коэффициент усиления:", L"Нач.значение на выходе:", L"Тип данных:"}},
    {kBeInertialClassId, L"inertial", 260, 200,
     {L"Постоянная времени [сек]:", L"Коэффициент усиления:", L"Тип данных:"}},
    {kBeVibroClassId, L"vibro", 260, 250,
     {L"Постоянная времени T [сек]:", L"Коэф.демпфирования ξ:", L"Коэффициент усиления K:", L"Тип данных:"}},
    {kBeEventClassId, L"event", 260, 120, {L"Тип событий:"}},
    {kBeSingleImpulsClassId, L"single_impuls", 300, 170, {L"Период [мс] (-1 - без повтора):", L"Нач.фаза [мс]:"},
     70},
    {kBeMeanderClassId, L"meander", 200, 170, {L"Период [мс]:", L"Нач.фаза [мс]:"}, 70},
};

// Changes every row: another item, another number, another text.
void EditEveryRow(CBEPropertyForm* form) {
  for (int row = 0; row < form->GetRowCount(); ++row) {
    CKestControl* control = form->GetRowControl(row);
    if (auto* list = dynamic_cast<CKestComboBox*>(control))
      list->SetSelectedIndex(list->GetSelectedIndex() == 0 ? 1 : 0);
    else if (auto* radios = dynamic_cast<CKestRadioGroupBox*>(control))
      radios->SetItemIndex(radios->GetItemIndex() == 0 ? 1 : 0);
    else if (control)
      dialogtest::TypeInto(control, L"3");
  }
}

TEST_F(EveryDialogTest, OpensWithItsFrameAndEveryWayOutButOkChangesNothing) {
  // Each dialog is closed one way after editing its rows; the ways take
  // turns over the classes, so every family meets all three (the type
  // picker's own test meets all three on one form).
  const Close closes[] = {Close::kCancel, Close::kEscape, Close::kCloseBox};
  int turn = 0;
  for (const DialogRow& row : kRows) {
    SCOPED_TRACE(row.name);
    blocktest::Bench bench;
    CBEBlock* block = bench.Create<CBEBlock>(row.classId);
    ASSERT_NE(nullptr, block);
    // A linked input and a read output, which must stay.
    blocktest::Source* source = nullptr;
    if (block->inputCount > 0) {
      source = bench.Source(block->Input(0)->type);
      bench.Link(source, block, 0);
    }
    blocktest::Source* reader = bench.Source(kBeSignalBit);
    reader->SetInputCount(1);
    reader->Input(0)->type = block->Output(0)->type;
    bench.Link(block, reader, 0);
    block->SetCaption(L"Мой блок");
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    blocktest::Costs costs = blocktest::CostsOf(block);
    {
      Close close = closes[turn++ % 3];
      EXPECT_FALSE(RunDialog(
          block,
          [&](CBEPropertyForm* form) {
            dialogtest::ExpectFrame(form, L"Мой блок", row.width, row.height, row.labels, row.buttonWidth);
            EXPECT_TRUE(
                velktest::SaveScreenshot(form->GetHandle(), std::wstring(L"dialogs_") + row.name + L".bmp"));
            EditEveryRow(form);
          },
          close));
      EXPECT_EQ(before, blocktest::RecordBytes(block));
      EXPECT_EQ(costs, blocktest::CostsOf(block));
      if (source) {
        EXPECT_EQ(source->Output(0), block->Input(0)->source);
      }
      EXPECT_EQ(block->Output(0), reader->Input(0)->source);
    }
    // "OK" with nothing edited answers as the class does: the type picker
    // false (the same type), every other dialog true; the links stay.
    // (The pulse counter's form, 115 high, is no type picker.)
    bool picker = row.labels == kTypeOnly && row.height == 120;
    EXPECT_EQ(!picker, RunDialog(block, nullptr, Close::kOk));
    if (source) {
      EXPECT_EQ(source->Output(0), block->Input(0)->source);
    }
    EXPECT_EQ(block->Output(0), reader->Input(0)->source);
  }
}

}  // namespace
