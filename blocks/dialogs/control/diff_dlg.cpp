#include "blocks/dialogs/control/diff_dlg.h"

#include "blocks/dialogs/control/realisation_rows.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/control/diff.h"
#include "blocks/library/typed_block.h"

namespace {
const int kWidth = 260, kHeight = 265;
}  // namespace

bool CDiffDlg::Build(CBEDiff* block) {
  if (!block || !Open(block->GetCaption(), kWidth, kHeight)) return false;
  gain_ = AddNumberRow(this, L"Коэффициент усиления:", kBeLinkEditWidth, block->gain);
  amplitude_ = AddWholeRow(this, L"Амплитуда на входе:", kBeLinkEditWidth, block->amplitude);
  if (amplitude_) amplitude_->Enable(block->realisation == kBeRealisationTable);
  type_ = AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalDouble, block->GetOutputType());
  realisation_ = AddRealisationList(this, block->realisation);
  SetInitialFocus(gain_);
  AddButtons();
  return true;
}

void CDiffDlg::Write(CBEDiff* block) {
  BeSignalType type = SelectedListType(type_, kBeSignalChar, block->GetOutputType());
  block->gain = ReadDoubleEdit(gain_, kBeLinkReadChars, block->gain);
  int amplitude = ReadIntEdit(amplitude_, kBeLinkReadChars, block->amplitude);
  block->amplitude = amplitude < 0 ? 0 : amplitude;
  int index = realisation_ ? realisation_->GetSelectedIndex() : -1;
  int realisation = index >= 0 ? index : block->realisation;
  block->realisation = IsRealSignalType(type) ? kBeRealisationFloat : realisation;
  ChangeInputType(block->Input(0), type);
  ChangeOutputType(block->Output(0), type);
  block->UpdateCosts();
}

LRESULT CDiffDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && IsReady() && realisation_ && amplitude_) {
    int code = HIWORD(wParam);
    if (reinterpret_cast<HWND>(lParam) == realisation_->GetHandle() &&
        (code == CBN_SELENDOK || code == CBN_EDITCHANGE))
      amplitude_->Enable(realisation_->GetSelectedIndex() == kBeRealisationTable);
  }
  return CBEPropertyForm::WindowProc(message, wParam, lParam);
}
