// CMonitorDlg: the form of the monitor's dialog: the block's name and its
// log file, with "Выбор" opening the save dialog for the file.
#pragma once

#include "blocks/dialogs/frame/property_form.h"

class CBEBlock;
class CBEMonitor;

class CMonitorDlg : public CBEPropertyForm {
public:
  // 450 x 158: "Название:" beside an edit of 20 characters, "Файл лога (не
  // обязательно):" over the path edit with "Выбор" at (355, 49), the
  // buttons. False when no window was made.
  bool Build(CBEMonitor* block);
  // What "OK" writes: the caption and the log file (none for an empty
  // text). False, with the block as it was, when memory ran out.
  bool Write(CBEMonitor* block);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CKestEdit* GetNameEdit() const { return name_; }
  CKestEdit* GetLogFileEdit() const { return logFile_; }
  CKestButton* GetBrowseButton() const { return browse_; }

  static constexpr int kNameLimit = 20;

private:
  CKestEdit* logFile_ = nullptr;
  CKestEdit* name_ = nullptr;
  CKestButton* browse_ = nullptr;
};

// The monitor's dialog; true when confirmed.
bool ShowMonitorDialog(CBEBlock* block);
