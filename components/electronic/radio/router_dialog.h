// The settings dialog of a WiFi router: its radio mode and SSID.
#pragma once

#include "kestui/forms/kest_form.h"

class CSCHRouter;
class CKestComboBox;
class CKestEdit;
class CKestLabel;

class CRouterDialog : public CKestForm {
public:
  // Creates the hidden dialog (owner: the main form) with the router's
  // mode and SSID; false when the window could not be made.
  bool Build(CSCHRouter* router);
  // Stores the SSID and the selected mode into the router; a list without
  // a selection keeps the router's mode.
  void Apply(CSCHRouter* router) const;

  CKestComboBox* modeList = nullptr;
  CKestEdit* ssidEdit = nullptr;
  CKestLabel* antennaLabel = nullptr;
};

// Shows the dialog modally; on OK stores the settings and answers true,
// otherwise changes nothing and answers false.
bool ShowRouterDialog(CSCHRouter* router);
