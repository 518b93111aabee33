#include "app/import/device_list.h"

#include <windows.h>

#include <cstring>

namespace {

const int kDeviceCodePage = 1251;
const int kTagBytes = 4;
const int kLengthBytes = 4;

}  // namespace

std::wstring Cp1251ToWide(const char* text, int length) {
  if (!text || length <= 0) return std::wstring();
  int need = MultiByteToWideChar(kDeviceCodePage, 0, text, length, nullptr, 0);
  if (need <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(need), L'\0');
  int got = MultiByteToWideChar(kDeviceCodePage, 0, text, length, &wide[0], need);
  wide.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return wide;
}

CDeviceListReader::CDeviceListReader(const unsigned char* bytes, int size)
    : bytes_(bytes), size_(bytes && size > 0 ? size : 0) {}

DeviceRecordRead CDeviceListReader::Next(DeviceRecord* record) {
  int p = position_;
  if (p >= size_) return DeviceRecordRead::kEnd;
  if (bytes_[p] == 0) return DeviceRecordRead::kEnd;
  const void* zero = memchr(bytes_ + p, 0, static_cast<size_t>(size_ - p));
  if (!zero) return DeviceRecordRead::kDamaged;
  int nameLength = static_cast<int>(static_cast<const unsigned char*>(zero) - (bytes_ + p));
  int header = p + nameLength + 1;
  if (size_ - header < kTagBytes + kLengthBytes) return DeviceRecordRead::kDamaged;
  int length = 0;
  memcpy(&length, bytes_ + header + kTagBytes, kLengthBytes);
  int payload = header + kTagBytes + kLengthBytes;
  if (length < 0 || length > size_ - payload) return DeviceRecordRead::kDamaged;

  record->name = Cp1251ToWide(reinterpret_cast<const char*>(bytes_ + p), nameLength);
  memcpy(record->tag, bytes_ + header, kTagBytes);
  record->tag[kTagBytes] = 0;
  record->payloadStart = payload;
  record->payloadLength = length;
  position_ = payload + length;
  return DeviceRecordRead::kRecord;
}
