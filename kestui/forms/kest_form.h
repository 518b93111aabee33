// A top-level form of the Kest framework (the main MDI frame or a dialog),
// with the application's message loop (Run) and the modal loop (ShowModal).
//
// Close protocol of a top-level form: WM_CLOSE (wParam = result:
// 1 OK, 2 cancel, 0 from the close box) posts WM_KEST_MODALRESULT (result)
// and then WM_KEST_DESTROY to the form. A modal loop ends on the first, so
// the caller of ShowModal may still read the dialog's widgets; the window
// goes when the outer loop dispatches the second, unless the caller deletes
// the dialog at once (then the queued request is dropped).
#pragma once

#include <windows.h>

#include "kestui/containers/kest_container.h"
#include "kestui/forms/kest_custom_form.h"

class CKestForm : public CKestCustomForm {
public:
  CKestForm() = default;
  // Destroys the accelerator table; the main form posts WM_QUIT (0).
  ~CKestForm() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // DefFrameProcW while the form has an MDI client (WM_SIZE answered 0
  // there: Realign sizes the client), else DefWindowProcW.
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The container's layout, then the MDI client over the free rectangle.
  void Realign() override;

  // Creates the (hidden) window. owner: the owner form or null. position:
  // KEST_POS_FLOW system default, KEST_POS_CENTER centred on the screen, or
  // KestPos (x, y). menu becomes the menu bar. Starts the hint timer; the
  // first form created becomes MainKestForm. False when no window was made.
  bool Create(CKestControl* owner, const wchar_t* caption, uint32_t position, int width,
              int height, CKestMenu* menu, bool sizeable, bool minimizeBox, bool systemMenu,
              bool captionBar);
  void Show(bool maximized);
  // The application loop with this form as main window: keyboard
  // pre-translation, this form's accelerators, dispatch. Returns WM_QUIT's
  // exit code and kills the hint timer.
  int Run();
  // The modal loop: every other live form is disabled until the form posts
  // its result (WM_KEST_MODALRESULT); Esc closes with 2. Restores the
  // enabled states, the owner's activation and the focus, and returns the
  // result. A WM_QUIT ends the loop with 2 and is posted again for the outer
  // loop. A form whose window cannot be made, or that is destroyed without a
  // result, gives 2.
  int ShowModal(bool maximized);
  // Posts WM_CLOSE (result): 1 OK, 2 cancel by convention.
  void PostClose(int result);

  // MDI frame. Set the window menu (the menu that lists the children)
  // before CreateMDIClient.
  void SetWindowMenu(HMENU menu) { windowMenu_ = menu; }
  HMENU GetWindowMenu() const { return windowMenu_; }
  void SetExStyle(DWORD exStyle) { exStyle_ = exStyle; }
  DWORD GetExStyle() const { return exStyle_; }
  // Makes the form an MDI frame (once): the client fills the free rectangle
  // under the docked widgets. Answers whether the client exists.
  bool CreateMDIClient();
  HWND GetMDIClient() const { return mdiClient_; }
  void CascadeChildren();
  void TileChildren();
  CKestControl* GetActiveMDIChild() const;
  int GetMDIChildCount() const;
  // The index-th child window of the MDI client in z-order, as widget.
  CKestControl* GetMDIChildAt(int index) const;
  HWND FindMDIChild(int id) const;

  // Id of the first MDI child in the window menu, and of its "More windows"
  // entry (shown when more than nine children exist).
  static constexpr UINT FirstMDIChildId = 0xFF00;
  static constexpr UINT MoreWindowsId = 0xFF09;

protected:
  // The frame's window-list commands; true when the command was one.
  bool HandleMDICommand(WPARAM wParam, LRESULT* result);
  // Opens the window list ("More windows") and activates the chosen child.
  virtual void ShowWindowList();

  HWND mdiClient_ = nullptr;
  HMENU windowMenu_ = nullptr;
  DWORD exStyle_ = 0;
};

// The first CKestForm whose Create ran; null again when it is destroyed.
extern CKestForm* MainKestForm;
