// A bus of a scheme: an orthogonal polyline carrying wires in the slots of
// its two sides.
#pragma once

#include <windows.h>

class SchScheme;
class SchNet;
class SchWire;
class CStream;
class SchIdTable;

class SchBus {
public:
  explicit SchBus(SchScheme* scheme);
  ~SchBus();  // deletes the wires in its slots
  SchBus(const SchBus&) = delete;
  SchBus& operator=(const SchBus&) = delete;

  bool SetCoordinateCount(int n);
  // New slots are empty; a caller that shrinks the bus detaches the wires of
  // the dropped slots first.
  bool SetSlotCount(int n);
  int GetPointCount() const { return coordCount + 3; }
  POINT GetPoint(int vertex) const;
  // Outward direction at that end.
  int GetEndSide(int end) const;
  POINT GetSlotPoint(int end, int slot) const;
  // Builds the net of the wire in the same slot of the other side
  // (scheme/simulation/nets.cpp); the net unchanged when that slot is empty.
  SchNet* PropagateNet(SchNet* net, int side, int slot);

  // The bus record of the scheme stream (Load also reads the older form).
  void Save(CStream* stream);
  void Load(CStream* stream);
  void ResolveIds(const SchIdTable& ids);

  // Fields, in this order.
  SchScheme* scheme = nullptr;
  SchBus* next = nullptr;
  SchBus* prev = nullptr;
  int savedId = 0;
  unsigned short slotCount = 0;
  unsigned char flags = 0;  // 0x01 selected, 0x10 loaded, 0x80 current stream format
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  unsigned char endDir = 0;  // outward direction at end 0
  int coordCount = 0;
  int* coords = nullptr;
  SchWire** wires[2] = {};              // per side, slotCount entries
  unsigned char* wireEnds[2] = {};      // per side, slotCount entries
};
