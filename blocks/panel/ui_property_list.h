// The property list of a control-panel item: owns the item's properties in
// the order the property grid shows them.
#pragma once

class CVelkUIControl;
class UiProperty;

class UiPropertyList {
public:
  UiPropertyList() = default;
  ~UiPropertyList();
  UiPropertyList(const UiPropertyList&) = delete;
  UiPropertyList& operator=(const UiPropertyList&) = delete;

  // No owner, no properties (those held are deleted).
  void Init();
  // Takes property at the end; false when memory ran out (not taken).
  bool Append(UiProperty* property);
  UiProperty* At(int index) const { return index >= 0 && index < count ? properties[index] : nullptr; }
  // The width of the owner's canvas window, which bounds the position and
  // size properties; the canvas size when no canvas is open.
  int CanvasWidth() const;

  // Fields, in this order.
  CVelkUIControl* owner = nullptr;
  int count = 0;
  UiProperty** properties = nullptr;  // owned, grown in blocks of 32
};
