// The payload of a record of the device-list file.
#pragma once

#include <string>

// The fields of one payload, read in order and never past its end.
class CDevicePayload {
public:
  CDevicePayload(const unsigned char* bytes, int length);
  // The next zero-terminated 8-bit text; a text that the payload ends
  // before its terminator is taken up to the payload's end. "" once the
  // payload is used up.
  std::string ReadText();
  // The next float32; false (and *value unchanged) when fewer than four
  // bytes are left.
  bool ReadFloat(float* value);

private:
  const unsigned char* bytes_;
  int length_;
  int position_ = 0;
};
