// The camera's three settings dialogs, built in code: "Настройка
// управления по RS-485" (analogue camera with remote control), "Настройка
// камеры" (USB or Ethernet camera) and "Настройка WiFi-камеры". They edit
// the packet channels, the WiFi mode and SSID and the sync mode.
#pragma once

#include "kestui/buttons/kest_button.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_combo_box.h"

class CSCHCamera;

class CCameraSettingsForm : public CKestForm {
public:
  enum Kind { kRs485, kCamera, kWiFiCamera };
  static constexpr int kOkResult = 1, kCancelResult = 2;

  // The dialog of that kind, filled from the camera (not kept).
  CCameraSettingsForm(Kind kind, const CSCHCamera& camera);
  // Writes the fields back into the camera.
  void TakeInto(CSCHCamera* camera);

  Kind kind;
  // Widgets; null when the dialog has none of that role.
  CKestComboBox* modeBox = nullptr;
  CKestEdit* ssidEdit = nullptr;
  CKestSpinEdit* transmissionEdit = nullptr;
  CKestSpinEdit* controlEdit = nullptr;
  CKestComboBox* syncBox = nullptr;
  CKestButton* okButton = nullptr;
  CKestButton* cancelButton = nullptr;

private:
  CKestSpinEdit* AddChannelField(int value);
  void AddControlFormat();
};

// Shows the dialog modally: true, with the fields written back, when the
// user confirms with "OK"; false, changing nothing, otherwise.
bool ShowCameraSettings(CCameraSettingsForm::Kind kind, CSCHCamera* camera);
