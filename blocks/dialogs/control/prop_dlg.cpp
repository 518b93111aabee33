#include "blocks/dialogs/control/prop_dlg.h"

#include "blocks/dialogs/control/realisation_rows.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/math/proportional.h"
#include "blocks/library/typed_block.h"

namespace {
const int kWidth = 250, kHeight = 330;
const int kCoefficientWidth = 200;
const int kAmplitudeMin = 1, kAmplitudeMax = 2047, kCharAmplitudeMax = 127;
}  // namespace

bool CPropDlg::Build(CBEProportional* block) {
  if (!block || !Open(block->GetCaption(), kWidth, kHeight)) return false;
  BeSignalType input = block->GetInputType();
  bool table = block->tableMode == 1 && IsIntegerSignalType(input);
  coefficient_ = AddNumberRow(this, L"Коэффициент:", kCoefficientWidth, block->coefficient);
  inputType_ = AddTypeRow(L"Тип входных данных:", kBeSignalChar, kBeSignalDouble, input);
  outputType_ = AddTypeRow(L"Тип выходных данных:", kBeSignalChar, kBeSignalDouble, block->GetOutputType());
  realisation_ = AddRealisationGroup(this, table ? kBeRealisationTable : kBeRealisationFloat);
  EnableGroup(realisation_, !IsRealSignalType(input));
  amplitude_ = AddIntegerRow(L"Амплитуда вх.данных:", kAmplitudeMin, kAmplitudeMax, kBeDialogSpinWidth,
                             block->amplitude);
  if (amplitude_) amplitude_->Enable(table);
  AddButtons();
  return true;
}

void CPropDlg::Write(CBEProportional* block) {
  block->coefficient = ReadFloatEdit(coefficient_, kBeLinkWideReadChars, block->coefficient);
  BeSignalType input = SelectedListType(inputType_, kBeSignalChar, block->GetInputType());
  BeSignalType output = SelectedListType(outputType_, kBeSignalChar, block->GetOutputType());
  ChangeInputType(block->Input(0), input);
  ChangeOutputType(block->Output(0), output);
  bool table = realisation_ && realisation_->GetItemIndex() == kBeRealisationTable;
  if (table && IsIntegerSignalType(input)) {
    block->tableMode = 1;
    int amplitude = amplitude_ ? amplitude_->GetIntValue() : block->amplitude;
    if (output == kBeSignalChar && amplitude > kCharAmplitudeMax) amplitude = kCharAmplitudeMax;
    block->amplitude = static_cast<int16_t>(amplitude);
  } else {
    block->tableMode = 0;
  }
  block->UpdateCosts();
}

LRESULT CPropDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && IsReady()) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    int code = HIWORD(wParam);
    if (inputType_ && sender && sender == inputType_->GetHandle() && code == CBN_SELCHANGE) {
      BeSignalType input = SelectedListType(inputType_, kBeSignalChar, kBeSignalChar);
      if (IsRealSignalType(input)) {
        if (amplitude_) amplitude_->Enable(false);
        CheckRealisation(realisation_, kBeRealisationFloat);
        EnableGroup(realisation_, false);
      } else {
        EnableGroup(realisation_, true);
      }
    } else if (LOWORD(wParam) == kBeRealisationGroupId && (code == 0 || code == 1) && realisation_ &&
               amplitude_) {
      amplitude_->Enable(realisation_->GetItemIndex() == kBeRealisationTable);
    }
  }
  return CBEPropertyForm::WindowProc(message, wParam, lParam);
}
