#include "blocks/dialogs/control/const_divider_dlg.h"

#include "blocks/dialogs/control/realisation_rows.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/math/const_divider.h"
#include "blocks/library/typed_block.h"

namespace {
const int kWidth = 300, kHeight = 380;
const int kDividendWidth = 200;
const int kRangeMin = 1, kRangeMax = 2047;
const int kRangeEditWidth = 90;
const int kCharMin = -128, kCharMax = 127;

int HoldWithinChar(int value) { return value < kCharMin ? kCharMin : value > kCharMax ? kCharMax : value; }
}  // namespace

bool CConstDividerDlg::Build(CBEConstDivider* block) {
  if (!block || !Open(block->GetCaption(), kWidth, kHeight)) return false;
  BeSignalType input = block->GetInputType();
  bool table = block->tableMode == 1 && IsIntegerSignalType(input);
  dividend_ = AddNumberRow(this, L"Коэффициент:", kDividendWidth, block->dividend);
  inputType_ = AddTypeRow(L"Тип входных данных:", kBeSignalChar, kBeSignalDouble, input);
  outputType_ = AddTypeRow(L"Тип выходных данных:", kBeSignalChar, kBeSignalDouble, block->GetOutputType());
  realisation_ = AddRealisationGroup(this, table ? kBeRealisationTable : kBeRealisationFloat);
  EnableGroup(realisation_, !IsRealSignalType(input));
  rangeLabel_ =
      new CKestLabel(this, L"Диапазон вх.данных:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  NewFlowRow();
  new CKestLabel(this, L"От:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  start_ = new CKestSpinEdit(this, 0, true, kRangeMin, kRangeMax, 1, KEST_POS_FLOW, kRangeEditWidth,
                             kBeDialogSpinHeight);
  // A start below the edit's range shows (and is then written as) the
  // range's first value.
  start_->SetIntValue(block->from);
  new CKestLabel(this, L"до:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  end_ = new CKestSpinEdit(this, 0, true, kRangeMin, kRangeMax, 1, KEST_POS_FLOW, kRangeEditWidth,
                           kBeDialogSpinHeight);
  end_->SetIntValue(block->to);
  NewFlowRow();
  EnableRange(block->tableMode == 1 && input < kBeSignalInt && IsIntegerSignalType(input));
  AddButtons();
  return true;
}

void CConstDividerDlg::EnableRange(bool enable) {
  if (start_) start_->Enable(enable);
  if (end_) end_->Enable(enable);
}

void CConstDividerDlg::Write(CBEConstDivider* block) {
  block->dividend = ReadFloatEdit(dividend_, kBeLinkWideReadChars, block->dividend);
  BeSignalType input = SelectedListType(inputType_, kBeSignalChar, block->GetInputType());
  BeSignalType output = SelectedListType(outputType_, kBeSignalChar, block->GetOutputType());
  ChangeInputType(block->Input(0), input);
  ChangeOutputType(block->Output(0), output);
  bool table = realisation_ && realisation_->GetItemIndex() == kBeRealisationTable;
  if (table && IsIntegerSignalType(input)) {
    block->tableMode = 1;
    int start = start_ ? start_->GetIntValue() : block->from;
    int end = end_ ? end_->GetIntValue() : block->to;
    bool charOutput = output == kBeSignalChar;
    if (charOutput) {
      start = HoldWithinChar(start);
      end = HoldWithinChar(end);
    }
    if (end <= start) {
      end = start + 1;
      if (charOutput && end > kCharMax) {
        --end;
        --start;
      }
    }
    block->from = static_cast<int16_t>(start);
    block->to = static_cast<int16_t>(end);
  } else {
    block->tableMode = 0;
  }
  block->UpdateCosts();
}

LRESULT CConstDividerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && IsReady()) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    int code = HIWORD(wParam);
    if (inputType_ && sender && sender == inputType_->GetHandle() && code == CBN_SELCHANGE) {
      BeSignalType input = SelectedListType(inputType_, kBeSignalChar, kBeSignalChar);
      if (input >= kBeSignalInt) {
        EnableRange(false);
        CheckRealisation(realisation_, kBeRealisationFloat);
        EnableGroup(realisation_, false);
      } else {
        EnableGroup(realisation_, true);
      }
    } else if (LOWORD(wParam) == kBeRealisationGroupId && (code == 0 || code == 1) && realisation_) {
      EnableRange(realisation_->GetItemIndex() == kBeRealisationTable);
    }
  }
  return CBEPropertyForm::WindowProc(message, wParam, lParam);
}
