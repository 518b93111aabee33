#include "components/electronic/chips/capacitor_access.h"

#include <cstring>
#include <vector>

#include "foundation/stream.h"
#include "scheme/block.h"

namespace {

const int kOwnFieldBytes = 1 + 4 + 4 + 1 + 4;  // flags, C, U, kind, colour
const unsigned char kVoltageIsFloat = 0x80;

}  // namespace

bool SetCapacitorFields(CSCHBlock* capacitor, float farads, float volts, int orientation, int kind) {
  if (!capacitor) return false;
  for (int i = 0; i < capacitor->pinCount; i++)
    if (capacitor->pins[i].wire) return false;
  CMemoryStream full, base;
  capacitor->Save(&full);
  capacitor->CSCHBlock::Save(&base);
  if (full.size != base.size + kOwnFieldBytes) return false;
  if (std::memcmp(full.data + kOwnFieldBytes, base.data, base.size) != 0) return false;
  std::vector<unsigned char> bytes(full.data, full.data + full.size);
  bytes[0] = static_cast<unsigned char>((orientation & 0x7F) | kVoltageIsFloat);
  std::memcpy(&bytes[1], &farads, 4);
  std::memcpy(&bytes[5], &volts, 4);
  bytes[9] = static_cast<unsigned char>(kind);
  CMemoryStream patched;
  patched.Write(bytes.data(), static_cast<int>(bytes.size()));
  patched.Seek(0, 0);
  const unsigned char flags = capacitor->flags;
  capacitor->Load(&patched);
  // Load marks a block read from a document; this one was only refilled.
  capacitor->flags = flags;
  capacitor->savedId = 0;
  return true;
}
