// A datum of a running script: a tag and a payload. Values live on the
// machine's stack, in variables, in array items and in object properties.
#pragma once

#include <cstdint>

class CVMFunction;
class VmArray;
class VmObject;
class VmText;
class VmVariable;

enum VmValueType : unsigned char {
  VM_UNDEFINED = 0,
  VM_BOOLEAN = 1,
  VM_INTEGER = 2,
  VM_NUMBER = 3,
  VM_STRING = 4,
  VM_ARRAY = 5,
  VM_FUNCTION = 6,
  VM_OBJECT = 7,
  VM_REFERENCE = 8,
};

// What a reference names. A reference into a property or an array item also
// holds one count of the object or array it points into, and an item is found
// by its index each time it is read or written, so a reference never points
// into storage that was moved or freed meanwhile.
enum VmRefKind : unsigned char {
  kVmRefValue = 0,     // a value that outlives the reference (a global, a local, the scratch value)
  kVmRefProperty = 1,  // a property of an object
  kVmRefItem = 2,      // an item of an array, by index
};

// Room for the text form of any non-text value, terminator included.
const int kVmTextBufferChars = 32;

struct VmRefPayload {
  void* target;  // VmValue*, VmObject* or VmArray* by the kind
  union {
    VmVariable* property;
    int32_t index;
  };
};

class VmValue {
public:
  VmValue() : type(VM_UNDEFINED), refKind(kVmRefValue) { ref.target = nullptr; ref.index = 0; }
  ~VmValue() { Release(); }
  VmValue(const VmValue&) = delete;
  VmValue& operator=(const VmValue&) = delete;

  // Frees an owned text, drops one count of an array or object (and of the
  // owner of a reference); the value becomes undefined.
  void Release() {
    if (Owns(type) && !(type == VM_REFERENCE && refKind == kVmRefValue)) ReleaseOwned();
    type = VM_UNDEFINED;
  }
  // Tags whose payload holds a count or a text: strings, arrays, objects
  // and references (which count the object or array they point into).
  static bool Owns(int tag) { return ((1u << tag) & ((1u << VM_STRING) | (1u << VM_ARRAY) | (1u << VM_OBJECT) | (1u << VM_REFERENCE))) != 0; }
  // Makes the value undefined without releasing anything (its content was
  // moved elsewhere).
  void Clear() { type = VM_UNDEFINED; }

  void SetBool(bool v) {
    Release();
    type = VM_BOOLEAN;
    b = v;
  }
  void SetInt(int32_t v) {
    Release();
    type = VM_INTEGER;
    i = v;
  }
  void SetDouble(double v) {
    Release();
    type = VM_NUMBER;
    d = v;
  }
  // A copy of the text; a missing or empty text is stored as no text.
  void SetString(const wchar_t* text);
  void SetString(const wchar_t* text, int length);
  // Takes over one holder count of the text (null: the empty text).
  void TakeText(VmText* text);
  void SetArray(VmArray* a);
  void SetObject(VmObject* o);
  void SetFunction(CVMFunction* f);
  void SetReference(VmValue* v) {
    Release();
    type = VM_REFERENCE;
    refKind = kVmRefValue;
    ref.target = v;
    ref.index = 0;
  }
  void SetPropertyReference(VmObject* owner, VmVariable* property);
  void SetItemReference(VmArray* owner, int32_t index);
  // A copy by the source's tag: texts and arrays and objects shared with one
  // more count, scalars and pointers copied.
  void Assign(const VmValue& source) {
    if (!Owns(source.type) && !Owns(type)) {
      type = source.type;
      ref = source.ref;
    } else {
      AssignOwned(source);
    }
  }
  // Assign into a value known to be undefined (a slot just pushed).
  void AssignToUndefined(const VmValue& source) {
    if (!Owns(source.type)) {
      type = source.type;
      ref = source.ref;
    } else {
      AssignOwned(source);
    }
  }
  // Takes the tag and payload of source, which becomes undefined.
  void MoveFrom(VmValue& source) {
    if (&source == this) return;
    Release();
    type = source.type;
    refKind = source.refKind;
    ref = source.ref;
    source.type = VM_UNDEFINED;
  }

  bool ToBool() const {
    if (type == VM_BOOLEAN) return b;
    if (type == VM_INTEGER) return i != 0;
    return ToBoolOther();
  }
  int32_t ToInt() const { return type == VM_INTEGER ? i : ToIntOther(); }
  double ToDouble() const { return type == VM_NUMBER ? d : type == VM_INTEGER ? i : ToDoubleOther(); }
  // No text (null) for undefined and the empty text; the value's own text
  // for a string; otherwise the text form written into buffer.
  const wchar_t* ToText(wchar_t buffer[kVmTextBufferChars]) const;
  // The number of units of ToText.
  int TextLength() const;

  // The text of a string value, null when empty.
  const wchar_t* StringChars() const;
  int StringLength() const;

  // The value a reference names, or null when it names an item past the end
  // of its array (or the value is no reference).
  VmValue* RefTarget() const {
    if (type == VM_REFERENCE && refKind == kVmRefValue) return static_cast<VmValue*>(ref.target);
    return RefTargetOther();
  }
  // Whether two references name the same storage.
  bool SameReference(const VmValue& other) const;

private:
  void ReleaseOwned();
  void AssignOwned(const VmValue& source);
  bool ToBoolOther() const;
  int32_t ToIntOther() const;
  double ToDoubleOther() const;
  VmValue* RefTargetOther() const;

public:
  VmValueType type;
  VmRefKind refKind;
  union {
    bool b;
    int32_t i;
    double d;
    VmText* text;
    VmArray* array;
    CVMFunction* function;
    VmObject* object;
    VmRefPayload ref;
  };
};

// Type rules of arithmetic and comparison.
int GetArithmeticType(int a, int b);
int GetCommonType(int a, int b);
// Three-way comparison (-1, 0, 1) by the common type of the two tags.
int CompareValues(const VmValue& a, const VmValue& b);
// Ordinal comparison of two texts; null is the empty text, which comes
// before every non-empty text.
int CompareTexts(const wchar_t* a, int na, const wchar_t* b, int nb);
