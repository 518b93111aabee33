// A data packet carried by nets: an id, a sequence byte, a format word and a
// payload, shared between packet sets by reference counting.
#pragma once

#include "foundation/memory_stream.h"

class SchPacket {
public:
  SchPacket();
  ~SchPacket();
  SchPacket(const SchPacket&) = delete;
  SchPacket& operator=(const SchPacket&) = delete;

  void AddRef() { ++useCount; }
  // Deletes the packet when no set holds it any more.
  void Release();
  // Packets alive in the process, to find leaks and double frees.
  static int LiveCount() { return liveCount_; }

  unsigned char id = 0;
  // A newer version of a packet is ahead by 1 to 127, modulo 256.
  unsigned char sequence = 0;
  int format = 0;
  int useCount = 0;
  CMemoryStream payload;

private:
  static int liveCount_;
};
