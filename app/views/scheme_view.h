// CSchemeView: the canvas that shows one circuit scheme (components, pins,
// wires, junctions, buses, selection marks) and finds what lies under a
// point; its scroll bars cover the scheme's extent. The scheme editor
// window hosts it and sets its tool; the mouse editing on top of it reports
// to the editor with WM_EDITOR_TOOL_FINISHED and
// WM_EDITOR_SELECTION_CHANGED. It watches the scheme it shows: an object
// deleted by any path is dropped from the tool (a wire or bus being drawn,
// a component being placed, a segment being dragged), which ends.
#pragma once

#include <windows.h>

#include "app/views/picture_exporter.h"
#include "app/views/view_messages.h"
#include "kestui/containers/kest_container.h"
#include "kestui/graphics/kest_canvas.h"
#include "scheme/model/scheme_watch.h"

class SchScheme;
class CSCHBlock;

class CSchemeView : public CKestCanvas, private SchSchemeWatch {
public:
  // What HitTest finds.
  enum HitKind {
    kHitNothing = 0,
    kHitBlock = 1,
    kHitPin = 2,
    kHitWireSegment = 3,
    kHitJunction = 4,
    kHitBusSegment = 5,
    kHitBusSlot = 6,
    kHitWireCorner = 7,
  };

  // The tools (the tool field).
  enum Tool {
    kToolSelect = 0,
    kToolWire = 1,
    kToolBus = 2,
    kToolPlaceClass = 3,
    kToolPlaceBlock = 4,
  };

  // The drawing states (the state field); what 1 and 2 mean depends on the
  // tool.
  enum State {
    kStateIdle = 0,
    kStateBand = 1,           // select tool: the rubber band is drawn
    kStateMoveSelection = 2,  // select tool: the selection is dragged
    kStateWireSegment = 4,    // select tool: a wire segment is dragged
    kStateBusPart = 5,        // select tool: a bus segment or end is dragged
    kStateStarted = 1,        // wire and bus tools: started, the button still down
    kStateDrawing = 2,        // wire and bus tools: drawn corner by corner
  };

  // Wire pens: colour of a selected wire or bus, and of hydraulic lines.
  static constexpr COLORREF kSelectedWireColor = RGB(102, 102, 255);
  static constexpr COLORREF kHydraulicColor = RGB(0, 204, 0);
  static constexpr COLORREF kSelectedHydraulicColor = RGB(102, 255, 102);

  // A visible tab-stop child of container showing scheme (not owned; may be
  // null), with its popup menu and scroll ranges.
  CSchemeView(CKestContainer* container, uint32_t position, int width, int height, SchScheme* scheme);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Draws the scheme in scheme coordinates: components with their pins,
  // junctions, selection marks, wires, buses. Without drawAll, objects
  // whose test rectangle is not visible in dc are skipped.
  void PaintScheme(HDC dc, bool drawAll);
  // What lies under the scheme point (x, y): a HitKind; the outs (each may
  // be null) get the side, index and object found.
  int HitTest(int x, int y, int* side, int* index, void** object, bool blocksOnly);
  // The extent of the scroll bars: (0, 0, 10, 10) joined with everything
  // drawn (every pin anchor too), grown by a margin of 20 pixels.
  RECT ComputeExtent() const;
  // Draws the whole scheme, without selection marks and with selected wires
  // and buses in their plain pens, as a picture of that kind
  // (KestPictureKind) over the rectangle of the scroll ranges.
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

  // Shows another scheme (null: nothing) and watches it; the tool ends and
  // the scroll position goes to 0.
  void SetScheme(SchScheme* scheme);
  SchScheme* GetScheme() const { return scheme; }

  // Fields, in this order.
  POINT segmentHit = {0, 0};  // where the last hit test met a wire segment
  SchScheme* scheme = nullptr;
  int tool = kToolSelect;
  unsigned char buttonDown = 0;
  POINT currentPoint = {0, 0};  // scheme coordinates
  POINT pressPoint = {0, 0};
  int state = kStateIdle;
  int cores = 2;
  int wireKind = 0;
  const char* className = nullptr;  // not owned
  void* object = nullptr;
  int hitKind = kHitNothing, hitIndex = 0, hitSide = 0;

protected:
  RECT GetDocumentExtent() override { return ComputeExtent(); }
  void PaintContent(HDC dc) override;

private:
  // PaintScheme; selected objects are marked only with selection.
  void PaintSchemeWith(HDC dc, bool drawAll, bool selection);
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
  bool OnKey(WPARAM key);
  void Select(unsigned char* flags);
  void ClearSelectionUnlessAdding();
  bool selecting_ = false;     // the press is handled by the select rules
  CPictureExporter defaultExporter_;
  CPictureExporter* exporter_ = &defaultExporter_;
  void SendToEditor(UINT message, WPARAM wParam, LPARAM lParam);
  // The scheme's watch: a deleted scheme is let go, a deleted tool object
  // ends the tool.
  void OnSchemeDeleting(SchScheme* gone) override;
  void OnObjectDeleting(SchScheme* owner, const void* gone) override;
  // Ends whatever the tool was doing with its object: back to the select
  // tool (the editor's palette is told), no drag, no object.
  void DropToolObject();
};
