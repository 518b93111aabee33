// CBEEditor: the MDI child window in which the user edits one block scheme:
// a palette of block buttons in tabs (one tab per catalogue group), the
// block-diagram view filling the rest, and a status bar with the program's
// size, cycle count and processor frequency. While it is the active child it
// receives the main window's Edit and picture commands.
#pragma once

#include <windows.h>

#include "kestui/forms/kest_form.h"
#include "kestui/forms/kest_mdi_child_form.h"

class BeScheme;
class CBEView;
class CKestSpdBtn;
class CKestStatusBar;
class CKestTabControl;

// Palette buttons: 4000 + the entry's index in its group.
const UINT kBeFirstPaletteCommand = 4000;

// Layout of the window.
const int kBePaletteTabsHeight = 76;
const int kBePaletteButtonSize = 45;
const int kBePaletteFirstX = 5;
const int kBePaletteFirstY = 27;
const int kBeEditorStatusHeight = 19;

// Status bar panels that carry values.
const int kBeStatusRomPanel = 1;
const int kBeStatusCyclesPanel = 3;
const int kBeStatusFrequencyPanel = 5;

class CBEEditor : public CKestMDIChildForm {
public:
  // Counts the editor and creates the window in owner's MDI client (no
  // caption, sizeable, minimizable, default place and size); the window's
  // creation builds the content.
  CBEEditor(CKestForm* owner, BeScheme* scheme);
  ~CBEEditor() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Rebuilds the palette for the selected tab.
  void FillPalette();
  // Rewrites the status bar.
  void RefreshStatus();
  // Paints the whole scheme into a picture of that kind.
  void ExportPicture(int kind);
  // Shows that button pressed and every other one released (null releases
  // all).
  void PressPaletteButton(CKestSpdBtn* button);

  BeScheme* GetScheme() const { return scheme_; }
  CBEView* GetView() const { return view_; }
  CKestTabControl* GetTabs() const { return tabs_; }
  CKestStatusBar* GetStatusBar() const { return status_; }

protected:
  // The plug-in chooser: true when the user chose a kind of a module for
  // the next plug-in block.
  virtual bool ChoosePlugin();

private:
  void BuildContent();
  // Handles a command; false when it was none of the editor's.
  bool HandleCommand(WPARAM wParam, LPARAM lParam);
  void PaletteClick(int id);

  BeScheme* scheme_;
  CBEView* view_ = nullptr;
  CKestTabControl* tabs_ = nullptr;
  CKestStatusBar* status_ = nullptr;
  bool built_ = false;
};
