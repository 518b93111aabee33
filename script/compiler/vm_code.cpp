#include "script/compiler/vm_code.h"

#include <climits>
#include <cstring>

#include "foundation/buffers.h"

VmCode::~VmCode() { Clear(); }

void VmCode::Clear() {
  FreeBuffer(bytes_);
  bytes_ = nullptr;
  size_ = capacity_ = 0;
  failed_ = false;
}

bool VmCode::EmitBytes(const void* data, int count) {
  if (failed_ || count < 0) return false;
  if (count > capacity_ - size_) {
    if (size_ > INT_MAX - count - kGrowStep) {
      failed_ = true;
      return false;
    }
    int needed = size_ + count;
    int grown = (needed + kGrowStep - 1) / kGrowStep * kGrowStep;
    void* block = ReallocBuffer(bytes_, static_cast<size_t>(grown));
    if (!block) {
      failed_ = true;
      return false;
    }
    bytes_ = static_cast<unsigned char*>(block);
    capacity_ = grown;
  }
  if (count) memcpy(bytes_ + size_, data, count);
  size_ += count;
  return true;
}

bool VmCode::EmitInt(int32_t value) {
  uint32_t u = static_cast<uint32_t>(value);
  unsigned char b[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                        static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
  return EmitBytes(b, 4);
}

bool VmCode::EmitDouble(double value) {
  uint64_t u;
  memcpy(&u, &value, 8);
  unsigned char b[8];
  for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(u >> (8 * i));
  return EmitBytes(b, 8);
}

bool VmCode::EmitString(const wchar_t* text) {
  if (text) {
    for (const wchar_t* p = text; *p; ++p) {
      unsigned char b[2] = {static_cast<unsigned char>(*p), static_cast<unsigned char>(*p >> 8)};
      if (!EmitBytes(b, 2)) return false;
    }
  }
  unsigned char zero[2] = {0, 0};
  return EmitBytes(zero, 2);
}

bool VmCode::PatchInt(int offset, int32_t value) {
  if (offset < 0 || offset > size_ - 4) return false;
  uint32_t u = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<unsigned char>(u >> (8 * i));
  return true;
}

double ReadCodeDouble(const unsigned char* p) {
  uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | p[i];
  double d;
  memcpy(&d, &u, 8);
  return d;
}
