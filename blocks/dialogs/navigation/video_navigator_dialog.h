// CVideoNavigatorDialog: the properties of the video-navigation block
// (CBEVideoNavigation): the global map file, six settings of the map
// engine and the range finders mounted on the robot. The list's rows are a
// working copy of the range finders (their values as text, the colour as
// the row's image): rows are added, edited in "Свойства дальномера" and
// deleted there, and the block takes them only when the form is confirmed
// (Apply). Every value passes through its shown precision: positions and
// ranges to 0.01 or 0.1 cm, angles to 0.01 degree.
#pragma once

#include <windows.h>

#include "blocks/dialogs/dialog_resources.h"

#include "kestui/bars/kest_speedbutton.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/kest_imagelist.h"
#include "kestui/lists/kest_list_view.h"
#include "kestui/menus/kest_popup_menu.h"

class CBEBlock;
class CBEVideoNavigation;
class CKestButton;
struct NavRangeFinder;

class CVideoNavigatorDialog : public CKestForm {
public:
  // Commands of the form's buttons and popup menu.
  enum Command {
    kCommandAdd = 17489,
    kCommandDelete = 30497,
    kCommandEdit = 30225,
    kCommandChooseMap = 24853,
  };
  // Pictures of the tool strip's buttons.
  enum Picture { kPictureAdd = IDB_DIALOG_ADD, kPictureDelete = IDB_DIALOG_DELETE };
  // The list takes at most this many range finders.
  static constexpr int kMaxRows = 127;
  // The list's columns.
  enum Column {
    kColumnName = 0,
    kColumnX,
    kColumnY,
    kColumnAngle,
    kColumnMaxRange,
    kColumnSearchDistance,
    kColumnSearchAngle,
    kColumnCount
  };

  // Builds the hidden form for the block (see IsBuilt for whether its
  // window was made).
  explicit CVideoNavigatorDialog(CBEVideoNavigation* block);
  ~CVideoNavigatorDialog() override;

  bool IsBuilt() const { return GetHandle() != nullptr; }
  // A record into a row: the image is the colour, the columns the name and
  // the numbers as shown. And back: the numbers parsed (0 when none), the
  // angles turned into radians, the name cut to 9 characters; fields the
  // row does not show are zero.
  void SetRow(int row, const NavRangeFinder& record);
  void GetRow(int row, NavRangeFinder* record) const;
  // The delete button, "Правка" and "Удалить" enabled while a row is
  // selected.
  void UpdateButtons();
  // The settings, the map file and the rows into the block, whose pins are
  // then built for the new range finders. False, with the block as it was,
  // when memory ran out.
  bool Apply();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The name to put into the map file's edit for a chosen path: the part
  // after folder when the path begins with it (whatever the case), else the
  // whole path. Points into path.
  static const wchar_t* MapNameOf(const wchar_t* path, const wchar_t* folder);
  // The folder the map file is chosen from: the program folder's "Robots\"
  // as a new block (FreeBuffer); null when memory ran out.
  static wchar_t* DupRobotsFolder();

  CKestSpdBtn* GetDeleteButton() const { return deleteButton_; }
  CKestEdit* GetMapFileEdit() const { return mapFile_; }
  CKestSpinEdit* GetMapScaleEdit() const { return mapScale_; }
  CKestListView* GetList() const { return list_; }
  CKestSpinEdit* GetLifeTimeEdit() const { return lifeTime_; }
  CKestSpinEdit* GetRadiusEdit() const { return radius_; }
  CKestSpinEdit* GetSearchRangeEdit() const { return searchRange_; }
  CKestSpinEdit* GetNearZoneEdit() const { return nearZone_; }
  CKestSpinEdit* GetAccuracyEdit() const { return accuracy_; }
  CKestPopupMenu* GetListMenu() const { return menu_; }
  CKestImageList* GetImages() const { return images_; }
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }

private:
  void Build();
  void BuildSettings();
  void BuildImages();
  // The commands; false when the handling ends there (answer 0).
  bool AddRow();
  bool DeleteRow();
  bool EditRow();
  void ChooseMapFile();

  CBEVideoNavigation* block_;
  CKestSpdBtn* deleteButton_ = nullptr;
  CKestEdit* mapFile_ = nullptr;
  CKestSpinEdit* mapScale_ = nullptr;
  CKestListView* list_ = nullptr;
  CKestSpinEdit* lifeTime_ = nullptr;
  CKestSpinEdit* radius_ = nullptr;
  CKestSpinEdit* searchRange_ = nullptr;
  CKestSpinEdit* nearZone_ = nullptr;
  CKestSpinEdit* accuracy_ = nullptr;
  CKestPopupMenu* menu_ = nullptr;
  CKestImageList* images_ = nullptr;
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
};

// The dialog on a video-navigation block; true after "OK" (the block then
// holds the settings and range finders shown, its pins rebuilt). Any other
// answer, or another class of block, changes nothing.
bool ShowVideoNavigationDialog(CBEBlock* block);
