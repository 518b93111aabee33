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
const int kSchWireEndFree = 0;
const int kSchWireEndPin = 1;
const int kSchWireEndJunction = 4;
const int kSchWireEndBus = 5;

// Unit steps of the four directions.
extern const int kSchDirDx[4];
extern const int kSchDirDy[4];

// Direction from a to b: for equal x, 3 when b is lower (greater y) else 1;
// otherwise 2 when b lies to the right, else 0.
int DirectionBetween(POINT a, POINT b);

// The program's single free-end point: where a free wire end is drawn (the
// scheme view sets it to the cursor while a wire is being drawn).
POINT GetFreeEndPoint();
void SetFreeEndPoint(POINT p);
// Polyline geometry shared by wires and buses. ResizeCoords sets a coordinate
// array to n entries (new ones zero); PolylinePoint is a vertex of the polyline
// from its end points, first direction and coordinates; PolylineEnd1Direction
// is the direction in which it leaves end 1.
bool ResizeCoords(int*& array, int& count, int n);
POINT PolylinePoint(POINT e0, POINT e1, int firstDir, int count, const int* c, int vertex);
int PolylineEnd1Direction(POINT e0, POINT e1, int firstDir, int count, const int* c);

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
  int endKind[2] = {kSchWireEndFree, kSchWireEndFree};
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
