// The flow layout of the Kest framework's containers.
#pragma once

#include <windows.h>

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

