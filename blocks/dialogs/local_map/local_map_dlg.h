// CLocalMapDlg: the property dialog of the local-map block. One sizeable
// form with the map's size, the robot's outline and the virtual walls on the
// left, the sensor and analysis-zone lists on the right and, between them,
// a live preview of all of it drawn to scale, where zones are moved and
// resized with the mouse. The lists are working copies; the block changes
// only when "OK" (command 3305) arrives.
//
// A zone's sensor mask follows its sensors: deleting or moving a sensor
// renumbers the bits of every zone so that it keeps counting the same
// sensors, and no more sensors are taken than a mask can address.
#pragma once

#include <windows.h>

#include "blocks/dialogs/dialog_resources.h"
#include "blocks/library/navigation/local_map.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_check_box.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/kest_paintbox.h"
#include "kestui/lists/kest_list_view.h"
#include "kestui/menus/kest_popup_menu.h"
#include "kestui/graphics/kest_font.h"

class CKestLabel;
class CKestPanel;

// Commands of the dialog.
enum : UINT {
  kLocalMapCmdCopyZone = 4001,
  kLocalMapCmdMirrorZone = 4002,
  kLocalMapCmdAddSensor = 4003,
  kLocalMapCmdDeleteSensor = 4004,
  kLocalMapCmdEditSensor = 4005,
  kLocalMapCmdDeleteAllSensors = 4006,
  kLocalMapCmdSensorUp = 4007,
  kLocalMapCmdSensorDown = 4008,
  kLocalMapCmdAddZone = 3300,
  kLocalMapCmdDeleteZone = 3301,
  kLocalMapCmdEditZone = 3002,
  kLocalMapCmdDeleteAllZones = 3304,
  kLocalMapCmdZoneUp = 137,
  kLocalMapCmdZoneDown = 138,
  kLocalMapCmdOk = 3305,
};

// The program's bitmap resources of the list buttons: a cross, a plus, an
// arrow up and an arrow down.
const UINT kLocalMapDeletePicture = IDB_DIALOG_DELETE, kLocalMapAddPicture = IDB_DIALOG_ADD;
const UINT kLocalMapUpPicture = IDB_DIALOG_UP, kLocalMapDownPicture = IDB_DIALOG_DOWN;

// Sensors a zone's 32-bit mask can tell apart.
const int kLocalMapMaskSensors = 32;
// Room for the longest "Слои" text ("1, 2, ..., 32") and its terminator.
const int kLocalMapLayersChars = 128;

class CLocalMapDlg : public CKestForm {
public:
  // The spin edits, by field.
  enum Edit { kHalfWidth, kFront, kRear, kRobotWidth, kRobotLength, kWallX, kWallStart, kWallEnd, kEditCount };
  // Sensor-list columns.
  enum SensorColumn { kSensorNumber, kSensorKind, kSensorX, kSensorY, kSensorA, kSensorFov, kSensorZMin, kSensorZMax,
                      kSensorColumns };
  // Zone-list columns.
  enum ZoneColumn { kZoneCaption, kZoneLayers };
  // Handle codes of a zone under the mouse (HitTestZone).
  enum Handle { kHandleNone = -1, kHandleInside = 0, kHandleTopLeft, kHandleTop, kHandleTopRight, kHandleRight,
                kHandleBottomRight, kHandleBottom, kHandleBottomLeft, kHandleLeft };

  explicit CLocalMapDlg(CBELocalMap* block) : block_(block) {}
  // Releases the zone copies still held by the rows and the preview menu.
  ~CLocalMapDlg() override;

  // Makes the form and fills it from the block; false when the window
  // could not be made.
  bool Build();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The preview (local_map_preview.cpp).
  // Centre x, height, scale and origin y from the preview's client size
  // and the map-size edits. A preview narrower than 2 pixels or without
  // height gets the scale 0.
  void UpdatePreviewScale();
  int MetresToPixelX(float x) const;
  int MetresToPixelY(float y) const;
  float PixelToMetresX(int px) const;
  float PixelToMetresY(int py) const;
  // Paints the whole preview, from the edits and lists, into dc.
  void PaintPreview(HDC dc);
  // The handle code of the zone under (x, y), the last row first; the
  // zone's row into *zone when given and something was hit.
  int HitTestZone(int x, int y, int* zone) const;
  // The grid step in centimetres for a preview e metres high.
  static int GridStep(double e);

