// The "SPH1" scheme stream: the program-wide linked 3D-model path that every
// stream carries, and the identity table of one read's resolve pass.
// SchScheme::Write and SchScheme::Read are declared in scheme.h.
#pragma once

#include <unordered_map>
#include <vector>

class CStream;
class CSCHBlock;
class SchWire;
class SchJunction;
class SchBus;

const char kSchStreamMagic[4] = {'S', 'P', 'H', '1'};
const int kSchStreamHeader = 208;

// Check byte of a model path: 0x99 XOR every byte of its UTF-16LE code units
// (terminator excluded); 0x99 for no path.
unsigned char ComputeModelPathChecksum(const wchar_t* path);

// The current linked 3D-model path (null when none) and check byte. Before
// any path is set the check byte is 0x99.
const wchar_t* GetModelPath();
unsigned char GetModelPathCheck();
// Links a model: the path (copied; null clears it) and its computed check
// byte. Both answer false, keeping the old path, when the copy cannot be made.
bool SetModelPath(const wchar_t* path);
// Path and check byte as a stream carried them.
bool SetModelPathAndCheck(const wchar_t* path, unsigned char check);

// A record that cannot be read whole (memory ran out) marks the stream of
// the scheme read it belongs to: that read then fails and keeps nothing of
// the stream. Nothing happens for a stream no scheme read is reading.
void MarkSchemeRecordBroken(CStream* stream);

// The objects one Read created, by saved identity. Where a stream repeats an
// identity, the object read last wins (it is the first in list order).
class SchIdTable {
public:
  void Add(CSCHBlock* block);
  void Add(SchWire* wire);
  void Add(SchJunction* junction);
  void Add(SchBus* bus);
  CSCHBlock* Block(int id) const { return Get(blocks_, id); }
  SchWire* Wire(int id) const { return Get(wires_, id); }
  SchJunction* Junction(int id) const { return Get(junctions_, id); }
  SchBus* Bus(int id) const { return Get(buses_, id); }

  // Families of the blocks added, for the resolve pass: whether two blocks
  // are in one family tree, and joining two trees. A block that has no
  // parent heads its tree, so making it a child of a block in the same tree
  // would close a ring of parents. Near constant time per call.
  bool SameFamily(CSCHBlock* a, CSCHBlock* b);
  void JoinFamilies(CSCHBlock* a, CSCHBlock* b);

private:
  int FamilyIndex(CSCHBlock* block) const;
  int FamilyRoot(int i);
  template <class T>
  static T* Get(const std::unordered_map<int, T*>& map, int id) {
    if (id == 0) return nullptr;
    auto it = map.find(id);
    return it == map.end() ? nullptr : it->second;
  }
  std::unordered_map<int, CSCHBlock*> blocks_;
  std::unordered_map<int, SchWire*> wires_;
  std::unordered_map<int, SchJunction*> junctions_;
  std::unordered_map<int, SchBus*> buses_;
  std::unordered_map<CSCHBlock*, int> familyIndex_;
  std::vector<int> familyUp_;    // union-find links, an index to itself at a root
  std::vector<int> familySize_;  // members under a root
};
