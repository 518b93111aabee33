// CBEView: the canvas of the block-diagram editor. It paints one block
// scheme and lets the user place, select, move and delete blocks, draw links
// from pin to pin, reroute and cut them, open a block's properties and copy
// and paste blocks. Menu commands reach the owning form as WM_COMMAND.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"
#include "kestui/core/kest_control.h"

class BeScheme;
class BeInputPin;
class BeOutputPin;
class CBEBlock;

// Sent to the owning form after a placement, a double click or a deletion
// by key.
const UINT WM_BLOCK_TOOL_FINISHED = 9011;

// Commands of the view's popup menu.
const UINT ID_KEST_POPUP_PROPERTIES = 3001;
const UINT ID_KEST_POPUP_CUT = 768;
const UINT ID_KEST_POPUP_COPY = 769;
const UINT ID_KEST_POPUP_PASTE = 770;
const UINT ID_KEST_POPUP_DELETE = 771;
const UINT ID_KEST_POPUP_SELECT_ALL = 2137;

// The canvas colour and the colours of its drawn marks.
const COLORREF CBEView::kBackground = RGB(153, 204, 255);
const COLORREF CBEView::kHotLinkColor = RGB(51, 204, 51);
const COLORREF CBEView::kRubberBandColor = RGB(192, 192, 128);

// What a point of the view hits.
enum CBEView::HitCode {
  kHitNothing = 0,
  kHitBlock = 1,
  CBEView::kHitInput = 2,
  CBEView::kHitLinkAtInput = 3,
  CBEView::kHitLinkAtOutput = 4,
  CBEView::kHitLinkX1 = 5,
  CBEView::kHitLinkY = 6,
  CBEView::kHitLinkX2 = 7,
  CBEView::kHitOutput = 8,
};

// What a drag does.
enum CBEView::DragMode {
  kDragIdle = 0,
  kDragBand = 1,
  CBEView::kDragPlace = 2,
  CBEView::kDragLinkFromInput = 3,
  CBEView::kDragLinkFromOutput = 4,
  CBEView::kDragRouteX1 = 5,
  CBEView::kDragRouteY = 6,
  CBEView::kDragRouteX2 = 7,
  kDragMove = 8,
};

// Cursor table indices the view uses.
const int kCursorArrow = 0;
const int kCursorCross = 1;
const int kCursorMove = 2;
const int kCursorSizeVertical = 9;
const int kCursorSizeHorizontal = 10;
const int KestCursorCutLink = 14;
const int KestCursorLinkCut = 15;

// Distances of the hit test and the layout.
const int CBEView::kInputHitDistance = 8;
const int CBEView::kOutputHitDistance = 5;
const int kScrollMargin = 20;
const int kAutoScrollEdge = 20;
const int kWheelNotch = 120;

class CBEView : public CKestControl {
public:
  CBEView(CKestContainer* container, BeScheme* scheme, uint32_t position, int width, int height);
  ~CBEView() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The Edit operations. Copy answers whether the clipboard took the
  // blocks; Paste whether blocks were added.
  bool Copy();
  bool Paste();
  void DeleteSelection();
  // true selects every block, device blocks included; false clears.
  void SelectAll(bool select);
  // The properties of the block the last press hit (none: nothing).
  void ShowBlockProperties();
  bool CanPaste() const;
  // Some block is selected and is not a device block.
  bool HasSelection() const;
  // Every block oldest first, then the hot link; with force also the
  // blocks outside the DC's clipping area.
  void PaintScheme(HDC dc, bool force);
  // The next left-button release places a block of this class.
  void SetPendingClass(unsigned int classId);

  // The hit code at (x, y) in scheme coordinates; object gets the block,
  // input or output hit (null for nothing).
  int HitTest(int x, int y, void** object) const;
  // The union of the blocks and links, 20 pixels larger on every side.
  RECT GetSchemeBounds() const;
  // Sets both scroll bars from the scheme's bounds and the client size.
  void UpdateScrollRange();

  BeScheme* GetScheme() const { return scheme_; }
  int GetMode() const { return mode_; }
  int GetPressedHit() const { return pressedHit_; }
  void* GetPressedObject() const { return pressedObject_; }
  BeInputPin* GetHotLink() const { return hotLink_; }
  unsigned int GetPendingClass() const { return pendingClass_; }
  int GetScrollX() const { return scrollX_; }
  int GetScrollY() const { return scrollY_; }

private:
  void OnLeftDown(int x, int y, WPARAM keys);
  void OnMouseMove(int clientX, int clientY);
  void OnLeftUp(int x, int y, WPARAM keys);
  void OnDoubleClick();
  void OnRightUp();
  void OnKeyDown(WPARAM key);
  void OnScroll(int bar, int code);
  void OnWheel(int delta);
  void OnPaint();

  // Finishes a link drag ending on the pin found at (x, y).
  void FinishLink(int x, int y);
  // Links output to input with the default route.
  void MakeLink(BeOutputPin* output, BeInputPin* input);
  // Cuts the input's link at the press.
  void CutLink(BeInputPin* input);
  void MoveSelected(int dx, int dy);
  void ClearSelection();
  // The hot link drawn on the window, highlighted or in black.
  void DrawLinkOnWindow(BeInputPin* input, bool highlighted);
  // The rubber band or line of the current drag, in XOR.
  void DrawRubber();
  void Repaint();
  void NotifyModified();
  void NotifyToolFinished(bool post);
  // The client point in scheme coordinates.
  POINT ToScheme(LPARAM lParam) const;

  uint8_t buttonDown_ = 0;
  BeInputPin* hotLink_ = nullptr;
  BeScheme* scheme_;
  int pressedHit_ = kHitNothing;
  void* pressedObject_ = nullptr;
  int mode_ = kDragIdle;
  POINT pressPoint_ = {0, 0};
  POINT lastPoint_ = {0, 0};
  int scrollX_ = 0;
  int scrollY_ = 0;
  unsigned int pendingClass_ = 0;
};
