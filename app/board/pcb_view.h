// CPCBView: the printed board of a board component seen from above, in
// millimetres: the green board with its four mounting holes and every part
// of the board's nested scheme that has a footprint, drawn through the
// footprint painter. After every painting the layout is checked: parts over
// the board edge, over the corner mounting areas or over each other are
// marked, and a part being placed or moved is not put down where it takes
// part in such a conflict. The user selects, moves on the 1.27 mm grid,
// places, rotates, deletes, copies, cuts and pastes parts ("VELK_PCB"), asks
// for a part's database record and zooms.
//
// Board coordinates: millimetres, (0, 0) at the board centre, x right, y
// down; the board centre is drawn at the client centre minus the scroll
// position.
//
// The view watches the scheme it shows: a part deleted by any path while it
// is being placed, moved or pressed is dropped, and the tool and drag end.
#pragma once

#include <windows.h>

#include "app/views/picture_exporter.h"
#include "kestui/containers/kest_container.h"
#include "kestui/graphics/kest_canvas.h"
#include "scheme/model/scheme_watch.h"

class SchScheme;
class CSCHBlock;
class PcbPainter;

// A board coordinate put on the nearest grid point (halves away from the
// lower point: floor(v / 1.27 + 0.5) x 1.27, on both sides of 0).
float SnapToBoardGrid(float v);

// Whether the clipboard holds parts of a board ("VELK_PCB").
bool IsPcbClipboardAvailable();

class CPCBView : public CKestCanvas, private SchSchemeWatch {
public:
  // The tools (the tool field).
  enum Tool {
    kToolNormal = 0,
    kToolPlace = 3,  // a new part follows the mouse
  };
  // The drag states of the normal tool (the dragState field).
  enum DragState {
    kDragIdle = 0,
    kDragMove = 1,  // the selected parts follow the mouse
    kDragBand = 3,  // the rubber band is drawn
  };

  // Popup commands of the board (also the editor's); the part information
  // is ID_KEST_POPUP_PROPERTIES.
  static constexpr UINT kCmdRotateLeft = 119;
  static constexpr UINT kCmdRotateRight = 121;
  static constexpr UINT kCmdCopy = 3002;
  static constexpr UINT kCmdPaste = 3003;
  static constexpr UINT kCmdCut = 3004;

  // The grid step and the scale limits (pixels per millimetre).
  static constexpr float kGrid = 1.27f;
  static constexpr float kInitialScale = 4.0f;
  static constexpr float kMinScale = 0.05f;
  static constexpr float kMaxScale = 50.0f;
  static constexpr float kZoomStep = 1.5f;

  // A visible tab-stop child of container showing the parts of scheme (not
  // owned; may be null) on a board of boardWidth x boardHeight millimetres.
  CPCBView(CKestContainer* container, uint32_t position, int width, int height, SchScheme* scheme,
           float boardWidth, float boardHeight);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Conversions between board millimetres and client pixels; the board's
  // document pixels are its client pixels at scroll position 0.
  int BoardToDocumentX(float x) const;
  int BoardToDocumentY(float y) const;
  int BoardToScreenX(float x) const;
  int BoardToScreenY(float y) const;
  float ScreenToBoardX(int x) const;
  float ScreenToBoardY(int y) const;
  // A part's board rectangle (half extents swapped for odd orientations)
  // and its client rectangle.
  static void PartHalfExtents(const CSCHBlock* part, float* hx, float* hy);
  RECT PartClientRect(const CSCHBlock* part) const;
  RECT PartDocumentRect(const CSCHBlock* part) const;
  // Whether a part is on the board at all (both footprint sizes above 0).
  static bool HasFootprint(const CSCHBlock* part);

  // The newest part with a footprint whose client rectangle, grown by one
  // pixel, holds the client point; null when none.
  CSCHBlock* HitTestPart(int x, int y) const;

  // Draws the client area through the painter's bitmap and checks the
  // layout (the conflicts field).
  void PaintBuffered(HDC dc) override;
  // Board, holes, parts and selection frames into the painter.
  void PaintBoard(PcbPainter* painter);
  // ORs every conflict into region (client pixels); true when any.
  bool CheckConflicts(HRGN region);
  // Marks the intersection of two rectangles given by centre and half
  // extents (mm); false when they are apart.
  bool MarkOverlap(HRGN region, float x1, float y1, float hx1, float hy1, float x2, float y2, float hx2,
                   float hy2);
  void AddRectToRegion(HRGN region, float left, float top, float right, float bottom);
  // Scale and scroll position times 1.5 (in) or divided by it, within the
  // scale limits.
  void Zoom(bool in);
  // The board at the current scale, without selection frames, as a picture
  // of that kind.
  void ExportPicture(int kind);
  // The exporter ExportPicture uses (never null); one set here is not owned.
  void SetPictureExporter(CPictureExporter* exporter);

  // Editing.
  void SelectAll(bool select);
  // Parts with flag 0x02 (without all: not those with 0x08), counted up to 2.
  int CountSelectedParts(bool all) const;
  void MoveSelection(float dx, float dy);
  void RotateSelection(int n);
  void CancelTool();
  void DeleteSelection();
  void CopySelection();
  void Cut();
  void Paste();
  void ShowPartInfo();
  void NotifyModified();

  // Shows another scheme (null: nothing) and watches it; tool and drag
  // state end.
  void SetScheme(SchScheme* scheme);
  SchScheme* GetScheme() const { return scheme; }
  // Whether the last check found a conflict in which the parts being
  // placed or moved take part.
  bool MovingPartsConflict() const { return movingConflicts_ != 0; }

  // Fields, in this order.
  int centerX = 0, centerY = 0;
  SchScheme* scheme = nullptr;
  int tool = kToolNormal;
  float scale = kInitialScale;
  float boardWidth = 0, boardHeight = 0;
  POINT currentPoint = {0, 0}, pressPoint = {0, 0};
  int dragState = kDragIdle;
  float dragX = 0, dragY = 0;
  float offsetX = 0, offsetY = 0;
  CSCHBlock* currentPart = nullptr;
  unsigned char conflicts = 0;
  unsigned char buttonDown = 0;
  unsigned char pasteFlag = 0;

protected:
  // The board, and every part with a footprint, in document pixels, grown
  // by a margin of 20 pixels; the centre follows the client size.
  RECT GetDocumentExtent() override;
  // With Ctrl the wheel zooms.
  void OnWheel(int delta) override;

private:
  // PaintBoard; selected parts are framed only with selection.
  void PaintBoardWith(PcbPainter* painter, bool selection);
  void RefreshCenter();
  void SendSelectionChanged();
  bool IsMoving(const CSCHBlock* part) const;
  void OnMouseMove(int x, int y);
  void OnLeftDown(int x, int y);
  void OnLeftUp();
  bool OnRightDown();
  void EnablePopupItems();

  CPictureExporter defaultExporter_;
  CPictureExporter* exporter_ = &defaultExporter_;
  unsigned char movingConflicts_ = 0;
  bool rotating_ = false;       // the turned part is checked as if moving

  // The scheme's watch.
  void OnSchemeDeleting(SchScheme* gone) override;
  void OnObjectDeleting(SchScheme* owner, const void* gone) override;
};
