// CSchemeView: the control that shows one circuit scheme (components, pins,
// wires, junctions, buses, selection marks), finds what lies under a point
// and keeps its scroll bars over the scheme's extent. The scheme editor
// window hosts it and sets its tool; the mouse editing on top of it reports
// to the editor with WM_EDITOR_TOOL_FINISHED and
// WM_EDITOR_SELECTION_CHANGED.
#pragma once

#include <windows.h>

#include "app/views/picture_exporter.h"
#include "kestui/containers/kest_container.h"

class SchScheme;
class CSCHBlock;

// View -> editor: a tool ended (wParam 0, lParam = palette command to show
// pressed: 109 "Курсор", or 0 for none).
constexpr UINT WM_EDITOR_TOOL_FINISHED = 8209;
// View -> editor: the selection changed (wParam 0 scheme view, 1 board view).
constexpr UINT WM_EDITOR_SELECTION_CHANGED = 8210;

// Popup menu commands of the view.
constexpr UINT ID_KEST_POPUP_PROPERTIES = 3001;
constexpr UINT ID_KEST_POPUP_DELETE = 771;
constexpr UINT ID_KEST_POPUP_SELECT_ALL = 2137;

// Results of CSchemeView::HitTest.
enum CSchemeView::HitKind {
  kHitNothing = 0,
  kHitBlock = 1,
  CSchemeView::kHitPin = 2,
  CSchemeView::kHitWireSegment = 3,
  CSchemeView::kHitJunction = 4,
  CSchemeView::kHitBusSegment = 5,
  CSchemeView::kHitBusSlot = 6,
  CSchemeView::kHitWireCorner = 7,
};

// Tools of the view.
enum CSchemeView::Tool {
  CSchemeView::kToolSelect = 0,
  CSchemeView::kToolWire = 1,
  CSchemeView::kToolBus = 2,
  CSchemeView::kToolPlaceClass = 3,
  CSchemeView::kToolPlaceBlock = 4,
};

// Wire pens: colour of a selected wire or bus, and of hydraulic lines.
constexpr COLORREF CSchemeView::kSelectedWireColor = RGB(102, 102, 255);
constexpr COLORREF CSchemeView::kHydraulicColor = RGB(0, 204, 0);
constexpr COLORREF CSchemeView::kSelectedHydraulicColor = RGB(102, 255, 102);

class CSchemeView : public CKestControl {
public:
  // A visible tab-stop child of container showing scheme (not owned; may be
  // null), with its popup menu and scroll ranges.
  CSchemeView(CKestContainer* container, uint32_t position, int width, int height, SchScheme* scheme);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Draws the scheme in scheme coordinates. Without drawAll, objects whose
  // test rectangle is not visible in dc are skipped.
  void PaintScheme(HDC dc, bool drawAll);
  // Paints the client area through one off-screen bitmap.
  void PaintBuffered(HDC dc);
  // What lies under the scheme point (x, y): a CSchemeView::HitKind; the outs (each
  // may be null) get the side, index and object found.
  int HitTest(int x, int y, int* side, int* index, void** object, bool blocksOnly);
  // Both scroll bars over the scheme's extent (the origin always inside,
  // 20 pixels of margin).
  void UpdateScrollRange();
  // The extent UpdateScrollRange uses, margin included.
  RECT ComputeExtent() const;
  // Client point (x, y) near an edge: scrolls a line that way.
  void AutoScrollAtEdge(int x, int y);
  // Draws the whole scheme as a picture of that kind (KestPictureKind) over the
  // rectangle of the scroll ranges.
  void ExportPicture(int kind);
  // The exporter ExportPicture uses (never null); one set here is not owned.
  void SetPictureExporter(CPictureExporter* exporter);

  // Selection and tool operations the editor calls.
  // Sets (true) or clears flag 0x01 on every object; reports and repaints.
  void SelectAll(bool select);
  // A component, wire or bus with flag 0x01; without all, objects that also
  // carry flag 0x04 do not count.
  bool HasSelection(bool all) const;
  // Moves every selected component, junction, wire and bus by (dx, dy);
  // reports the document modified and repaints (nothing for (0, 0)).
  void MoveSelection(int dx, int dy);
  // Tidies the wires at selected components and junctions and the selected
  // wires; repaints when any changed.
  void RefreshSelected();
  // Deletes the selected components (not those with flag 0x04), wires and
  // buses; the document is reported modified before each deletion.
  void DeleteSelection();
  // Ends the tool being used: a wire being drawn is deleted, a bus being
  // drawn stays; the state becomes 0.
  void CancelTool();
  // Opens the component under the current point: its Edit operation, the
  // document reported modified when that answers true.
  void OpenItem();
  // Sends WM_SCHEME_MODIFIED to the main window.
  void NotifyModified();

  // Shows another scheme (null: nothing); the scroll position goes to 0.
  void SetScheme(SchScheme* scheme);
  SchScheme* GetScheme() const { return scheme; }

  // Fields, in this order.
  POINT segmentHit = {0, 0};  // where the last hit test met a wire segment
  SchScheme* scheme = nullptr;
  int tool = CSchemeView::kToolSelect;
  int scrollX = 0, scrollY = 0;
  unsigned char buttonDown = 0;
  POINT currentPoint = {0, 0};  // scheme coordinates
  POINT pressPoint = {0, 0};
  int state = 0;
  int cores = 2;
  int wireKind = 0;
  const char* className = nullptr;  // not owned
  void* object = nullptr;
  int hitKind = 0, hitIndex = 0, hitSide = 0;

private:
  void ScrollTo(int bar, int position);
  // Mouse and keys, by message.
  void OnLeftDown(int x, int y);
  void PressSelect(int x, int y);
  void StartWire(int x, int y);
  void OnMouseMove(int clientX, int clientY);
  void MoveSelectTool(int x, int y, int kind, int index, int side, void* found);
  void MoveWireTool(int x, int y, int kind, int index, int side, void* found);
  void OnLeftUp(int x, int y);
  void ReleaseSelectTool();
  void ReleaseWireTool(int x, int y);
  void FinishBand();
  void DrawBand();
  void OnWheel(int delta);
  bool OnKey(WPARAM key);
  void Select(unsigned char* flags);
  void ClearSelectionUnlessAdding();
  bool selecting_ = false;     // the press is handled by the select rules
  bool suppressMenu_ = false;  // a right press ended a tool: no popup on its release
  CPictureExporter defaultExporter_;
  CPictureExporter* exporter_ = &defaultExporter_;
  void SendToEditor(UINT message, WPARAM wParam, LPARAM lParam);
};
