#include "blocks/dialogs/debug/monitor_dlg.h"

#include <new>

#include "blocks/dialogs/debug/log_file_row.h"
#include "blocks/engine/debug/monitor.h"
#include "foundation/buffers.h"

namespace {
const int kWidth = 450, kHeight = 158;
const int kNameWidth = 100, kPathWidth = 340;
const int kBrowseX = 355, kBrowseY = 49;
}  // namespace

bool CMonitorDlg::Build(CBEMonitor* block) {
  if (!block || !Open(block->GetCaption(), kWidth, kHeight)) return false;
  SetLabelsBeside(true);
  name_ = AddTextRow(L"Название:", kNameWidth, kNameLimit, block->caption);
  SetLabelsBeside(false);
  logFile_ = AddTextRow(L"Файл лога (не обязательно):", kPathWidth, 0, block->logFileName);
  browse_ = AddBrowseButton(this, kBrowseX, kBrowseY);
  SetInitialFocus(name_);
  AddButtons();
  return true;
}

bool CMonitorDlg::Write(CBEMonitor* block) {
  bool failed = false;
  wchar_t* path = CopyPathText(logFile_, &failed);
  if (failed) return false;
  wchar_t name[kNameLimit + 1];
  ReadEditText(name_, name, kNameLimit);
  block->SetCaption(name[0] ? name : nullptr);
  block->SetLogFileName(path);
  FreeBuffer(path);
  return true;
}

LRESULT CMonitorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && IsBrowseCommand(wParam)) BrowseLogFile(this, logFile_);
  return CBEPropertyForm::WindowProc(message, wParam, lParam);
}

bool ShowMonitorDialog(CBEBlock* block) {
  auto* monitor = dynamic_cast<CBEMonitor*>(block);
  if (!monitor) return false;
  auto* dlg = new (std::nothrow) CMonitorDlg;
  if (!dlg) return false;
  if (!dlg->Build(monitor)) {
    delete dlg;
    return false;
  }
  BePropertyFormScope scope(dlg);
  return dlg->Confirm() && dlg->Write(monitor);
}
