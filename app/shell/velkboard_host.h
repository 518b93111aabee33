// CVelkboardHost: what Velkboard gives the lower layers: the framework's
// services (CKestHost), the scheme layer's (CSchemeHost) and the block
// engine's (CBlockHost). RunVelkboard installs it as all three for the life
// of the program; what it does not override answers as the base hosts.
#pragma once

#include "blocks/engine/block_host.h"
#include "kestui/core/kest_host.h"
#include "scheme/model/scheme_host.h"

class CVelkboardHost : public CKestHost, public CSchemeHost, public CBlockHost {
public:
  // The framework's services.
  // HtmlHelpW of hhctrl.ocx, loaded on first use from the location
  // registered for its class, else by its plain name; false when neither
  // loads.
  bool OpenHelp(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data) override;
  // Pictures of the lower layers' windows: the program's picture export
  // (file, clipboard or printer).
  HDC BeginPictureExport(int kind, const RECT& rect) override;
  void EndPictureExport(int kind, HDC dc) override;

  // The scheme layer's services.
  // A component's Edit: its model, view-only, in the database browser.
  void ShowComponentModel(const wchar_t* tableName, const char* model, const char* options) override;
  // A capacitor's or quartz crystal's Edit: the component viewer, modal.
  void ShowComponentCard(const wchar_t* description, const wchar_t* pictureFile) override;
  // A scheme editor window (MDI child of the main form) on a nested scheme;
  // false without a main form or when the window could not be made.
  bool OpenSchemeEditor(SchScheme* scheme, int mode, int boardWidth, int boardHeight) override;
  // Components' published objects: the program's payload table.
  uint32_t PublishPayload(void* payload, const void* owner) override;
  void WithdrawPayloads(const void* owner) override;

  // The block engine's services.
  // A block-diagram editor on scheme as an MDI child of the main form,
  // titled title; false without a main form or when no window was made.
  bool OpenBlockEditor(BeScheme* scheme, const wchar_t* title) override;
  // A block's own property dialog (a double click in a block-diagram
  // editor): what the block's ShowProperties answers; false for no block.
  bool ShowBlockProperties(CBEBlock* block) override;
};