  // Widgets and state, for the program's tests.
  CKestSpinEdit* GetEdit(Edit which) const { return edits_[which]; }
  CKestCheckBox* GetShowRobot() const { return showRobot_; }
  CKestCheckBox* GetWallsOn() const { return wallsOn_; }
  CKestListView* GetSensorList() const { return sensors_; }
  CKestListView* GetZoneList() const { return zones_; }
  CKestPaintBox* GetPreview() const { return preview_; }
  CKestPopupMenu* GetPreviewMenu() const { return previewMenu_; }
  CKestPopupMenu* GetSensorMenu() const { return sensorMenu_; }
  CKestPopupMenu* GetZoneMenu() const { return zoneMenu_; }
  CKestSpdBtn* GetButton(UINT command) const;
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }
  int GetCurrentZone() const { return currentZone_; }
  int GetCurrentSensor() const { return currentSensor_; }
  int GetDragHandle() const { return dragHandle_; }
  int GetPreviewCentreX() const { return centreX_; }
  int GetPreviewHeight() const { return previewHeight_; }
  int GetPreviewOriginY() const { return originY_; }
  float GetPreviewScale() const { return scale_; }
  // The zone copy of a zone row (null for none).
  LocalMapZone* ZoneAt(int row) const;
  // The "Слои" text of a mask into text (capacity characters, cut at a
  // whole number when it would not fit).
  static void FormatLayers(uint32_t mask, wchar_t* text, int capacity);
  // The mask with sensor k removed (the bits above it move down one) and
  // with sensors k and k + 1 exchanged. Sensors from 32 on are never
  // counted: one moving into bit 31 leaves it clear.
  static uint32_t MaskWithoutSensor(uint32_t mask, int k);
  static uint32_t MaskWithSensorsSwapped(uint32_t mask, int k);

private:
  // Building.
  CKestLabel* AddHeader(CKestContainer* parent, const wchar_t* caption);
  CKestPanel* AddGroup(CKestContainer* parent, int height);
  CKestSpinEdit* AddField(CKestPanel* group, const wchar_t* caption, double minimum, double maximum, double step,
                          double value);
  CKestPanel* AddButtonRow(CKestContainer* parent);
  CKestSpdBtn* AddButton(CKestPanel* row, UINT command, UINT picture, const wchar_t* hint, bool enabled);
  CKestListView* AddList(CKestContainer* parent, uint32_t position, int width, int height);
  void BuildLeftPanel();
  void BuildRightPanel();
  void FillLists();

  // Rows.
  int AppendZoneRow(const LocalMapZone& zone);
  void SetZoneLayers(int row);
  void RenumberZoneCaptions();
  void SetSensorRow(int row, const wchar_t* const* texts);
  void ReadSensorRow(int row, wchar_t texts[kSensorColumns][64]) const;
  // Every zone's mask through change (sensor k).
  void RenumberMasks(uint32_t (*change)(uint32_t, int), int k);

  // Commands.
  bool HandleCommand(UINT id);
  void AddSensor();
  void DeleteSensor();
  void EditSensor();
  void DeleteAllSensors();
  void MoveSensor(bool up);
  void AddZone();
  void DeleteZone();
  void EditZone();
  void DeleteAllZones();
  void MoveZone(bool up);
  void CopyZone(bool mirror);
  void WriteBack();
  bool HandleNotify(NMHDR* header, LRESULT* result);
  void HandleEditChange(HWND edit);
  // Enabling of a list's buttons and popup items after a change.
  void UpdateSensorButtons();
  void UpdateZoneButtons();
  void RedrawPreview();

  // The preview's messages.
  void PaintPreviewWindow();
  void PreviewMouseDown(int x, int y);
  void PreviewMouseMove(int x, int y);
  void PreviewRightUp(int x, int y);
  void InvalidateZone(const LocalMapZone& zone);
  double EditValue(Edit which) const;

  // Fields, in the order of the block's dialog.
  CBELocalMap* block_;
  CKestSpinEdit* edits_[kEditCount] = {};
  CKestCheckBox* showRobot_ = nullptr;
  CKestSpdBtn* deleteZone_ = nullptr;
  CKestSpdBtn* zoneUp_ = nullptr;
  CKestSpdBtn* zoneDown_ = nullptr;
  CKestSpdBtn* sensorUp_ = nullptr;
  CKestSpdBtn* sensorDown_ = nullptr;
  CKestListView* sensors_ = nullptr;
  CKestSpdBtn* deleteSensor_ = nullptr;
  CKestCheckBox* wallsOn_ = nullptr;
  CKestListView* zones_ = nullptr;
  CKestPaintBox* preview_ = nullptr;
  CKestPopupMenu* previewMenu_ = nullptr;  // owned
  int lastX_ = 0, lastY_ = 0;
  int dragHandle_ = kHandleNone;
  int currentZone_ = -1;
  int currentSensor_ = -1;
  int centreX_ = 0, previewHeight_ = 0, originY_ = 0;
  float scale_ = 0;
  // Also kept: the lists' menus, the buttons that add, and the header font.
  CKestPopupMenu* sensorMenu_ = nullptr;
  CKestPopupMenu* zoneMenu_ = nullptr;
  CKestSpdBtn* addSensor_ = nullptr;
  CKestSpdBtn* addZone_ = nullptr;
  CKestFont* headerFont_ = nullptr;  // while building
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
};

// The block's ShowProperties: the dialog over the main form; true when it
// closed with "OK" (the block then holds the dialog's values).
bool ShowLocalMapDialog(CBEBlock* block);
