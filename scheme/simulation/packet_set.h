// Data packets carried by nets. A producer keeps its current packets in a
// set and hands the set to a net; readers compare sets and take what is new.
// Packets are shared between sets by reference counting.
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

class SchPacketSet {
public:
  SchPacketSet() {}
  ~SchPacketSet();
  SchPacketSet(const SchPacketSet&) = delete;
  SchPacketSet& operator=(const SchPacketSet&) = delete;

  int FindId(int id) const;
  // Both answer false, changing nothing, when the array cannot grow.
  bool Append(SchPacket* packet);
  bool Put(SchPacket* packet);
  void RemoveAt(int index);
  // A new set holding the same packets; null for null (or no memory).
  static SchPacketSet* Clone(const SchPacketSet* set);
  bool Equals(const SchPacketSet* other) const;
  // Afterwards both sets hold the newer packet of every id either had.
  void Merge(SchPacketSet* other);

  int count = 0;
  SchPacket** packets = nullptr;  // capacity: count rounded up to 4
};
