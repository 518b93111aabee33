#include "blocks/panel/ui_property.h"

#include <new>

#include "blocks/panel/ui_property_list.h"

UiProperty::UiProperty(UiPropertyList* owner, UiPropertyType kind, const wchar_t* text,
                       void* field)
    : list(owner), type(kind), label(text), value(field) {
  // A list without room does not take the property, which then has no owner.
  if (list && !list->Append(this)) list = nullptr;
}

UiProperty* UiProperty::UiPropertyInt(UiPropertyList* list, UiPropertyType type,
                                      const wchar_t* label, int* value, int min, int max) {
  UiProperty* p = new (std::nothrow) UiProperty(list, type, label, value);
  if (!p) return nullptr;
  p->ranged = true;
  p->min.i = min;
  p->max.i = max;
  return p;
}

UiProperty* UiProperty::UiPropertyFloat(UiPropertyList* list, UiPropertyType type,
                                        const wchar_t* label, float* value, float min,
                                        float max) {
  UiProperty* p = new (std::nothrow) UiProperty(list, type, label, value);
  if (!p) return nullptr;
  p->ranged = true;
  p->min.f = min;
  p->max.f = max;
  return p;
}

UiProperty* UiProperty::UiPropertyDialog(UiPropertyList* list, const wchar_t* label,
                                         UiPropertyCallback callback) {
  UiProperty* p = new (std::nothrow) UiProperty(list, UiPropDialog, label, nullptr);
  if (!p) return nullptr;
  p->callback = callback;
  return p;
}
