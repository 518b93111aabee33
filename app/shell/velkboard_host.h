// CVelkboardHost: what Velkboard gives the lower layers (CKestHost). It is
// installed by RunVelkboard for the life of the program; what it does not
// override answers as the framework's base host.
#pragma once

#include "kestui/kest_host.h"

class CVelkboardHost : public CKestHost {
public:
  // HtmlHelpW of hhctrl.ocx, loaded on first use from the location
  // registered for its class, else by its plain name; false when neither
  // loads.
  bool OpenHelp(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data) override;
  // A component's Edit: its model, view-only, in the database browser.
  void ShowComponentModel(const wchar_t* tableName, const char* model, const char* options) override;
  // A capacitor's or quartz crystal's Edit: the component viewer, modal.
  void ShowComponentCard(const wchar_t* description, const wchar_t* pictureFile) override;
};
