// A script object: a list of named properties, shared by counted holders and
// kept in its machine's list of objects.
#pragma once

#include <cstdint>

class VmEngine;
class VmVariable;

class VmObject {
public:
  // No properties, count 0, linked at the head of the machine's list.
  explicit VmObject(VmEngine* engine);
  ~VmObject();  // deletes the properties and unlinks the object
  VmObject(const VmObject&) = delete;
  VmObject& operator=(const VmObject&) = delete;

  // The newest property with exactly that name, or null.
  VmVariable* FindProperty(const wchar_t* name) const;
  VmVariable* FindProperty(const wchar_t* name, uint32_t hash) const;
  // A new undefined property at the head; null when memory ran out.
  VmVariable* AddProperty(const wchar_t* name);

  void AddRef() { ++refs; }
  // Drops one count; the object is deleted at 0 or below.
  void Release();

  VmEngine* engine;
  VmVariable* properties = nullptr;
  int refs = 0;
  VmObject* next = nullptr;
  VmObject* previous = nullptr;

private:
  friend class VmEngine;
  void DeleteProperties();
  bool dropped_ = false;  // queued for deletion
};
