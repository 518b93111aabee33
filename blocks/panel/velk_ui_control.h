// CVelkUIControl: the base of every control-panel item. It holds what every
// item has (kind, place in its panel's list, rectangle, name, hint, the
// editor's selection flag and the link to its user-interface block) and the
// editing geometry the kinds share: hit testing, the eight resize handles,
// moving and resizing, drawing the selection and repainting its area.
//
// An item is created by the factory of its kind and lives in its panel's
// list until it is deleted; it owns its name and hint and deletes its linked
// block with itself.
#pragma once

#include <windows.h>

class CBEBlock;
class CStream;
class UiPanel;
class UiPropertyList;

const int kUiNewItemWidth = 104;
const int kUiNewItemHeight = 28;
// A handle is hit within this distance (exclusive) of its point.
const int kUiHandleReach = 8;

class CVelkUIControl {
public:
  // Hit and drag codes: nothing, the body, the eight handles clockwise from
  // the top-left corner, the two ends of a line item.
  enum HitCode {
    kHitNone = -1,
    kHitBody = 0,
    kHitTopLeft = 1,
    kHitTop = 2,
    kHitTopRight = 3,
    kHitRight = 4,
    kHitBottomRight = 5,
    kHitBottom = 6,
    kHitBottomLeft = 7,
    kHitLeft = 8,
    kHitLineStart = 9,
    kHitLineEnd = 10,
  };

  // Appended at the end of the panel's list; 104 x 28 at (0, 0).
  explicit CVelkUIControl(UiPanel* panel);
  // Clears the panel's current and dragged item where they are this one,
  // repaints the area, leaves the list, frees name and hint, and deletes
  // the linked block (whose item reference is cleared first).
  virtual ~CVelkUIControl();
  CVelkUIControl(const CVelkUIControl&) = delete;
  CVelkUIControl& operator=(const CVelkUIControl&) = delete;

  // Virtual operations, in slot order.
  // The six base properties: name, hint, X, Y, width, height.
  virtual void BuildProperties(UiPropertyList* list);
  virtual void SetPosition(int newX, int newY);
  // The kinds bound to a user-interface block create it here.
  virtual void CreateBlock();
  // kHitNone, kHitBody or the handle code 1 to 8.
  virtual int HitTest(int px, int py);
  // Code 0 moves, 1 to 8 resize by that handle; others change nothing.
  virtual void DragHandle(int code, int dx, int dy);
  // The fixed parts: on the canvas and into the panel stream's preview.
  virtual void DrawBackground(HDC dc);
  // The state parts: on the canvas only.
  virtual void DrawFace(HDC dc);
  // The eight handle squares.
  virtual void DrawSelection(HDC dc);
  // The base record: name, hint, x, y, width, height.
  virtual void Save(CStream* stream);
  // Reads the base record; false when the stream ends inside it (what was
  // read stays).
  virtual bool Load(CStream* stream);
  // The run-time interface: canvas pixels and virtual-key codes. Nothing in
  // the base.
  virtual void OnMouseDown(int px, int py);
  virtual void OnMouseMove(int px, int py);
  virtual void OnMouseUp(int px, int py);
  virtual void ReservedHookA(int a, int b, int c);
  virtual void OnKeyDown(int key);
  virtual void OnKeyUp(int key);
  virtual void ReservedHookB(int a);
  virtual void ReservedHookC(int a);
  virtual void ReservedHookD(int a, int b);
  virtual void DrawGL();

  // Invalidates, with erasing, the area with a 4-pixel margin (5 on the
  // right and bottom) on the panel's canvas; nothing without a canvas.
  void Invalidate();
  // Names the item from its kind name and the least number free among the
  // items' names (the item's own counts as taken) and the captions of the
  // scheme's device blocks, and renames the linked block.
  void MakeUniqueName();
  // Replaces the name with a copy of text (null or empty: no name) and
  // renames the linked block.
  bool SetName(const wchar_t* text);
  // The point of handle code 1 to 8.
  POINT HandlePoint(int code) const;

  // Fields, in this order.
  const wchar_t* kindName = nullptr;  // the kind registry's string, not owned
  UiPanel* panel;
  CVelkUIControl* previous = nullptr;
  CVelkUIControl* next = nullptr;
  int x = 0;
  int y = 0;
  int width = kUiNewItemWidth;
  int height = kUiNewItemHeight;
  wchar_t* name = nullptr;  // owned
  wchar_t* hint = nullptr;  // owned
  unsigned char selected = 0;
  CBEBlock* block = nullptr;  // in the panel's block scheme
};
