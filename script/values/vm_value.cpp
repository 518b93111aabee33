#include "script/values/vm_value.h"

#include <cmath>
#include <cwchar>

#include "script/values/vm_array.h"
#include "script/values/vm_number_text.h"
#include "script/values/vm_object.h"
#include "script/values/vm_text.h"
#include "script/values/vm_variable.h"

void VmValue::ReleaseOwned() {
  switch (type) {
    case VM_STRING:
      if (text) text->Release();
      break;
    case VM_ARRAY:
      array->Release();
      break;
    case VM_OBJECT:
      object->Release();
      break;
    case VM_REFERENCE:
      if (refKind == kVmRefProperty) static_cast<VmObject*>(ref.target)->Release();
      else if (refKind == kVmRefItem) static_cast<VmArray*>(ref.target)->Release();
      break;
    default:
      break;
  }
  type = VM_UNDEFINED;
}

void VmValue::SetString(const wchar_t* chars) { SetString(chars, chars ? static_cast<int>(wcslen(chars)) : 0); }

void VmValue::SetString(const wchar_t* chars, int length) { TakeText(VmText::Create(chars, length)); }

void VmValue::TakeText(VmText* t) {
  Release();
  type = VM_STRING;
  text = t;
}

void VmValue::SetArray(VmArray* a) {
  a->AddRef();
  Release();
  type = VM_ARRAY;
  array = a;
}

void VmValue::SetObject(VmObject* o) {
  o->AddRef();
  Release();
  type = VM_OBJECT;
  object = o;
}

void VmValue::SetFunction(CVMFunction* f) {
  Release();
  type = VM_FUNCTION;
  function = f;
}

void VmValue::SetPropertyReference(VmObject* owner, VmVariable* property) {
  owner->AddRef();
  Release();
  type = VM_REFERENCE;
  refKind = kVmRefProperty;
  ref.target = owner;
  ref.property = property;
}

void VmValue::SetItemReference(VmArray* owner, int32_t index) {
  owner->AddRef();
  Release();
  type = VM_REFERENCE;
  refKind = kVmRefItem;
  ref.target = owner;
  ref.index = index;
}

void VmValue::AssignOwned(const VmValue& source) {
  if (&source == this) return;
  // Counts are taken before anything is released, so a value assigned from
  // something it holds stays valid.
  switch (source.type) {
    case VM_STRING:
      if (source.text) source.text->AddRef();
      break;
    case VM_ARRAY:
      source.array->AddRef();
      break;
    case VM_OBJECT:
      source.object->AddRef();
      break;
    case VM_REFERENCE:
      if (source.refKind == kVmRefProperty) static_cast<VmObject*>(source.ref.target)->AddRef();
      else if (source.refKind == kVmRefItem) static_cast<VmArray*>(source.ref.target)->AddRef();
      break;
    default:
      break;
  }
  Release();
  type = source.type;
  refKind = source.refKind;
  ref = source.ref;  // the widest member carries every payload
}


VmValue* VmValue::RefTargetOther() const {
  if (type != VM_REFERENCE) return nullptr;
  switch (refKind) {
    case kVmRefProperty:
      return &ref.property->value;
    case kVmRefItem: {
      VmArray* a = static_cast<VmArray*>(ref.target);
      return ref.index >= 0 && ref.index < a->count ? &a->items[ref.index] : nullptr;
    }
    default:
      return static_cast<VmValue*>(ref.target);
  }
}

bool VmValue::SameReference(const VmValue& other) const {
  if (type != VM_REFERENCE || other.type != VM_REFERENCE) return false;
  if (refKind == kVmRefItem || other.refKind == kVmRefItem)
    return refKind == other.refKind && ref.target == other.ref.target && ref.index == other.ref.index;
  return RefTarget() == other.RefTarget();
}

bool VmValue::ToBoolOther() const {
  switch (type) {
    case VM_BOOLEAN:
      return b;
    case VM_INTEGER:
      return i != 0;
    case VM_NUMBER:
      return d != 0;  // a NaN is unequal to 0, so true
    case VM_STRING:
      return text && text->Length() == 4 && wcscmp(text->Chars(), L"true") == 0;
    case VM_ARRAY:
    case VM_FUNCTION:
    case VM_OBJECT:
      return true;
    case VM_REFERENCE:
      return RefTarget() != nullptr;
    default:
      return false;
  }
}

