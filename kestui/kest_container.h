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

#include "kestui/kest_control.h"

class CKestContainer;

// Automatic placement of flow children (code KEST_POS_FLOW) in rows, or in
// rows inside side-by-side columns. Owned by one container; forms may read
// and set the public fields directly (for example the gap right after the
// layout is created, or the cursor to indent the flow).
class KestFlowLayout {
public:
  KestFlowLayout(CKestContainer* container, const RECT& area);

  // Position of the next flow widget of the given size.
  POINT Place(int width, int height);
  // Starts a new row under the current one (an empty row counts 18 pixels).
  void NewRow();
  // Starts a column of the given width beside the previous one (the first
  // call starts it at the left edge).
  void NewColumn(int width);
  // Moves the cursor right, to leave room.
  void Advance(int dx) { cursorX += dx; }
  // The next placed widget is a label that shares one cell with the widget
  // after it, the label above.
  void StackNext() { stackedState = 0; }
  // Ends the current row and marks where the rows to centre begin.
  void BeginCenteredRows();
  // Centres, between the edges, every row of children created since
  // BeginCenteredRows (rows: consecutive windows with the same top).
  void CenterRows();

  bool IsRowEmpty() const { return cursorX <= leftEdge; }

  HWND sectionStart = nullptr;
  CKestContainer* container;
  int cursorX;
  int cursorY;         // top of the current row
  int rowHeight = 0;   // tallest cell of the current row; 0 = empty row
  int leftEdge;
  int rightEdge;
  int top;
  int lowest;          // largest row top reached by NewRow
  bool columnMode = false;
  int gap = 8;
  int stackedWidth = -1;
  // -1 nothing stacked; 0 the next widget is the label to stack; > 0 the
  // height of a stacked label waiting for the widget under it.
  int stackedState = -1;
};

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
