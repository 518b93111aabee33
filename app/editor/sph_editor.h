// CSphEditor: the MDI child in which one circuit scheme is edited. It hosts
// the tool palette and the scheme view (and, for a printed board, the board
// palette on a tab of its own), turns palette buttons and menu commands into
// settings and calls of its views, creates components from the class
// registry after a database record was chosen, answers the main window's
// edit queries and, for the document's main scheme, asks the main window to
// close when it is closed.
#pragma once

#include <windows.h>

#include "app/editor/component_chooser.h"
#include "kestui/forms/kest_form.h"
#include "kestui/forms/kest_mdi_child_form.h"

class SchScheme;
class CSchemeView;
class CPCBView;
class CKestSpdBtn;
class CKestTabControl;
class CKestPanel;

// The tab control of a board editor and its pages.
const int kVelkEditorTabsId = 2001;
const int kVelkBoardTab = 0;
const int kVelkSchemeTab = 1;

// The instance name the control panel gives itself; a main scheme holds at
// most one.
extern const wchar_t* const kVelkControlPanelName;

class CSphEditor : public CKestMDIChildForm {
public:
  // Modes: which scheme the editor shows.
  enum Mode {
    kEditorMain = 0,   // the document's main scheme
    kEditorBoard = 1,  // the nested scheme of a printed board
    kEditorPanel = 2,  // the nested scheme of the control panel
  };

  // Palette commands (each button's id is also its bitmap resource).
  enum PaletteCommand {
    kPalTwoCoreCable = 103,
    kPalThreeCoreCable = 104,
    kPalBus = 108,
    kPalCursor = 109,
    kPalDelete = 110,
    kPalTeeFitting = 113,
    kPalFiveWayFitting = 114,
    kPalConnectors = 115,
    kPalMicrocontrollers = 122,
    kPalGround = 123,
    kPalZoomOut = 124,
    kPalZoomIn = 125,
    kPalDrivers = 126,
    kPalDcDc = 127,
    kPalUsbCom = 131,
    kPalMultimeter = 135,
    kPalRs232Drivers = 139,
    kPalControlPanel = 153,
    kPalRfInjector = 154,
    kPalPoeInjector = 155,
    kPalPowerSupplies = 158,
    kPalNetwork = 159,
    kPalBatteries = 160,
    kPalStdLogic = 164,
    kPalDiscretes = 166,
    kPalResistors = 199,
    kPalBoardDelete = 3000,
  };

  // Creates the window on parent's MDI client ("Схема пульта управления" in
  // mode 2, "Основная схема" otherwise); its palette and views are built
  // while it handles WM_CREATE. scheme is not owned.
  CSphEditor(CKestForm* parent, SchScheme* scheme, int mode, float boardWidth, float boardHeight);
  ~CSphEditor() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Shows the palette button with that command pressed and every other one
  // released; 0 releases them all.
  void CheckToolButton(int command);

  void SetMainScheme(bool on) { mainScheme_ = on ? 1 : 0; }
  bool IsMainScheme() const { return mainScheme_ != 0; }
  int GetMode() const { return mode_; }
  float GetBoardWidth() const { return boardWidth_; }
  float GetBoardHeight() const { return boardHeight_; }
  SchScheme* GetScheme() const { return scheme_; }
  CSchemeView* GetSchemeView() const { return schemeView_; }
  CPCBView* GetBoardView() const { return boardView_; }
  CKestTabControl* GetTabControl() const { return tabs_; }
  int GetPaletteCount() const { return paletteCount_; }
  CKestSpdBtn* GetPaletteButton(int i) const;
  CKestSpdBtn* GetSchemeDeleteButton() const { return schemeDelete_; }
  CKestSpdBtn* GetBoardDeleteButton() const { return boardDelete_; }
  // Whether the board page is the one shown (a tab control exists and the
  // scheme tab is not selected).
  bool IsBoardPageShown() const;

  // The chooser the palette's category buttons use (never null); a chooser
  // set here is not owned and must outlive the editor's use of it.
  void SetComponentChooser(CComponentChooser* chooser);
  CComponentChooser* GetComponentChooser() const { return chooser_; }

  // The core count preset in the bus prompt: the last number entered in any
  // editor of this run (8 at first).
  static int GetBusCoresPreset();
  static void SetBusCoresPreset(int cores);

  // Every editor showing scheme lets go of it and closes; called before a
  // scheme that an editor may show is deleted.
  static void CloseEditorsOfScheme(SchScheme* scheme);

private:
  void BuildInterface();
  void BuildBoardPalette(CKestContainer* page);
  void BuildSchemePalette(CKestContainer* host);
  CKestPanel* MakePaletteRow(CKestContainer* host);
  CKestSpdBtn* AddButton(CKestPanel* row, int id, UINT bitmap, const wchar_t* hint, bool toggle);

  void OnCommand(int id);
  void SetTool(int tool);
  void AskBusCores();
  void ChooseSchemeComponent(int id, const wchar_t* tables, const char* className);
  void ChooseBoardComponent(int id);
  LRESULT AnswerQuery(UINT message);
  void OnClose();
  bool SchemeViewHasFocus() const;
  bool BoardViewHasFocus() const;
  // Board paste (3003): the pasted parts also stand 20 pixels beside the
  // copied ones on the scheme.
  void PasteOnBoard();

  int mode_;
  float boardWidth_, boardHeight_;
  SchScheme* scheme_;
  unsigned char mainScheme_ = 0;
  int paletteCount_ = 0;
  static const int kPaletteCapacity = 20;
  CKestSpdBtn* palette_[kPaletteCapacity] = {};
  CKestSpdBtn* schemeDelete_ = nullptr;
  CKestSpdBtn* boardDelete_ = nullptr;
  CPCBView* boardView_ = nullptr;
  CSchemeView* schemeView_ = nullptr;
  CKestTabControl* tabs_ = nullptr;
  CComponentChooser defaultChooser_;
  CComponentChooser* chooser_ = &defaultChooser_;
};
