// The device-list file that the 3ds Max side writes for a robot model: a
// sequence of records, each an instance name (8-bit text, code page 1251,
// zero-terminated; an empty name ends the list), a four-character tag, an
// int32 payload length and the payload. Every read stays inside the bytes
// given: a record that runs past them is reported as damaged.
#pragma once

#include <string>

// What reading one record found.
enum class DeviceRecordRead {
  kRecord,  // a whole record
  kEnd,     // the end of the list: the end of the bytes or an empty name
  kDamaged  // a name without its terminator, a header or payload cut short,
            // or a negative length
};

struct DeviceRecord {
  std::wstring name;   // converted from code page 1251
  char tag[5] = {};    // four characters and a terminator
  int payloadStart = 0;
  int payloadLength = 0;
};

class CDeviceListReader {
public:
  // The bytes are not copied and must outlive the reader.
  CDeviceListReader(const unsigned char* bytes, int size);

  // Reads the record at the current position; on kRecord the position moves
  // to the first byte after its payload. On kEnd and kDamaged the position
  // stays where the record began.
  DeviceRecordRead Next(DeviceRecord* record);
  int Position() const { return position_; }

private:
  const unsigned char* bytes_;
  int size_;
  int position_ = 0;
};

// 8-bit text of code page 1251 as UTF-16.
std::wstring Cp1251ToWide(const char* text, int length);
