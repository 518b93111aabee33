// CAvrPlotDlg: the form of the graph builder's dialog. While it is open it
// writes the format and the sample count into the block as soon as they
// change and shows in its status bar the RAM the unit's program then takes
// against the unit's RAM size; "Отмена" puts the two back.
#pragma once

#include "blocks/dialogs/frame/property_form.h"
#include "kestui/bars/kest_status_bar.h"

class CBEBlock;
class CBEAvrPlot;

class CAvrPlotDlg : public CBEPropertyForm {
public:
  // Status-bar panels.
  static constexpr int kUsedPanel = 1;
  static constexpr int kTotalPanel = 3;

  explicit CAvrPlotDlg(CBEAvrPlot* block) : block_(block) {}

  // 400 x 280: "Файл лога:" with "Выбор" at (310, 20), "Формат данных:",
  // "Макс. количество данных:" (1..4000), "Интевал записи [мс]:" (2..40000,
  // step 2), the buttons, and the status bar. The form is not ready yet
  // (its commands change nothing until Run). False when no window was made.
  bool Build();
  // Shows the RAM figures, then the modal loop; true for "OK", after which
  // the path, the interval, the format and the count are in the block.
  // Otherwise the block's format and count (and its RAM cost) are what they
  // were when Run began. False too when memory ran out for the path.
  bool Run();
  // The format and the count from the dialog into the block, its RAM cost
  // recomputed, and the used and the available RAM shown.
  void UpdateRamUse();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CKestEdit* GetLogFileEdit() const { return logFile_; }
  CKestComboBox* GetFormatList() const { return format_; }
  CKestSpinEdit* GetCountEdit() const { return count_; }
  CKestSpinEdit* GetIntervalEdit() const { return interval_; }
  CKestStatusBar* GetStatusBar() const { return status_; }
  CKestButton* GetBrowseButton() const { return browse_; }

private:
  CBEAvrPlot* block_;
  CKestComboBox* format_ = nullptr;
  CKestEdit* logFile_ = nullptr;
  CKestSpinEdit* count_ = nullptr;
  CKestStatusBar* status_ = nullptr;
  CKestSpinEdit* interval_ = nullptr;
  CKestButton* browse_ = nullptr;
};

// The question asked after "OK" when the program no longer fits the RAM.
extern const wchar_t* const kBeRamExceededQuestion;

// The graph builder's dialog. After "OK" with a program larger than the
// unit's RAM it asks whether to correct the settings; "Да" opens the dialog
// again on what is now stored. True when the block changed: the dialog (or
// an earlier round of it) was confirmed.
bool ShowAvrPlotDialog(CBEBlock* block);
