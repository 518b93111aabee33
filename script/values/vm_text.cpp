#include "script/values/vm_text.h"

#include <cstring>
#include <new>

#include "foundation/buffers.h"
#include "script/machine/vm_live_counts.h"

VmText* VmText::Allocate(int length) {
  if (length <= 0 || length > kMaxLength) return nullptr;
  size_t bytes = offsetof(VmText, chars_) + (static_cast<size_t>(length) + 1) * sizeof(wchar_t);
  void* block = AllocBuffer(bytes);
  if (!block) return nullptr;
  VmText* text = new (block) VmText();
  text->refs_ = 1;
  text->length_ = length;
  text->capacity_ = length;
  text->chars_[length] = 0;
  ++g_vmLiveCounts.texts;
  return text;
}

VmText* VmText::Create(const wchar_t* a, int n, const wchar_t* b, int m) {
  if (!a || n < 0) n = 0;
  if (!b || m < 0) m = 0;
  if (n > kMaxLength - m) return nullptr;
  VmText* text = Allocate(n + m);
  if (!text) return nullptr;
  if (n) memcpy(text->chars_, a, n * sizeof(wchar_t));
  if (m) memcpy(text->chars_ + n, b, m * sizeof(wchar_t));
  return text;
}

VmText* VmText::CreateFromBytes(const unsigned char* bytes, int n) {
  VmText* text = Allocate(n);
  if (!text) return nullptr;
  for (int i = 0; i < n; ++i)
    text->chars_[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return text;
}

bool VmText::AppendInPlace(VmText** slot, const wchar_t* b, int m) {
  VmText* t = *slot;
  if (m <= 0) return true;
  if (t->length_ > kMaxLength - m) return false;
  int needed = t->length_ + m;
  if (needed > t->capacity_) {
    int grown = t->capacity_ + t->capacity_ / 2 + 16;
    if (grown < needed) grown = needed;
    if (grown > kMaxLength) grown = kMaxLength;
    size_t bytes = offsetof(VmText, chars_) + (static_cast<size_t>(grown) + 1) * sizeof(wchar_t);
    void* block = ReallocBuffer(t, bytes);
    if (!block) return false;
    t = static_cast<VmText*>(block);
    t->capacity_ = grown;
    *slot = t;
  }
  memcpy(t->chars_ + t->length_, b, m * sizeof(wchar_t));
  t->length_ = needed;
  t->chars_[needed] = 0;
  return true;
}

void VmText::Release() {
  if (--refs_ > 0) return;
  --g_vmLiveCounts.texts;
  this->~VmText();
  FreeBuffer(this);
}
