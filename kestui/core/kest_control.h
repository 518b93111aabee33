// CKestControl: the root of every widget of the Kest framework. Each object is
// bound to exactly one window through the window property "KestUI%08X" (the
// process id); every message of that window reaches the virtual WindowProc.
// Widgets wrapping a standard control are subclassed so that the framework
// sees their messages first.
//
// Ownership: a widget object and its window live and die together. Destroying
// the window deletes the object on WM_DESTROY; deleting the object destroys
// the window. Widgets are always created with new and never deleted by their
// parent object.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_messages.h"
#include "kestui/graphics/kest_font.h"
#include "kestui/menus/kest_menu.h"

class CKestControl {
public:
  CKestControl();

  // Virtual operations, in this order (containers add Realign after them).
  virtual ~CKestControl();
  virtual void SetFont(CKestFont* font);
  // Stores the colour; widgets that own a brush recreate it and answer it.
  virtual HBRUSH SetBackColor(COLORREF color);
  virtual void SetTextColor(COLORREF color);
  virtual void GetClientArea(RECT* rect);
  // Posts WM_COMMAND (GWL_ID, window) to the owning form.
  virtual void Click();
  virtual void Enable(bool enable);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  CKestControl(const CKestControl&) = delete;
  CKestControl& operator=(const CKestControl&) = delete;

  // Creates and binds the window. className null: a "MainClass" window bound
  // from its creation; otherwise a standard control, subclassed. parent may
  // be null; for a window without WS_CHILD it is the owner. Only a top-level
  // window passes the menu's HMENU to CreateWindowExW. Answers false when the
  // window could not be made (the widget stays window-less).
  bool CreateControlWindow(DWORD exStyle, const wchar_t* className, const wchar_t* caption,
                           DWORD style, uint32_t positionCode, int width, int height,
                           CKestControl* parent, CKestMenu* menu, void* param);

  HWND GetHandle() const { return window_; }
  bool IsTopLevel() const { return topLevel_; }
  WNDPROC GetPreviousProc() const { return previousProc_; }

  void SetText(const wchar_t* text);
  // GetWindowTextW, or the text length with a null buffer.
  int GetWindowText(wchar_t* buffer, int max) const;
  // The window text in a new heap block (FreeBuffer); null without a window.
  wchar_t* GetTextCopy() const;

  void SetHint(const wchar_t* text);  // a copy; null clears it
  const wchar_t* GetHint() const { return hint_; }
  // A child keeps the menu as its right-click menu; a top-level window also
  // shows it as its menu bar.
  void SetMenu(CKestMenu* menu);
  CKestMenu* GetMenu() const { return menu_; }
  CKestFont* GetFont() const { return font_; }
  COLORREF GetBackColor() const { return backColor_; }
  COLORREF GetTextColor() const { return textColor_; }
  uint32_t GetPositionCode() const { return positionCode_; }
  int GetCursorIndex() const { return cursorIndex_; }
  void SetCursorIndex(int index) { cursorIndex_ = index; }
  uint8_t GetAnchors() const { return anchors_; }
  void SetAnchors(uint8_t anchors) { anchors_ = anchors; }
  bool HasGradient() const { return gradient_; }
  void SetGradient(bool on, COLORREF endColor) {
    gradient_ = on;
    gradientEnd_ = endColor;
  }
  COLORREF GetGradientEnd() const { return gradientEnd_; }

  void SetFocus();
  bool HasFocus() const;
  bool IsEnabled() const;
  // Shows or hides the window, then realigns the parent container.
  void SetVisible(bool visible);
  // A transparent widget first invalidates, with erase, what it covers in
  // its parent.
  void Invalidate(bool erase);
  RECT GetBounds() const;     // window rectangle, screen coordinates
  POINT GetPosition() const;  // top left in the parent's client coordinates
  SIZE GetSize() const;
  int GetWidth() const;
  int GetHeight() const;
  SIZE GetClientSize();
  int GetClientWidth();
  int GetClientHeight();
  void SetSize(int width, int height);
  void SetClientSize(int width, int height);

protected:
  // Runs the standard control's own procedure for a subclassed control,
  // otherwise DefaultProc.
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

