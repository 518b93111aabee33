#include "blocks/dialogs/debug/avr_plot_dlg.h"

#include <new>

#include "blocks/dialogs/debug/log_file_row.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/debug/avr_plot.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "kestui/forms/kest_dialogs.h"

const wchar_t* const kBeRamExceededQuestion = L"Превышен объем RAM микропроцессора! Исправить?";

namespace {
const int kWidth = 400, kHeight = 280;
const int kPathWidth = 298, kFormatWidth = 320;
const int kBrowseX = 310, kBrowseY = 20;
const int kCountMin = 1, kCountMax = 4000;
const int kIntervalMin = 2, kIntervalMax = 40000, kIntervalStep = 2;
const int kStatusHeight = 19;
const wchar_t* const kFormats[] = {L"Только значения (время фиксировано)", L"Время + значение в момент изменения"};

// The RAM of the whole program that holds the block, and the RAM size of
// its unit (0 or less: none).
int ProgramRam(const CBEAvrPlot* block) { return block->scheme ? block->scheme->GetRamTotal(true) : block->ram; }
int RamLimit(const CBEAvrPlot* block) { return block->scheme ? block->scheme->ramLimit : -1; }

enum class Round { kCancelled, kFits, kExceeds };

// One showing of the dialog.
Round RunRound(CBEAvrPlot* plot) {
  auto* dlg = new (std::nothrow) CAvrPlotDlg(plot);
  if (!dlg) return Round::kCancelled;
  if (!dlg->Build()) {
    delete dlg;
    return Round::kCancelled;
  }
  BePropertyFormScope scope(dlg);
  if (!dlg->Run()) return Round::kCancelled;
  int limit = RamLimit(plot);
  return limit > 0 && ProgramRam(plot) > limit ? Round::kExceeds : Round::kFits;
}
}  // namespace

bool CAvrPlotDlg::Build() {
  if (!block_ || !Open(block_->GetCaption(), kWidth, kHeight)) return false;
  // The ready flag gates the commands: the controls' own notifications
  // while they are made and filled change nothing.
  SetReady(false);
  status_ = new CKestStatusBar(this, true, kStatusHeight);
  status_->AddPanel(110, 1, L"Исп.RAM [байт]:");
  status_->AddPanel(60, -1, nullptr);
  status_->AddPanel(130, 1, L"Всего RAM [байт]:");
  status_->AddPanel(60, -1, nullptr);
  status_->AddPanel(60, -1, nullptr);
  logFile_ = AddTextRow(L"Файл лога:", kPathWidth, 0, block_->logFileName);
  browse_ = AddBrowseButton(this, kBrowseX, kBrowseY);
  format_ = AddListRow(L"Формат данных:", kFormats, 2, block_->format == CBEAvrPlot::kTimeAndValue ? 1 : 0,
                       kFormatWidth);
  count_ = AddIntegerRow(L"Макс. количество данных:", kCountMin, kCountMax, kBeDialogSpinWidth, block_->capacity);
  interval_ = AddIntegerRow(L"Интевал записи [мс]:", kIntervalMin, kIntervalMax, kBeDialogSpinWidth,
                            block_->interval);
  if (interval_) interval_->SetStep(kIntervalStep);
  SetInitialFocus(logFile_);
  AddButtons();
  SetReady(false);
  return true;
}

void CAvrPlotDlg::UpdateRamUse() {
  int index = format_ ? format_->GetSelectedIndex() : -1;
  block_->format = index == 1 ? CBEAvrPlot::kTimeAndValue : CBEAvrPlot::kValuesOnly;
  if (count_) block_->capacity = count_->GetIntValue();
  block_->UpdateRamCost();
  if (!status_) return;
  wchar_t text[kFoundationFormatIntChars];
  status_->SetPanelText(kUsedPanel, FormatInt(ProgramRam(block_), text));
  status_->SetPanelText(kTotalPanel, FormatInt(RamLimit(block_), text));
}

bool CAvrPlotDlg::Run() {
  const unsigned char format = block_->format;
  const int capacity = block_->capacity;
  UpdateRamUse();
  SetReady(true);
  bool confirmed = Confirm();
  SetReady(false);
  bool failed = false;
  wchar_t* path = confirmed ? CopyPathText(logFile_, &failed) : nullptr;
  if (!confirmed || failed) {
    // What the dialog showed on the way goes back with it.
    block_->format = format;
    block_->capacity = capacity;
    block_->UpdateRamCost();
    return false;
  }
  block_->SetLogFileName(path);
  FreeBuffer(path);
  if (interval_) block_->interval = interval_->GetIntValue();
  UpdateRamUse();
  return true;
}

LRESULT CAvrPlotDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && IsReady()) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    int code = HIWORD(wParam);
    if (IsBrowseCommand(wParam)) {
      BrowseLogFile(this, logFile_);
    } else if (format_ && sender && sender == format_->GetHandle() &&
               (code == CBN_SELENDOK || code == CBN_SELCHANGE || code == CBN_EDITCHANGE)) {
      // CBN_SELCHANGE too: arrow keys on the closed list change the format
      // without a CBN_SELENDOK.
      UpdateRamUse();
    } else if (count_ && sender && sender == count_->GetHandle() && code == EN_CHANGE) {
      UpdateRamUse();
    }
  }
  return CBEPropertyForm::WindowProc(message, wParam, lParam);
}

bool ShowAvrPlotDialog(CBEBlock* block) {
  auto* plot = dynamic_cast<CBEAvrPlot*>(block);
  if (!plot) return false;
  bool changed = false;
  for (;;) {
    Round round = RunRound(plot);
    // A dialog opened again to correct the settings and then cancelled
    // leaves what the earlier round stored: the block has still changed.
    if (round == Round::kCancelled) return changed;
    changed = true;
    if (round == Round::kFits) return true;
    int answer =
        ShowMessageText(MainKestForm, MB_YESNO | MB_ICONERROR, L"Ошибка", kBeRamExceededQuestion);
    if (answer != IDYES) return true;
  }
}
