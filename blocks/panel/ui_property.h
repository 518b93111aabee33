// The editable fields of a control-panel item: typed properties that point
// straight at the item's fields, each with a label and an optional range,
// gathered in the item's property list.
#pragma once

class CKestControl;
class CVelkUIControl;
class UiPropertyList;

enum UiPropertyType {
  UiPropBool = 0,       // 8-bit flag
  UiPropInt = 1,        // signed 32-bit
  UiPropFloat = 2,      // 32-bit float
  UiPropString = 3,     // owned wide string pointer, null when empty
  UiPropFontName = 4,   // owned wide string pointer
  UiPropFontStyle = 5,  // 1 bold, 2 italic, 4 underline
  UiPropColor = 6,      // 0x00BBGGRR
  UiPropDialog = 7,     // no field: a button that runs the callback
};

// Font style bits.
const int kUiFontStyleBold = 1;
const int kUiFontStyleItalic = 2;
const int kUiFontStyleUnderline = 4;

typedef int (*UiPropertyCallback)(CVelkUIControl* item);

class UiProperty {
public:
  // Appends an unranged property to list.
  UiProperty(UiPropertyList* list, UiPropertyType type, const wchar_t* label, void* value);
  UiProperty(const UiProperty&) = delete;
  UiProperty& operator=(const UiProperty&) = delete;

  // Ranged integer and float properties, and a dialog button; each is
  // appended to list and returned (null when memory ran out).
  static UiProperty* UiPropertyInt(UiPropertyList* list, UiPropertyType type,
                                   const wchar_t* label, int* value, int min, int max);
  static UiProperty* UiPropertyFloat(UiPropertyList* list, UiPropertyType type,
                                     const wchar_t* label, float* value, float min, float max);
  static UiProperty* UiPropertyDialog(UiPropertyList* list, const wchar_t* label,
                                      UiPropertyCallback callback);

  // Fields, in this order.
  UiPropertyList* list;
  UiPropertyType type;
  const wchar_t* label;  // constant text
  void* value;           // the item's field; null for a dialog button
  UiPropertyCallback callback = nullptr;
  bool ranged = false;
  union {
    int i;
    float f;
  } min = {0}, max = {0};
  CKestControl* control = nullptr;  // the grid's editor control
};