int32_t VmValue::ToIntOther() const {
  switch (type) {
    case VM_BOOLEAN:
      return b ? 1 : 0;
    case VM_INTEGER:
      return i;
    case VM_NUMBER:
      // Truncated toward zero; what does not fit (NaN included) is the
      // smallest integer, as the processor's conversion gives.
      if (d > -2147483649.0 && d < 2147483648.0) return static_cast<int32_t>(d);
      return -2147483647 - 1;
    case VM_STRING: {
      if (!text) return 0;
      const wchar_t* s = text->Chars();
      if (s[0] == L'0' && s[1] == L'x') return ParseHexText(s + 2);
      return VmParseLeadingInt(s);
    }
    case VM_ARRAY:
    case VM_FUNCTION:
    case VM_OBJECT:
      return 1;
    case VM_REFERENCE:
      return RefTarget() ? 1 : 0;
    default:
      return 0;
  }
}

double VmValue::ToDoubleOther() const {
  switch (type) {
    case VM_BOOLEAN:
      return b ? 1 : 0;
    case VM_INTEGER:
      return i;
    case VM_NUMBER:
      return d;
    case VM_STRING:
      return text ? ParseLeadingDouble(text->Chars()) : 0;
    case VM_ARRAY:
    case VM_FUNCTION:
    case VM_OBJECT:
      return 1;
    case VM_REFERENCE:
      return RefTarget() ? 1 : 0;
    default:
      return 0;
  }
}

const wchar_t* VmValue::ToText(wchar_t buffer[kVmTextBufferChars]) const {
  switch (type) {
    case VM_BOOLEAN:
      buffer[0] = b ? L'1' : L'0';
      buffer[1] = 0;
      return buffer;
    case VM_INTEGER:
      return FormatIntText(i, buffer);
    case VM_NUMBER:
      return FormatDoubleText(d, buffer);
    case VM_STRING:
      return text ? text->Chars() : nullptr;
    case VM_ARRAY:
      return wcscpy(buffer, L"[array]");
    case VM_FUNCTION:
      return wcscpy(buffer, L"[function]");
    case VM_OBJECT:
      return wcscpy(buffer, L"[object]");
    case VM_REFERENCE:
      return wcscpy(buffer, L"[ref]");
    default:
      return nullptr;
  }
}

int VmValue::TextLength() const {
  if (type == VM_STRING) return text ? text->Length() : 0;
  wchar_t buffer[kVmTextBufferChars];
  const wchar_t* t = ToText(buffer);
  return t ? static_cast<int>(wcslen(t)) : 0;
}

const wchar_t* VmValue::StringChars() const { return type == VM_STRING && text ? text->Chars() : nullptr; }

int VmValue::StringLength() const { return type == VM_STRING && text ? text->Length() : 0; }

int GetArithmeticType(int a, int b) {
  if (a == VM_STRING) a = VM_INTEGER;
  if (b == VM_STRING) b = VM_INTEGER;
  if (a > VM_NUMBER || b > VM_NUMBER) return 0;
  return a > b ? a : b;
}

int GetCommonType(int a, int b) {
  if (a <= VM_STRING && b <= VM_STRING) return a > b ? a : b;
  return a == b ? a : 0;
}

int CompareTexts(const wchar_t* a, int na, const wchar_t* b, int nb) {
  if (!a) na = 0;
  if (!b) nb = 0;
  int n = na < nb ? na : nb;
  for (int k = 0; k < n; ++k) {
    if (a[k] != b[k]) return static_cast<unsigned short>(a[k]) < static_cast<unsigned short>(b[k]) ? -1 : 1;
  }
  return na < nb ? -1 : na > nb ? 1 : 0;
}

int CompareValues(const VmValue& a, const VmValue& b) {
  switch (GetCommonType(a.type, b.type)) {
    case VM_BOOLEAN: {
      bool x = a.ToBool(), y = b.ToBool();
      return x == y ? 0 : x ? 1 : -1;
    }
    case VM_INTEGER: {
      int32_t x = a.ToInt(), y = b.ToInt();
      return x < y ? -1 : x > y ? 1 : 0;
    }
    case VM_NUMBER: {
      double x = a.ToDouble(), y = b.ToDouble();
      return x < y ? -1 : x > y ? 1 : 0;
    }
    case VM_STRING: {
      wchar_t ba[kVmTextBufferChars], bb[kVmTextBufferChars];
      const wchar_t* x = a.ToText(ba);
      const wchar_t* y = b.ToText(bb);
      int nx = a.type == VM_STRING ? a.StringLength() : (x ? static_cast<int>(wcslen(x)) : 0);
      int ny = b.type == VM_STRING ? b.StringLength() : (y ? static_cast<int>(wcslen(y)) : 0);
      return CompareTexts(x, nx, y, ny);
    }
    case VM_ARRAY: {
      int x = a.array->count, y = b.array->count;
      return x < y ? -1 : x > y ? 1 : 0;
    }
    default:
      return 0;
  }
}
