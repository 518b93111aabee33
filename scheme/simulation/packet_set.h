// Data packets carried by nets. A producer keeps its current packets in a
// set and hands the set to a net; readers compare sets and take what is new.
// Packets are shared between sets by reference counting.
#pragma once

class SchPacket;

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
