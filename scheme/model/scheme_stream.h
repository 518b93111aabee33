// The "SPH1" scheme stream: the program-wide linked 3D-model path that every
// stream carries, and the identity table of one read's resolve pass.
// SchScheme::Write and SchScheme::Read are declared in scheme.h.
#pragma once

#include "foundation/plain_array.h"

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
  // Indexes the objects of one read, each list in the order read; false
  // when memory ran out. The lists must outlive the table.
  bool Build(CSCHBlock* const* blocks, int blockCount, SchWire* const* wires, int wireCount,
             SchJunction* const* junctions, int junctionCount, SchBus* const* buses, int busCount);
  CSCHBlock* Block(int id) const { return Find(blocks_, blockIds_, id); }
  SchWire* Wire(int id) const { return Find(wires_, wireIds_, id); }
  SchJunction* Junction(int id) const { return Find(junctions_, junctionIds_, id); }
  SchBus* Bus(int id) const { return Find(buses_, busIds_, id); }

  // Families of the blocks indexed, for the resolve pass: whether two
  // blocks are in one family tree, and joining two trees. A block that has
  // no parent heads its tree, so making it a child of a block in the same
  // tree would close a ring of parents. Near constant time per call; only
  // blocks that their identity names take part.
  bool SameFamily(CSCHBlock* a, CSCHBlock* b);
  void JoinFamilies(CSCHBlock* a, CSCHBlock* b);

private:
  // The objects of one kind by identity: where the identities run from 1
  // with few gaps (as Write numbers them) an array by identity, otherwise a
  // list sorted by identity. Answers the position of the last object read
  // with an identity, -1 for none (always for 0).
  class Index {
  public:
    template <class T>
    bool Build(T* const* objects, int count);
    int Find(int id) const;

  private:
    struct Entry {
      int id;
      int position;
    };
    bool dense_ = true;
    CPlainArray<int> byId_;  // 1 + position, 0 for none
    CPlainArray<Entry> sorted_;
  };
  template <class T>
  static T* Find(T* const* objects, const Index& index, int id) {
    int position = index.Find(id);
    return position >= 0 ? objects[position] : nullptr;
  }
  int FamilyIndex(CSCHBlock* block) const;
  int FamilyRoot(int i);

  CSCHBlock* const* blocks_ = nullptr;
  SchWire* const* wires_ = nullptr;
  SchJunction* const* junctions_ = nullptr;
  SchBus* const* buses_ = nullptr;
  Index blockIds_, wireIds_, junctionIds_, busIds_;
  CPlainArray<int> familyUp_;    // by block position: union-find links, itself at a root
  CPlainArray<int> familySize_;  // members under a root
};