  CKestFont* font_ = nullptr;
  wchar_t* hint_ = nullptr;
  COLORREF backColor_;
  COLORREF textColor_;
  uint32_t positionCode_ = 0;
  CKestMenu* menu_ = nullptr;
  bool topLevel_ = false;
  WNDPROC previousProc_ = nullptr;
  int cursorIndex_ = 0;
  HWND window_ = nullptr;
  uint8_t anchors_ = 0;
  bool gradient_ = false;
  COLORREF gradientEnd_ = 0;

private:
  friend LRESULT CALLBACK MainClassWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK MDIChildWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend bool BindControlWindow(CKestControl* control, HWND window);

  LRESULT HandleDestroy(WPARAM wParam, LPARAM lParam);
  // Detaches the object from its window: menu bar, subclassing, property.
  void Unbind();
  // True while this object is still bound to window (it may have been
  // deleted by a message it sent).
  bool StillBound(HWND window) const;
  void TrackMenu();

  bool creating_ = false;  // inside CreateWindowExW: WM_DESTROY must not delete
};

// Window classes and procedures.
extern const wchar_t* const KestMainClassName;   // "MainClass"
extern const wchar_t* const KestMDIChildClassName;  // "MDIChild"
// Registers "MainClass" once, loads CursorTable, initialises the common
// controls and builds the property name. Answers whether the class exists.
bool RegisterMainWindowClass();
bool RegisterMDIChildWindowClass();
LRESULT CALLBACK MainClassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MDIChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// InitCommonControlsEx with the classes the framework uses: standard
// classes, list and tree views, up-down, bars (tool, status, track, tooltip),
// tabs and progress. Called by RegisterMainWindowClass; may be called earlier.
bool KestInitCommonControls();

// The icon of both window classes; set it before the first window is made
// (null: the system's application icon).
extern HICON ApplicationIcon;

// "KestUI%08X" with the process id.
const wchar_t* GetWindowPropertyName();
CKestControl* GetControlFromHandle(HWND window);
// The window that receives the framework messages of a widget: the first
// window, from window up its parents, whose widget is top-level; else the
// topmost ancestor visited. A form is its own owner; null gives null.
HWND GetOwnerFormWindow(HWND window);

// The 16 cursors selected by a widget's cursor index; loaded by
// RegisterMainWindowClass. GetKestCursor clamps the index to the table.
constexpr int KestCursorCount = 16;
// The cursor table's entries, by index (CKestControl::SetCursorIndex).
enum KestCursor {
  KestCursorArrow = 0,
  KestCursorCross = 1,
  KestCursorMove = 2,  // four arrows: move the selection
  KestCursorSizeNeSw = 3,
  KestCursorSizeNs = 4,
  KestCursorSizeNwSe = 5,
  KestCursorSizeWe = 6,
  KestCursorUpArrow = 7,
  KestCursorWait = 8,
  KestCursorSplitNs = 9,   // a horizontal splitter or line: resize up and down
  KestCursorSplitWe = 10,  // a vertical splitter or line: resize left and right
  KestCursorAppStarting = 11,
  KestCursorNo = 12,
  KestCursorHand = 13,     // a link label
  KestCursorCutLink = 14,  // over a link that a click would cut
  KestCursorLinkCut = 15,  // the link has just been cut
};
extern HCURSOR CursorTable[KestCursorCount];
HCURSOR GetKestCursor(int index);

// The widget under the mouse, kept by the hint timer; a widget clears it when
// it is destroyed.
extern CKestControl* HoverControl;

// Seams filled in by the container layer (flow layout and Realign). Until
// then containers do not exist: nothing is realigned and flow placement
// gives (0, 0).
// Realigns parent when it is a container.
void KestRealignIfContainer(CKestControl* parent);
// Position of the next flow widget of container; false when container has
// no flow layout.
bool KestPlaceInFlow(CKestControl* container, int width, int height, POINT* position);
