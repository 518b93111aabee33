// Wires, junctions and buses of a scheme. A wire is an orthogonal polyline
// between two ends; each end is free, on a block pin, on a junction slot or on
// a bus slot, and the pin or slot there points back at the wire.
//
// Polyline: vertices 0 .. count + 2. Vertex 0 is end 0, vertex count + 2 is
// end 1. Segment j runs horizontally when j + (firstDir & 1) is even; for
// j < count it ends at coords[j] on its axis, segment count ends at end 1's
// coordinate on its axis and the last segment ends at end 1.
#pragma once

#include <windows.h>

class SchScheme;
class CSCHBlock;
class SchNet;
class SchJunction;
class SchBus;
class CStream;
class SchIdTable;

// End kinds of a wire.
const int kWireEndFree = 0;
const int kWireEndPin = 1;
const int kWireEndJunction = 4;
const int kWireEndBus = 5;

// Unit steps of the four directions.
extern const int kDirDx[4];
extern const int kDirDy[4];

// Direction from a to b: for equal x, 3 when b is lower (greater y) else 1;
// otherwise 2 when b lies to the right, else 0.
int DirectionBetween(POINT a, POINT b);

// The program's single free-end point: where a free wire end is drawn (the
// scheme view sets it to the cursor while a wire is being drawn).
POINT GetFreeEndPoint();
void SetFreeEndPoint(POINT p);

struct SchWireEnd {
  void* target;         // block, junction or bus (a saved identity while loaded)
  int index;            // pin index, junction slot or bus slot
  unsigned char side;   // bus side (0 or 1)
  unsigned char spare[3];
};

class SchWire {
public:
  // Linked at the head of the scheme's wire list (a null scheme leaves it unlinked).
  explicit SchWire(SchScheme* scheme);
  ~SchWire();
  SchWire(const SchWire&) = delete;
  SchWire& operator=(const SchWire&) = delete;

  bool SetCoordinateCount(int n);
  int GetPointCount() const { return coordCount + 3; }
  POINT GetPoint(int vertex) const;
  POINT GetEndPoint(int end) const;
  // The direction in which the wire leaves that end.
  int GetEndDirection(int end) const;

  CSCHBlock* GetEndBlock(int end) const;
  SchJunction* GetEndJunction(int end) const;
  SchBus* GetEndBus(int end) const;

  // Editing; each answers success. An end that is not free is refused.
  bool AttachToPin(int end, CSCHBlock* block, int pin);
  bool AttachToJunction(int end, SchJunction* junction);
  bool AttachToBus(int end, SchBus* bus, int busSide, int slot);
  bool AttachToWireCorner(int end, SchWire* other, int vertex);
  bool AttachToWireSegment(int end, SchWire* other, int segment, POINT point);
  void Reverse();
  // Tidies the polyline; answers whether anything changed.
  bool Normalize();

  // Net building (scheme/simulation/nets.cpp): gives the wire and everything wired to
  // it one net; arrivingEnd (0, 1 or -1 for none) is not followed. Answers
  // the wire's net (null for wiring without pins).
  SchNet* BuildNet(SchNet* net, int arrivingEnd);

  // The wire record of the scheme stream; Load sets the loaded flag and
  // leaves saved identities in the end targets until ResolveIds.
  void Save(CStream* stream);
  void Load(CStream* stream);
  void ResolveIds(const SchIdTable& ids);

  // Fields, in this order.
  SchScheme* scheme = nullptr;
  SchWire* next = nullptr;
  SchWire* prev = nullptr;
  SchNet* net = nullptr;
  int savedId = 0;
  unsigned char flags = 0;     // 0x01 selected, 0x10 loaded
  unsigned char firstDir = 0;  // direction in which the wire leaves end 0
  int coordCount = 0;
  int* coords = nullptr;       // owned
  unsigned char kind = 0;      // pin kind it joins (0 electric, 4 hydraulic)
  int endKind[2] = {kWireEndFree, kWireEndFree};
  SchWireEnd ends[2] = {};
  // Net building only: visited in the current build, and the link of the
  // build's work list.
  unsigned char netMark = 0;
  SchWire* netLink = nullptr;

private:
  int EndDirectionFor(int end, int count, const int* c) const;
  POINT PointFor(int vertex, int count, const int* c) const;
  void SetEnd(int end, int kind, void* target, int index, int side);
  void PointTargetAt(int end);
  bool TakeOverEnd1(SchWire* from);
  bool AppendCoords(const int* values, int n);
  friend class SchJunction;
};

class SchJunction {
public:
  explicit SchJunction(SchScheme* scheme);
  ~SchJunction();
  SchJunction(const SchJunction&) = delete;
  SchJunction& operator=(const SchJunction&) = delete;

  // Takes the wire out of its slots. With two distinct wires left they are
  // merged into one and the junction deletes itself; with one wire (in one or
  // two slots) or none it deletes itself, freeing the wire's ends. Answers
  // whether the junction still exists.
  bool RemoveWire(SchWire* wire);
  bool NormalizeWires();
  POINT Position() const { return POINT{x, y}; }
  // Builds the nets of the wires in every other occupied slot (scheme/simulation/nets.cpp).
  SchNet* PropagateNet(SchNet* net, int slot);

  // The junction record of the scheme stream.
  void Save(CStream* stream);
  void Load(CStream* stream);
  void ResolveIds(const SchIdTable& ids);

  // Fields, in this order.
  int savedId = 0;
  SchScheme* scheme = nullptr;
  SchJunction* prev = nullptr;
  SchJunction* next = nullptr;
  unsigned char flags = 0;
  SchWire* wires[4] = {};             // slot d: the wire leaving in direction d
  unsigned char wireEnds[4] = {};     // which end of that wire is here
  int x = 0, y = 0;

private:
  void Merge(int slotR, int slotQ);
};

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
