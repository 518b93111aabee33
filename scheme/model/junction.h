// A junction of a scheme: joins up to four wires, one slot per direction.
#pragma once

#include <windows.h>

class SchScheme;
class SchNet;
class SchWire;
class CStream;
class SchIdTable;

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
