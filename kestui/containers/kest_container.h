// Containers and layout of the Kest framework.
//
// Each widget is created with a position code (kest_messages.h): explicit
// coordinates, docked to an edge, filling what docking leaves (client), or
// placed in rows by the container's flow layout. A container lays its
// children out again whenever it changes size (Realign): docked children
// take strips of the client area in creation order, the first client child
// fills the rest, and every child follows the container's edges by its
// anchors. Child windows are kept in creation order by the window system
// (each new child goes to the bottom of the z-order); the layout relies on
// that and keeps no child list of its own.
#pragma once

#include <windows.h>

#include "kestui/containers/kest_flow_layout.h"
#include "kestui/core/kest_control.h"

class CKestContainer : public CKestControl {
public:
  CKestContainer();
  ~CKestContainer() override;

  // The client rectangle inset by the border width.
  void GetClientArea(RECT* rect) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Lays the children out: docking, client, then anchors.
  virtual void Realign();

  // The flow layout; made on first use from the free rectangle, after a
  // realign. Null only when the layout cannot be allocated.
  KestFlowLayout* GetFlowLayout();
  bool HasFlowLayout() const { return flow_ != nullptr; }
  void NewFlowRow();
  void NewFlowColumn(int width);
  void AdvanceFlow(int dx);
  void BeginCenteredRows();
  void CenterFlowRows();
  // Deletes the flow layout; the next flow widget starts a new one at the
  // top left of the then free rectangle.
  void FreeFlowLayout();

  int GetBorderWidth() const { return borderWidth_; }
  // Sets the border and realigns.
  void SetBorderWidth(int width);
  // What the docked children leave of the client area after the last
  // Realign (the client child does not reduce it).
  RECT GetFreeRect() const { return freeRect_; }

protected:
  int previousWidth_ = 0;
  int previousHeight_ = 0;
  KestFlowLayout* flow_ = nullptr;
  RECT freeRect_;
  int borderWidth_ = 0;
};

// The container widget of a window, or null when it is none.
CKestContainer* GetContainerFromHandle(HWND window);
