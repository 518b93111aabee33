#include "blocks/engine/record_io.h"

#include <cstring>
#include <string>

#include "foundation/buffers.h"
#include "foundation/stream.h"

bool ReadExact(CStream* stream, void* data, int length) {
  if (length <= 0) return length == 0;
  if (BytesLeft(stream) < length) return false;
  return stream->Read(data, length) == length;
}

bool ReadInt32Checked(CStream* stream, int* value) {
  unsigned char b[4];
  if (!ReadExact(stream, b, 4)) return false;
  *value = static_cast<int>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<unsigned>(b[3]) << 24));
  return true;
}

bool ReadUInt32Checked(CStream* stream, unsigned int* value) {
  int v;
  if (!ReadInt32Checked(stream, &v)) return false;
  *value = static_cast<unsigned int>(v);
  return true;
}

bool ReadByteChecked(CStream* stream, unsigned char* value) {
  return ReadExact(stream, value, 1);
}

bool ReadFloatChecked(CStream* stream, float* value) {
  unsigned char b[4];
  if (!ReadExact(stream, b, 4)) return false;
  memcpy(value, b, 4);
  return true;
}

bool ReadDoubleChecked(CStream* stream, double* value) {
  unsigned char b[8];
  if (!ReadExact(stream, b, 8)) return false;
  memcpy(value, b, 8);
  return true;
}

bool ReadStringWChecked(CStream* stream, wchar_t** text) {
  *text = nullptr;
  std::wstring read;
  for (;;) {
    unsigned char b[2];
    if (!ReadExact(stream, b, 2)) return false;
    wchar_t unit = static_cast<wchar_t>(b[0] | (b[1] << 8));
    if (unit == 0) break;
    read.push_back(unit);
  }
  if (read.empty()) return true;
  *text = DupString(read.c_str());
  return *text != nullptr;
}

int BytesLeft(CStream* stream) {
  int left = stream->GetSize() - stream->GetPosition();
  return left > 0 ? left : 0;
}
