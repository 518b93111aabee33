#include "app/import/device_payload.h"

#include <cstring>

CDevicePayload::CDevicePayload(const unsigned char* bytes, int length)
    : bytes_(bytes), length_(bytes && length > 0 ? length : 0) {}

std::string CDevicePayload::ReadText() {
  int start = position_;
  int end = start;
  while (end < length_ && bytes_[end] != 0) end++;
  std::string text(reinterpret_cast<const char*>(bytes_ + start), static_cast<size_t>(end - start));
  position_ = end < length_ ? end + 1 : length_;
  return text;
}

bool CDevicePayload::ReadFloat(float* value) {
  if (length_ - position_ < 4) return false;
  memcpy(value, bytes_ + position_, 4);
  position_ += 4;
  return true;
}
