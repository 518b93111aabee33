// CBEScanSectorDialog ("Построитель"): the property dialog of the stereo
// scan-sector block: the depth range, the stereo base, the horizontal view
// angle and the list of height slices, each row with a colour mark. The
// block changes only after "OK", and then only in its scan parameters and
// slices.
#pragma once

#include <windows.h>

#include "blocks/dialogs/dialog_resources.h"
#include "blocks/library/navigation/scan_sector.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_list_view.h"
#include "kestui/menus/kest_popup_menu.h"

enum : UINT {
  kScanSectorCmdAdd = 136,
  kScanSectorCmdDelete = 110,
  kScanSectorCmdEdit = 817,
  kScanSectorCmdClear = 818,
};

// The program's bitmap resources: the buttons' plus and cross, and the
// drawing of the stereo pair and its slices.
const UINT kScanSectorAddPicture = IDB_DIALOG_ADD, kScanSectorDeletePicture = IDB_DIALOG_DELETE,
           kScanSectorDrawing = IDB_SCAN_SECTOR_DRAWING;

// The colour of mark i of the slice list (i taken mod 8).
COLORREF ScanSliceMarkColour(int i);

class CBEScanSectorDialog : public CKestForm {
public:
  enum Edit { kZMin, kZMax, kD, kAngle, kEditCount };
  enum Column { kCaption, kYMin, kYMax };

  explicit CBEScanSectorDialog(CBEScanSector* block) : block_(block) {}

  // Makes the form and fills it from the block; false when the window
  // could not be made.
  bool Build();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The dialog's values into the block (after "OK"); false when the block
  // refused the slice count (its slices then stay as they were).
  bool WriteBack();

  CKestSpinEdit* GetEdit(Edit which) const { return edits_[which]; }
  CKestSpdBtn* GetDeleteButton() const { return delete_; }
  CKestSpdBtn* GetAddButton() const { return add_; }
  CKestListView* GetSlices() const { return slices_; }
  CKestPopupMenu* GetMenu() const { return menu_; }
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }

private:
  void AddSlice();
  void EditSlice();
  void DeleteSlice();
  void ClearSlices();
  void UpdateButtons();
  void SetHeights(int row, double yMin, double yMax);
  CKestImageList* MakeMarks();

  CBEScanSector* block_;
  CKestSpinEdit* edits_[kEditCount] = {};
  CKestSpdBtn* delete_ = nullptr;
  CKestListView* slices_ = nullptr;
  CKestSpdBtn* add_ = nullptr;
  CKestPopupMenu* menu_ = nullptr;
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
};

bool ShowScanSectorDialog(CBEBlock* block);
