// An electrical net: the running sums of its pins' contributions, its data
// source and the pins and wires it joins (the pin model: pin_model.h).
#pragma once

class CSCHBlock;
class SchScheme;
class SchWire;
struct SchSignalSource;

// One pin of a net.
struct SchNetPin {
  CSCHBlock* block;
  int pin;
};

class SchNet {
public:
  // Linked at the head of the scheme's net list (a null scheme leaves the
  // net unlinked). Sums 0, 1, 0, 1; no source, no pins.
  explicit SchNet(SchScheme* scheme);
  // Unlinks and frees the arrays; the pins' and wires' net fields are the
  // caller's (SchScheme::DeleteNets).
  ~SchNet();
  SchNet(const SchNet&) = delete;
  SchNet& operator=(const SchNet&) = delete;

  // Appends the pin and points it at this net; false when out of memory (the
  // pin is then left as it was).
  bool AddPin(CSCHBlock* block, int pin);
  // Remembers a wire of the net, so that merging can repoint it.
  bool AddWire(SchWire* wire);
  // Takes the other net's pins and wires, points them at this net and
  // deletes the other net; every scheme (of the other net or of one of its
  // pins) whose common ground net it was gets this one instead. Sums and
  // sources are not combined (Start recomputes the sums). Nothing for null
  // or this net; false, changing nothing, when out of memory.
  bool Merge(SchNet* other);
  // The four sums from the pins' contributions.
  void Recalculate();

  // Fields, in this order.
  SchScheme* scheme = nullptr;
  SchNet* prev = nullptr;
  SchNet* next = nullptr;
  int sourceKind = 0;
  SchSignalSource* source = nullptr;
  double sumI = 0, sumG = 1.0, sumI2 = 0, sumG2 = 1.0;
  int pinCount = 0;
  SchNetPin* pins = nullptr;  // capacity a multiple of 8
  int wireCount = 0;
  SchWire** wires = nullptr;  // capacity a multiple of 8

private:
  int pinCapacity_ = 0;
  int wireCapacity_ = 0;
};
