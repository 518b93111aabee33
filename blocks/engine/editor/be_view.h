// CBEView: the canvas of the block-diagram editor. It paints one block
// scheme, its scroll bars over the scheme's bounds, and lets the user place,
// select, move and delete blocks, draw links from pin to pin, reroute and
// cut them, open a block's properties and copy and paste blocks. Menu
// commands reach the owning form as WM_COMMAND.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"
#include "kestui/graphics/kest_canvas.h"

class BeScheme;
class BeInputPin;
class BeOutputPin;
class CBEBlock;

// Sent to the owning form after a placement, a double click or a deletion
// by key.
const UINT WM_BLOCK_TOOL_FINISHED = 9011;

class CBEView : public CKestCanvas {
public:
  // What a point of the view hits.
  enum HitCode {
    kHitNothing = 0,
    kHitBlock = 1,
    kHitInput = 2,
    kHitLinkAtInput = 3,
    kHitLinkAtOutput = 4,
    kHitLinkX1 = 5,
    kHitLinkY = 6,
    kHitLinkX2 = 7,
    kHitOutput = 8,
  };

  // What a drag does.
  enum DragMode {
    kDragIdle = 0,
    kDragBand = 1,
    kDragPlace = 2,
    kDragLinkFromInput = 3,
    kDragLinkFromOutput = 4,
    kDragRouteX1 = 5,
    kDragRouteY = 6,
    kDragRouteX2 = 7,
    kDragMove = 8,
  };

  // The canvas colour and the colours of its drawn marks.
  static constexpr COLORREF kBackground = RGB(153, 204, 255);
  static constexpr COLORREF kHotLinkColor = RGB(51, 204, 51);
  static constexpr COLORREF kRubberBandColor = RGB(192, 192, 128);

  // Distances of the hit test and the layout.
  static constexpr int kInputHitDistance = 8;
  static constexpr int kOutputHitDistance = 5;
  static constexpr int kScrollMargin = 20;

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

  BeScheme* GetScheme() const { return scheme_; }
  int GetMode() const { return mode_; }
  int GetPressedHit() const { return pressedHit_; }
  void* GetPressedObject() const { return pressedObject_; }
  BeInputPin* GetHotLink() const { return hotLink_; }
  unsigned int GetPendingClass() const { return pendingClass_; }

protected:
  RECT GetDocumentExtent() override { return GetSchemeBounds(); }
  // A scheme that fits the window shows from 0, unless it reaches below
  // the margin before 0: then from its start, so nothing stays hidden.
  int OriginWhenFitting(int low) const override;
  void PaintContent(HDC dc) override { PaintScheme(dc, false); }

private:
  void OnLeftDown(int x, int y, WPARAM keys);
  void OnMouseMove(int clientX, int clientY);
  void OnLeftUp(int x, int y, WPARAM keys);
  void OnDoubleClick();
  void OnRightUp();
  void OnKeyDown(WPARAM key);

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

  uint8_t buttonDown_ = 0;
  BeInputPin* hotLink_ = nullptr;
  BeScheme* scheme_;
  int pressedHit_ = kHitNothing;
  void* pressedObject_ = nullptr;
  int mode_ = kDragIdle;
  POINT pressPoint_ = {0, 0};
  POINT lastPoint_ = {0, 0};
  unsigned int pendingClass_ = 0;
};
