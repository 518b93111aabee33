#include "scheme/model/scheme_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/buffer_failure_scope.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "foundation/stream.h"
#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/junction.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "support/test_support.h"

namespace {

// ---------------------------------------------------------------- parts

// Two pins: 0 on the left, 1 on the right; designators U1, U2, ...
class Part2 : public CSCHBlock {
public:
  Part2() {
    namePrefix = L"U";
    if (!SetPinCount(2)) return;  // memory refused: a part without pins
    pins[0].side = kSchSideLeft;
    pins[1].side = kSchSideRight;
  }
};

// Its Load creates a part of its own in the same scheme, after the record.
class Adder : public CSCHBlock {
public:
  Adder() { SetPinCount(1); }
  void Load(CStream* s) override {
    CSCHBlock::Load(s);
    if (scheme) scheme->CreateBlock("Part2");
  }
};

// Owns a nested scheme, written whole before the base record.
class Holder : public CSCHBlock {
public:
  Holder() : inner(new SchScheme) {}
  ~Holder() override { delete inner; }
  void Save(CStream* s) override {
    inner->Write(s, 0);
    CSCHBlock::Save(s);
  }
  void Load(CStream* s) override {
    inner->DeleteObjects();
    inner->Read(s, 0);
    CSCHBlock::Load(s);
  }
  SchScheme* inner;
};

// Its Load throws after the base record, as a block whose record cannot be
// taken at all does.
class Thrower : public CSCHBlock {
public:
  Thrower() { SetPinCount(1); }
  void Load(CStream* s) override {
    CSCHBlock::Load(s);
    throw std::runtime_error("record refused");
  }
};

CSCHBlock* NewPart2() { return new Part2; }
CSCHBlock* NewPlain() { return new CSCHBlock; }
CSCHBlock* NewAdder() { return new Adder; }
CSCHBlock* NewHolder() { return new Holder; }

// ---------------------------------------------------------------- links

void LinkPin(SchWire* w, int e, CSCHBlock* b, int pin) {
  w->endKind[e] = kSchWireEndPin;
  w->ends[e].target = b;
  w->ends[e].index = pin;
  b->pins[pin].wire = w;
  b->pins[pin].wireEnd = static_cast<unsigned char>(e);
}

void LinkJunction(SchWire* w, int e, SchJunction* j, int slot) {
  w->endKind[e] = kSchWireEndJunction;
  w->ends[e].target = j;
  w->ends[e].index = slot;
  j->wires[slot] = w;
  j->wireEnds[slot] = static_cast<unsigned char>(e);
}

void LinkBus(SchWire* w, int e, SchBus* b, int side, int slot) {
  w->endKind[e] = kSchWireEndBus;
  w->ends[e].target = b;
  w->ends[e].index = slot;
  w->ends[e].side = static_cast<unsigned char>(side);
  b->wires[side][slot] = w;
  b->wireEnds[side][slot] = static_cast<unsigned char>(e);
}

void SetCoords(SchWire* w, std::vector<int> c) {
  ASSERT_TRUE(w->SetCoordinateCount(static_cast<int>(c.size())));
  for (size_t i = 0; i < c.size(); i++) w->coords[i] = c[i];
}

template <class T>
int IndexOf(const T* head, const void* p) {
  int i = 0;
  for (const T* t = head; t; t = t->next, i++)
    if (t == p) return i;
  return p ? -2 : -1;  // -2: points at something outside the list
}

// Everything the stream carries, with links as list positions, so two
// schemes compare as texts.
std::wstring Describe(const SchScheme* s) {
  std::wostringstream o;
  for (const CSCHBlock* b = s->blocks; b; b = b->next) {
    o << L"B " << (b->className ? b->className : "-") << L" " << (b->instanceName ? b->instanceName : L"-")
      << L" f" << int(b->flags) << L" id" << b->savedId << L" m" << (b->model ? b->model : "-") << L" o"
      << (b->options ? b->options : "-") << L" t" << (b->tableName ? b->tableName : L"-") << L" $" << b->price
      << L" r" << b->rect.left << L"," << b->rect.top << L"," << b->rect.right << L"," << b->rect.bottom
      << L" xy" << b->boardX << L"," << b->boardY << L" q" << b->orientation << L" pins";
    for (int i = 0; i < b->pinCount; i++)
      o << L" " << IndexOf(s->wires, b->pins[i].wire) << L"/" << int(b->pins[i].wireEnd);
    o << L" children";
    for (int i = 0; i < b->childCount; i++) o << L" " << IndexOf(s->blocks, b->children[i]);
    o << L" parent " << IndexOf(s->blocks, b->parent) << L"\n";
  }
  for (const SchWire* w = s->wires; w; w = w->next) {
    o << L"W f" << int(w->flags) << L" id" << w->savedId << L" d" << int(w->firstDir) << L" k" << int(w->kind)
      << L" c";
    for (int i = 0; i < w->coordCount; i++) o << L" " << w->coords[i];
    for (int e = 0; e < 2; e++) {
      int target = -1;
      if (w->endKind[e] == kSchWireEndPin) target = IndexOf(s->blocks, w->ends[e].target);
      if (w->endKind[e] == kSchWireEndJunction) target = IndexOf(s->junctions, w->ends[e].target);
      if (w->endKind[e] == kSchWireEndBus) target = IndexOf(s->buses, w->ends[e].target);
      o << L" end" << e << L"=" << w->endKind[e] << L":" << target << L"." << w->ends[e].index << L"."
        << int(w->ends[e].side);
    }
    o << L"\n";
  }
  for (const SchJunction* j = s->junctions; j; j = j->next) {
    o << L"J f" << int(j->flags) << L" id" << j->savedId << L" at " << j->x << L"," << j->y;
    for (int k = 0; k < 4; k++) o << L" " << IndexOf(s->wires, j->wires[k]) << L"/" << int(j->wireEnds[k]);
    o << L"\n";
  }
  for (const SchBus* b = s->buses; b; b = b->next) {
    o << L"U f" << int(b->flags) << L" id" << b->savedId << L" n" << b->slotCount << L" " << b->x0 << L","
      << b->y0 << L"-" << b->x1 << L"," << b->y1 << L" d" << int(b->endDir) << L" c";
    for (int i = 0; i < b->coordCount; i++) o << L" " << b->coords[i];
    for (int side = 0; side < 2; side++)
      for (int k = 0; k < b->slotCount; k++)
        o << L" " << IndexOf(s->wires, b->wires[side][k]) << L"/" << int(b->wireEnds[side][k]);
    o << L"\n";
  }
  return o.str();
}

// Every link is seen from both of its sides, nothing is left loaded and no
// identity is left behind.
::testing::AssertionResult Consistent(const SchScheme* s) {
  auto fail = [](const char* what) { return ::testing::AssertionFailure() << what; };
  for (const CSCHBlock* b = s->blocks; b; b = b->next) {
    if (b->savedId || (b->flags & kSchLoaded)) return fail("block still loaded");
    for (int i = 0; i < b->pinCount; i++) {
      const SchWire* w = b->pins[i].wire;
      if (!w) continue;
      int e = b->pins[i].wireEnd;
      if (IndexOf(s->wires, w) < 0 || e > 1 || w->endKind[e] != kSchWireEndPin || w->ends[e].target != b ||
          w->ends[e].index != i)
        return fail("pin wire does not point back");
    }
    for (int i = 0; i < b->childCount; i++)
      if (IndexOf(s->blocks, b->children[i]) < 0 || b->children[i]->parent != b) return fail("bad child");
    if (b->parent) {
      bool found = false;
      for (int i = 0; i < b->parent->childCount; i++) found |= b->parent->children[i] == b;
      if (!found || IndexOf(s->blocks, b->parent) < 0) return fail("bad parent");
    }
  }
  for (const SchWire* w = s->wires; w; w = w->next) {
    if (w->savedId || (w->flags & kSchLoaded)) return fail("wire still loaded");
    for (int e = 0; e < 2; e++) {
      int i = w->ends[e].index;
      switch (w->endKind[e]) {
        case kSchWireEndFree:
          if (w->ends[e].target) return fail("free end with a target");
          break;
        case kSchWireEndPin: {
          const CSCHBlock* b = static_cast<const CSCHBlock*>(w->ends[e].target);
          if (IndexOf(s->blocks, b) < 0 || i < 0 || i >= b->pinCount || b->pins[i].wire != w ||
              b->pins[i].wireEnd != e)
            return fail("pin end does not point back");
          break;
        }
        case kSchWireEndJunction: {
          const SchJunction* j = static_cast<const SchJunction*>(w->ends[e].target);
          if (IndexOf(s->junctions, j) < 0 || i < 0 || i > 3 || j->wires[i] != w || j->wireEnds[i] != e)
            return fail("junction end does not point back");
          break;
        }
        case kSchWireEndBus: {
          const SchBus* b = static_cast<const SchBus*>(w->ends[e].target);
          int side = w->ends[e].side;
          if (IndexOf(s->buses, b) < 0 || side > 1 || i < 0 || i >= b->slotCount || b->wires[side][i] != w ||
              b->wireEnds[side][i] != e)
            return fail("bus end does not point back");
          break;
        }
        default:
          return fail("unknown end kind");
      }
    }
  }
  for (const SchJunction* j = s->junctions; j; j = j->next) {
    if (j->savedId || (j->flags & kSchLoaded)) return fail("junction still loaded");
    for (int k = 0; k < 4; k++) {
      const SchWire* w = j->wires[k];
      if (!w) continue;
      int e = j->wireEnds[k];
      if (IndexOf(s->wires, w) < 0 || e > 1 || w->endKind[e] != kSchWireEndJunction || w->ends[e].target != j ||
          w->ends[e].index != k)
        return fail("junction slot does not point back");
    }
  }
  for (const SchBus* b = s->buses; b; b = b->next) {
    if (b->savedId || (b->flags & kSchLoaded)) return fail("bus still loaded");
    for (int side = 0; side < 2; side++)
      for (int k = 0; k < b->slotCount; k++) {
        const SchWire* w = b->wires[side][k];
        if (!w) continue;
        int e = b->wireEnds[side][k];
        if (IndexOf(s->wires, w) < 0 || e > 1 || w->endKind[e] != kSchWireEndBus || w->ends[e].target != b ||
            w->ends[e].index != k || w->ends[e].side != side)
          return fail("bus slot does not point back");
      }
  }
  return ::testing::AssertionSuccess();
}

std::vector<uint8_t> Bytes(const CMemoryStream& m) { return std::vector<uint8_t>(m.data, m.data + m.size); }

std::vector<uint8_t> WriteBytes(SchScheme* s, unsigned char mask = 0) {
  CMemoryStream m;
  s->Write(&m, mask);
  return Bytes(m);
}

bool ReadBytes(SchScheme* s, const std::vector<uint8_t>& bytes, unsigned char flags = 0) {
  CMemoryStream m;
  if (!bytes.empty()) m.Write(bytes.data(), static_cast<int>(bytes.size()));
  m.Seek(0, 0);
  return s->Read(&m, flags);
}

// Four parts (one the child of another), six wires on pins, a junction, a
// bus and a free hydraulic wire, with every field set to something.
struct Rich {
  CSCHBlock *a, *b, *c, *d;
  SchJunction *j, *j2;
  SchBus* bus;
};

Rich BuildRich(SchScheme* s) {
  Rich r;
  r.a = s->CreateBlock("Part2");
  r.b = s->CreateBlock("Part2");
  r.c = s->CreateBlock("Part2");
  r.d = s->CreateBlock("Adder");
  r.a->SetName(L"Резистор R1");
  r.a->SetModel("MLT-0.25");
  r.a->SetOptions("1:2;3:4;");
  r.a->SetTableName(L"Резисторы");
  r.a->price = 12.5;
  r.a->boardX = 3.75f;
  r.a->boardY = -1.25f;
  r.a->orientation = 3;
  r.a->flags = kSchBoardPart;
  r.a->AddChild(r.c);
  r.c->flags = kSchAuxiliary;
  r.d->SetName(nullptr);

  r.j = new SchJunction(s);
  r.j->x = 400;
  r.j->y = 120;
  r.j2 = new SchJunction(s);
  r.j2->x = -5;
  r.j2->y = 7;
  r.j2->flags = kSchBoardSelected;
  r.bus = new SchBus(s);
  r.bus->SetSlotCount(3);
  r.bus->x0 = 600;
  r.bus->y0 = 40;
  r.bus->x1 = 600;
  r.bus->y1 = 400;
  r.bus->endDir = 1;
  r.bus->flags = 0x80;
  r.bus->SetCoordinateCount(2);
  r.bus->coords[0] = 610;
  r.bus->coords[1] = 300;

  SchWire* w1 = new SchWire(s);  // a.1 -> junction slot 0
  w1->firstDir = 2;
  SetCoords(w1, {300});
  LinkPin(w1, 0, r.a, 1);
  LinkJunction(w1, 1, r.j, 0);
  SchWire* w2 = new SchWire(s);  // junction slot 2 -> b.0
  w2->firstDir = 2;
  w2->flags = kSchBoardSelected;
  LinkJunction(w2, 0, r.j, 2);
  LinkPin(w2, 1, r.b, 0);
  SchWire* w3 = new SchWire(s);  // d.0 -> junction slot 3 (end 1)
  LinkPin(w3, 0, r.d, 0);
  LinkJunction(w3, 1, r.j, 3);
  SchWire* w4 = new SchWire(s);  // bus side 0 slot 1 -> c.0
  LinkBus(w4, 0, r.bus, 0, 1);
  LinkPin(w4, 1, r.c, 0);
  SchWire* w5 = new SchWire(s);  // free -> bus side 1 slot 2
  SetCoords(w5, {1, 2, 3});
  LinkBus(w5, 1, r.bus, 1, 2);
  SchWire* w6 = new SchWire(s);  // hydraulic, free at both ends
  w6->kind = kSchPinHydraulic;
  w6->firstDir = 3;
  SetCoords(w6, {-70000, 70000});
  return r;
}

class SchemeStream : public ::testing::Test {
protected:
  void SetUp() override {
    g_schClassRegistry.Clear();
    g_schClassRegistry.Add("Part2", NewPart2);
    g_schClassRegistry.Add("Adder", NewAdder);
    g_schClassRegistry.Add("Holder", NewHolder);
    SetModelPathAndCheck(nullptr, 0x99);
  }
  void TearDown() override {
    g_schClassRegistry.Clear();
    SetModelPathAndCheck(nullptr, 0x99);
  }
};

// ---------------------------------------------------------------- tests

// Runs first in this program: nothing has set a path yet.
TEST(ModelPath, CheckByteBeforeAnyPathIs0x99) {
  EXPECT_EQ(GetModelPath(), nullptr);
  EXPECT_EQ(GetModelPathCheck(), 0x99);
}

TEST(ModelPath, ChecksumXorsEveryByteOfTheUtf16Units) {
  EXPECT_EQ(ComputeModelPathChecksum(nullptr), 0x99);
  EXPECT_EQ(ComputeModelPathChecksum(L""), 0x99);
  EXPECT_EQ(ComputeModelPathChecksum(L"ab"), 0x9A);  // 99 ^ 61 ^ 00 ^ 62 ^ 00
  EXPECT_EQ(ComputeModelPathChecksum(L"Я"), 0xB2);   // 99 ^ 2F ^ 04
  SetModelPath(L"ab");
  EXPECT_STREQ(GetModelPath(), L"ab");
  EXPECT_EQ(GetModelPathCheck(), 0x9A);
  SetModelPath(nullptr);
  EXPECT_EQ(GetModelPath(), nullptr);
  EXPECT_EQ(GetModelPathCheck(), 0x99);
}

TEST_F(SchemeStream, EmptySchemeIsTwentySevenBytes) {
  SchScheme s;
  std::vector<uint8_t> expected = velktest::ParseHex(R"(
    53 50 48 31   // "SPH1"
    d0 00 00 00   // header value 208
    00 00 00 00   // no blocks
    00 00         // model path: none
    00 00 00 00   // no wires
    99            // check byte of no path
    00 00 00 00   // no junctions
    00 00 00 00   // no buses
  )");
  ASSERT_EQ(expected.size(), 27u);
  EXPECT_TRUE(velktest::BytesEqual(WriteBytes(&s), expected));

  SchScheme back;
  EXPECT_TRUE(ReadBytes(&back, expected));
  EXPECT_EQ(back.blocks, nullptr);
  EXPECT_EQ(back.wires, nullptr);
  EXPECT_EQ(back.junctions, nullptr);
  EXPECT_EQ(back.buses, nullptr);
}

TEST_F(SchemeStream, OneOfEachObjectGivesTheHandComputedBytes) {
  SchScheme s;
  CSCHBlock* b = s.CreateBlock("Part2");  // named U1 by its prefix
  ASSERT_NE(b, nullptr);
  b->SetModel("M1");
  b->price = 1.5;
  b->rect = RECT{100, 50, 180, 150};
  b->boardX = 2.5f;
  b->boardY = -1.0f;
  b->orientation = 1;
  b->flags = kSchSelected | kSchBoardPart;  // the selection bit is not written
  SchJunction* j = new SchJunction(&s);
  j->x = 230;
  j->y = 120;
  SchWire* w = new SchWire(&s);
  w->flags = kSchSelected | kSchBoardSelected;  // bit 0x01 is not written
  w->firstDir = 2;
  SetCoords(w, {200});
  LinkPin(w, 0, b, 1);
  LinkJunction(w, 1, j, 0);
  SchBus* bus = new SchBus(&s);
  bus->SetSlotCount(2);
  bus->x0 = 300;
  bus->y0 = 40;
  bus->x1 = 300;
  bus->y1 = 200;
  bus->endDir = 1;
  SetModelPath(L"ab");

  std::vector<uint8_t> expected = velktest::ParseHex(R"(
    53 50 48 31  d0 00 00 00      // magic, header value
    01 00 00 00                   // one block
    50 61 72 74 32 00             // class name "Part2"
      01 00 00 00                 // identity 1
      04                          // flags 0x05 & 0xFC
      55 00 31 00 00 00           // instance name "U1"
      4d 31 00                    // model "M1"
      00                          // options: none
      00 00                       // table name: none
      00 00 00 00 00 00 f8 3f     // price 1.5
      64 00 00 00  32 00 00 00    // left 100, top 50
      b4 00 00 00  96 00 00 00    // right 180, bottom 150
      00 00 00 00  01 00 00 00    // pin wires: none, wire 1
      00 00 20 40  00 00 80 bf    // board x 2.5, board y -1.0
      01                          // orientation
      00                          // no children
    61 00 62 00 00 00             // model path "ab"
    01 00 00 00                   // one wire
      01 00 00 00                 // identity 1
      02                          // flags 0x03 & 0xFE
      02                          // first direction: right
      01 00  c8 00 00 00          // one coordinate: 200
      00                          // electric
      01 00 00 00  04 00 00 00    // end kinds: pin, junction
      01 00 00 00  01 00 00 00  00  00 00 00   // end 0: block 1, pin 1
      01 00 00 00  00 00 00 00  00  00 00 00   // end 1: junction 1, slot 0
    9a                            // check byte of "ab"
    01 00 00 00                   // one junction
      01 00 00 00  00             // identity 1, flags
      01 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00   // slot wires
      01 00 00 00                 // slot wire ends
      e6 00 00 00  78 00 00 00    // x 230, y 120
    01 00 00 00                   // one bus
      01 00 00 00  80  02 00      // identity 1, flags 0x80, two slots
      2c 01 00 00  28 00 00 00    // end 0 (300, 40)
      2c 01 00 00  c8 00 00 00    // end 1 (300, 200)
      00 00  01  00               // no coordinates, end direction up, reserved
      00 00 00 00  00 00 00 00    // side 0 wires
      00 00 00 00  00 00 00 00    // side 1 wires
      00 00  00 00                // side 0 and side 1 wire ends
  )");
  EXPECT_TRUE(velktest::BytesEqual(WriteBytes(&s), expected));
  // The writer's numbers do not stay behind.
  EXPECT_EQ(b->savedId, 0);
  EXPECT_EQ(w->savedId, 0);
  EXPECT_EQ(j->savedId, 0);
  EXPECT_EQ(bus->savedId, 0);

  SetModelPath(nullptr);
  SchScheme back;
  ASSERT_TRUE(ReadBytes(&back, expected));
  EXPECT_TRUE(Consistent(&back));
  EXPECT_STREQ(GetModelPath(), L"ab");
  EXPECT_EQ(GetModelPathCheck(), 0x9A);
  ASSERT_NE(back.blocks, nullptr);
  EXPECT_EQ(back.blocks->flags, kSchBoardPart);
  EXPECT_EQ(back.wires->flags, kSchBoardSelected);
  EXPECT_EQ(back.buses->flags, 0x80);
  EXPECT_EQ(back.blocks->pins[1].wire, back.wires);
  EXPECT_EQ(back.junctions->wires[0], back.wires);
  EXPECT_EQ(back.wires->ends[1].target, back.junctions);
}

TEST_F(SchemeStream, RoundTripKeepsOrderLinksAndFlags) {
  SchScheme s;
  BuildRich(&s);
  // The Adder's Load creates one more part: take it out of the comparison.
  std::vector<uint8_t> bytes = WriteBytes(&s);

  SchScheme back;
  ASSERT_TRUE(ReadBytes(&back, bytes));
  EXPECT_TRUE(Consistent(&back));
  CSCHBlock* extra = back.blocks;  // created during the read, newest of all
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(back.BlockCount(), 5);
  delete extra;
  EXPECT_EQ(Describe(&back), Describe(&s));
  // Written again, the copy gives the same bytes.
  EXPECT_TRUE(velktest::BytesEqual(WriteBytes(&back), bytes));
}

TEST_F(SchemeStream, ResolvesTheObjectsOfThisReadEvenWhenALoadAddsBlocks) {
  // The Adder is the oldest block: the part its Load creates goes in front
  // of the blocks read after it, so "the first count blocks of the list"
  // would miss the Adder itself.
  SchScheme s;
  CSCHBlock* adder = s.CreateBlock("Adder");
  CSCHBlock* part = s.CreateBlock("Part2");
  SchWire* w = new SchWire(&s);
  LinkPin(w, 0, adder, 0);
  LinkPin(w, 1, part, 1);
  std::vector<uint8_t> bytes = WriteBytes(&s);

  SchScheme back;
  ASSERT_TRUE(ReadBytes(&back, bytes));
  ASSERT_EQ(back.BlockCount(), 3);
  CSCHBlock* readPart = back.blocks;
  CSCHBlock* own = readPart->next;
  CSCHBlock* readAdder = own->next;
  EXPECT_STREQ(readAdder->className, "Adder");
  EXPECT_STREQ(own->className, "Part2");
  EXPECT_EQ(own->pins[0].wire, nullptr);
  EXPECT_EQ(own->pins[1].wire, nullptr);
  EXPECT_TRUE(Consistent(&back));  // the Adder too is resolved
  EXPECT_EQ(readAdder->pins[0].wire, back.wires);
  EXPECT_EQ(readPart->pins[1].wire, back.wires);
  EXPECT_EQ(back.wires->ends[0].target, readAdder);
  EXPECT_EQ(back.wires->ends[1].target, readPart);
}

TEST_F(SchemeStream, MaskWritesOnlyMarkedObjectsAndTheReadDropsMissingChildren) {
  SchScheme s;
  CSCHBlock* a = s.CreateBlock("Part2");
  CSCHBlock* child = s.CreateBlock("Part2");
  CSCHBlock* b = s.CreateBlock("Part2");
  a->AddChild(child);
  a->flags = kSchBoardSelected;
  SchWire* marked = new SchWire(&s);
  marked->flags = kSchBoardSelected;
  LinkPin(marked, 0, a, 1);
  LinkPin(marked, 1, b, 0);
  SchWire* unmarked = new SchWire(&s);
  LinkPin(unmarked, 0, a, 0);
  SchJunction* j = new SchJunction(&s);
  j->flags = kSchBoardSelected | kSchSelected;
  new SchBus(&s);

  std::vector<uint8_t> bytes = WriteBytes(&s, kSchBoardSelected);
  ASSERT_GE(bytes.size(), 12u);
  EXPECT_EQ(bytes[8], 1);  // block count

  SchScheme back;
  ASSERT_TRUE(ReadBytes(&back, bytes, kSchSelected | kSchBoardSelected));
  EXPECT_TRUE(Consistent(&back));
  ASSERT_EQ(back.BlockCount(), 1);
  ASSERT_EQ(back.WireCount(), 1);
  EXPECT_EQ(back.JunctionCount(), 1);
  EXPECT_EQ(back.BusCount(), 0);
  CSCHBlock* ra = back.blocks;
  EXPECT_EQ(ra->childCount, 0);
  EXPECT_EQ(ra->pins[0].wire, nullptr);
  EXPECT_EQ(ra->pins[1].wire, back.wires);
  EXPECT_EQ(back.wires->endKind[0], kSchWireEndPin);
  EXPECT_EQ(back.wires->endKind[1], kSchWireEndFree);
  EXPECT_EQ(ra->flags, kSchSelected | kSchBoardSelected);
  EXPECT_EQ(back.junctions->flags, kSchSelected | kSchBoardSelected);
  (void)child;
  (void)j;
}

TEST_F(SchemeStream, WrittenChildIdentityIsInTheRecord) {
  SchScheme s;
  CSCHBlock* a = s.CreateBlock("Part2");
  CSCHBlock* child = s.CreateBlock("Part2");
  a->AddChild(child);
  a->flags = kSchBoardSelected;
  std::vector<uint8_t> bytes = WriteBytes(&s, kSchBoardSelected);
  // magic 4, header 4, count 4, "Part2\0" 6, then the record; the last 5
  // bytes of the block are the child count 1 and the child's identity 2.
  size_t recordEnd = 4 + 4 + 4 + 6 + 4 + 1 + 6 + 1 + 1 + 2 + 8 + 16 + 8 + 8 + 1 + 1 + 4;
  ASSERT_GT(bytes.size(), recordEnd);
  std::vector<uint8_t> tail(bytes.begin() + recordEnd - 5, bytes.begin() + recordEnd);
  EXPECT_TRUE(velktest::BytesEqual(tail, velktest::ParseHex("01 02 00 00 00")));
}

TEST_F(SchemeStream, ReadingAClipboardStreamTwiceGivesTwoCopies) {
  SchScheme src;
  CSCHBlock* a = src.CreateBlock("Part2");
  CSCHBlock* b = src.CreateBlock("Part2");
  SchWire* w = new SchWire(&src);
  LinkPin(w, 0, a, 1);
  LinkPin(w, 1, b, 0);
  std::vector<uint8_t> bytes = WriteBytes(&src, 0);

  SchScheme dst;
  ASSERT_TRUE(ReadBytes(&dst, bytes, 0x03));
  ASSERT_TRUE(ReadBytes(&dst, bytes, 0x03));
  EXPECT_TRUE(Consistent(&dst));
  ASSERT_EQ(dst.BlockCount(), 4);
  ASSERT_EQ(dst.WireCount(), 2);
  SchWire* second = dst.wires;
  SchWire* first = second->next;
  // Each wire joins the two blocks of its own copy.
  EXPECT_EQ(second->ends[0].target, dst.blocks->next);
  EXPECT_EQ(second->ends[1].target, dst.blocks);
  EXPECT_EQ(first->ends[0].target, dst.blocks->next->next->next);
  EXPECT_EQ(first->ends[1].target, dst.blocks->next->next);
  for (CSCHBlock* p = dst.blocks; p; p = p->next) EXPECT_EQ(p->flags, 0x03);
}

TEST_F(SchemeStream, OlderBusFormSkipsTheSecondArray) {
  const char* older = R"(
    53 50 48 31  d0 00 00 00  00 00 00 00   // magic, header, no blocks
    00 00  00 00 00 00  99  00 00 00 00     // no path, no wires, check, no junctions
    01 00 00 00                             // one bus
      07 00 00 00  01  02 00                // identity 7, flags without 0x80, 2 slots
      0a 00 00 00  14 00 00 00              // end 0 (10, 20)
      64 00 00 00  c8 00 00 00              // end 1 (100, 200)
      01 00  03  00                         // one coordinate, end direction down, reserved
      32 00 00 00                           // coordinate 50
      ff ff ff ff                           // the older second array
      00 00 00 00  00 00 00 00              // side 0 wires
      00 00 00 00  00 00 00 00              // side 1 wires
      00 00  00 00                          // wire ends
  )";
  SchScheme s;
  ASSERT_TRUE(ReadBytes(&s, velktest::ParseHex(older)));
  ASSERT_EQ(s.BusCount(), 1);
  SchBus* b = s.buses;
  EXPECT_EQ(b->flags, 0x01);
  EXPECT_EQ(b->slotCount, 2);
  EXPECT_EQ(b->x0, 10);
  EXPECT_EQ(b->y0, 20);
  EXPECT_EQ(b->x1, 100);
  EXPECT_EQ(b->y1, 200);
  EXPECT_EQ(b->endDir, 3);
  ASSERT_EQ(b->coordCount, 1);
  EXPECT_EQ(b->coords[0], 50);
  EXPECT_EQ(b->wires[0][0], nullptr);
  EXPECT_EQ(b->wires[1][1], nullptr);
  // Written again it is in the current form: 4 bytes shorter, flag 0x80.
  std::vector<uint8_t> again = WriteBytes(&s);
  EXPECT_EQ(again.size(), velktest::ParseHex(older).size() - 4);
}

TEST_F(SchemeStream, CheckByteReadIsWrittenBackUnchanged) {
  // Path "ab" with a check byte that does not belong to it.
  std::vector<uint8_t> bytes = velktest::ParseHex(R"(
    53 50 48 31  d0 00 00 00  00 00 00 00
    61 00 62 00 00 00  00 00 00 00
    55                                      // check byte
    00 00 00 00  00 00 00 00
  )");
  SchScheme s;
  ASSERT_TRUE(ReadBytes(&s, bytes));
  EXPECT_STREQ(GetModelPath(), L"ab");
  EXPECT_EQ(GetModelPathCheck(), 0x55);
  EXPECT_TRUE(velktest::BytesEqual(WriteBytes(&s), bytes));
}

TEST_F(SchemeStream, NestedSchemeInsideABlockRecord) {
  SchScheme s;
  Holder* h = static_cast<Holder*>(s.CreateBlock("Holder"));
  ASSERT_NE(h, nullptr);
  BuildRich(h->inner);
  CSCHBlock* p = s.CreateBlock("Part2");
  SchWire* w = new SchWire(&s);
  LinkPin(w, 0, p, 0);
  std::vector<uint8_t> bytes = WriteBytes(&s);

  SchScheme back;
  ASSERT_TRUE(ReadBytes(&back, bytes));
  EXPECT_TRUE(Consistent(&back));
  Holder* rh = static_cast<Holder*>(back.blocks->next);
  ASSERT_STREQ(rh->className, "Holder");
  EXPECT_TRUE(Consistent(rh->inner));
  delete rh->inner->blocks;  // the part the Adder's Load made
  EXPECT_EQ(Describe(rh->inner), Describe(h->inner));
  EXPECT_EQ(back.blocks->pins[0].wire, back.wires);
}

// ---------------------------------------------------------------- failures

class SchemeStreamFailure : public SchemeStream {
protected:
  void SetUp() override {
    SchemeStream::SetUp();
    // The scheme read into already holds a part with a wire.
    target = new SchScheme;
    CSCHBlock* p = target->CreateBlock("Part2");
    SchWire* w = new SchWire(target);
    LinkPin(w, 0, p, 1);
    SetModelPath(L"model.max");
    before = Describe(target);
    counts = g_schLiveCounts;
  }
  void TearDown() override {
    delete target;
    SchemeStream::TearDown();
  }
  // The read failed and took back everything it had added.
  ::testing::AssertionResult Unchanged() {
    if (Describe(target) != before) return ::testing::AssertionFailure() << "scheme changed";
    const SchLiveCounts& c = g_schLiveCounts;
    if (c.blocks != counts.blocks || c.pins != counts.pins || c.texts != counts.texts ||
        c.wires != counts.wires || c.junctions != counts.junctions || c.buses != counts.buses ||
        c.schemes != counts.schemes)
      return ::testing::AssertionFailure() << "live objects: blocks " << c.blocks << " of " << counts.blocks
                                           << ", wires " << c.wires << " of " << counts.wires;
    if (!GetModelPath() || wcscmp(GetModelPath(), L"model.max") != 0 ||
        GetModelPathCheck() != ComputeModelPathChecksum(L"model.max"))
      return ::testing::AssertionFailure() << "model path changed";
    return ::testing::AssertionSuccess();
  }
  SchScheme* target = nullptr;
  std::wstring before;
  SchLiveCounts counts;
};

TEST_F(SchemeStreamFailure, EveryTruncationFailsAndLeavesTheSchemeAsItWas) {
  SchScheme src;
  Holder* h = static_cast<Holder*>(src.CreateBlock("Holder"));
  BuildRich(h->inner);
  BuildRich(&src);
  SetModelPath(L"путь");
  std::vector<uint8_t> bytes = WriteBytes(&src);
  SetModelPath(L"model.max");
  counts = g_schLiveCounts;
  velktest::DialogAnswerer answerer(IDOK);
  for (size_t n = 0; n < bytes.size(); n++) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
    ASSERT_FALSE(ReadBytes(target, cut)) << n << " of " << bytes.size();
    ASSERT_TRUE(Unchanged()) << n << " of " << bytes.size();
  }
  EXPECT_EQ(answerer.Count(), 0) << "a cut-off stream is not an unknown class";
  ASSERT_TRUE(ReadBytes(target, bytes));
  EXPECT_TRUE(Consistent(target));
}

// A read that is refused memory on the way (a class name, a child array)
// fails and takes back everything; given enough it reads the family whole.
TEST_F(SchemeStreamFailure, RefusedMemoryFailsTheReadAndLeavesTheSchemeAsItWas) {
  g_schClassRegistry.Add("Plain", NewPlain);
  std::vector<uint8_t> bytes;
  {
    SchScheme src;
    CSCHBlock* parent = src.CreateBlock("Plain");
    for (int k = 0; k < 5; ++k) ASSERT_TRUE(parent->AddChild(src.CreateBlock("Plain")));
    bytes = WriteBytes(&src);
  }
  velktest::DialogAnswerer answerer(IDOK);
  bool childArrayRefused = false, read = false;
  for (int grant = 0; grant < 100 && !read; ++grant) {
    int boxes = answerer.Count();
    {
      CBufferFailureScope scope(grant);
      read = ReadBytes(target, bytes);
      if (!read) {
        EXPECT_GT(scope.GetRefusals(), 0) << grant;
      }
    }
    if (read) break;
    ASSERT_TRUE(Unchanged()) << grant;
    // A refused class name is told as an unknown class; a refused child
    // array fails the read without a word.
    if (answerer.Count() == boxes) childArrayRefused = true;
  }
  EXPECT_TRUE(childArrayRefused);
  ASSERT_TRUE(read);
  EXPECT_TRUE(Consistent(target));
  ASSERT_EQ(target->BlockCount(), 1 + 6);
  CSCHBlock* parent = nullptr;
  for (CSCHBlock* b = target->blocks; b; b = b->next)
    if (b->childCount > 0) parent = b;
  ASSERT_NE(parent, nullptr);
  ASSERT_EQ(parent->childCount, 5);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(parent->children[k]->parent, parent);
}

// A text of a record (a name, a model, options, a table, the model path)
// refused its memory is not read as an empty one: the read fails and takes
// back everything, or, given enough, keeps every text.
TEST_F(SchemeStreamFailure, RefusedTextsFailTheReadRatherThanGoMissing) {
  std::vector<uint8_t> bytes;
  {
    SchScheme src;
    for (int k = 0; k < 2; ++k) {
      CSCHBlock* b = src.CreateBlock("Part2");
      b->SetName(k ? L"Резистор R2" : L"Резистор R1");
      b->SetModel("MLT-0.25");
      b->SetOptions("1:2;3:4;");
      b->SetTableName(L"Резисторы");
    }
    SetModelPath(L"путь");
    bytes = WriteBytes(&src);
    SetModelPath(L"model.max");
  }
  velktest::DialogAnswerer answerer(IDOK);  // a refused class name is told as unknown
  bool read = false;
  int refusedReads = 0;
  for (int grant = 0; grant < 200 && !read; ++grant) {
    {
      CBufferFailureScope scope(grant);
      read = ReadBytes(target, bytes);
      if (!read) {
        EXPECT_GT(scope.GetRefusals(), 0) << grant;
      }
    }
    if (read) break;
    ASSERT_TRUE(Unchanged()) << grant;
    ++refusedReads;
  }
  ASSERT_TRUE(read);
  EXPECT_GE(refusedReads, 10);  // two blocks of four texts each, and the path
  int whole = 0;
  for (CSCHBlock* b = target->blocks; b; b = b->next) {
    if (!b->instanceName || wcsncmp(b->instanceName, L"Резистор R", 10) != 0) continue;
    EXPECT_STREQ(b->model, "MLT-0.25");
    EXPECT_STREQ(b->options, "1:2;3:4;");
    ASSERT_NE(b->tableName, nullptr);
    EXPECT_STREQ(b->tableName, L"Резисторы");
    ++whole;
  }
  EXPECT_EQ(whole, 2);
  ASSERT_NE(GetModelPath(), nullptr);
  EXPECT_STREQ(GetModelPath(), L"путь");
}

TEST_F(SchemeStreamFailure, GarbageAndImpossibleCountsFailAtOnce) {
  struct Case {
    const char* what;
    const char* hex;
  } cases[] = {
      {"empty", ""},
      {"other magic", "53 50 48 32 d0 00 00 00 00 00 00 00 00 00 00 00 00 00 99 00 00 00 00 00 00 00 00"},
      {"block count past the data", "53 50 48 31 d0 00 00 00 ff ff ff 7f 50 61 72 74 32 00"},
      {"negative block count", "53 50 48 31 d0 00 00 00 00 00 00 80 00 00 00 00 00 00"},
      {"wire count past the data", "53 50 48 31 d0 00 00 00 00 00 00 00 00 00 40 42 0f 00 99 00 00"},
      {"junction count past the data",
       "53 50 48 31 d0 00 00 00 00 00 00 00 00 00 00 00 00 00 99 02 00 00 00 00 00 00 00"},
      {"bus count past the data",
       "53 50 48 31 d0 00 00 00 00 00 00 00 00 00 00 00 00 00 99 00 00 00 00 10 00 00 00"},
      {"trailing count missing", "53 50 48 31 d0 00 00 00 00 00 00 00 00 00 00 00 00 00 99 00 00 00 00"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(ReadBytes(target, velktest::ParseHex(c.hex))) << c.what;
    EXPECT_TRUE(Unchanged()) << c.what;
  }
}

TEST_F(SchemeStreamFailure, UnknownClassIsReportedAndNothingStays) {
  SchScheme src;
  src.CreateBlock("Part2");
  CSCHBlock* odd = src.CreateBlock("Part2");
  odd->className = "Zzz";
  src.CreateBlock("Part2");
  std::vector<uint8_t> bytes = WriteBytes(&src);
  counts = g_schLiveCounts;

  velktest::DialogAnswerer answerer(IDOK);
  EXPECT_FALSE(ReadBytes(target, bytes));
  EXPECT_TRUE(Unchanged());
  ASSERT_EQ(answerer.Count(), 1);
  EXPECT_EQ(answerer.Captions()[0], L"Ошибка");
  EXPECT_EQ(answerer.Texts()[0], L"Класс блока Zzz не зарегистрирован! Последний удачный класс Part2.");

  // As the first block: no class was read before it.
  odd->className = "Part2";
  src.blocks->next->next->className = "Nope";
  EXPECT_FALSE(ReadBytes(target, WriteBytes(&src)));
  EXPECT_TRUE(Unchanged());
  ASSERT_EQ(answerer.Count(), 2);
  EXPECT_EQ(answerer.Texts()[1], L"Класс блока Nope не зарегистрирован! Последний удачный класс .");
}

TEST_F(SchemeStreamFailure, LongClassNamesAreCutInTheMessage) {
  std::string longName(300, 'x');
  SchScheme src;
  src.CreateBlock("Part2")->className = longName.c_str();
  std::vector<uint8_t> bytes = WriteBytes(&src);
  counts = g_schLiveCounts;

  velktest::DialogAnswerer answerer(IDOK);
  EXPECT_FALSE(ReadBytes(target, bytes));
  EXPECT_TRUE(Unchanged());
  ASSERT_EQ(answerer.Count(), 1);
  EXPECT_EQ(answerer.Texts()[0], L"Класс блока " + std::wstring(32, L'x') +
                                     L" не зарегистрирован! Последний удачный класс .");
}

TEST_F(SchemeStreamFailure, DamagedStreamsNeverLeaveHalfLinks) {
  SchScheme src;
  BuildRich(&src);
  std::vector<uint8_t> bytes = WriteBytes(&src);
  counts = g_schLiveCounts;
  SchLiveCounts base = g_schLiveCounts;
  velktest::DialogAnswerer answerer(IDOK);
  unsigned seed = 12345;
  auto next = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  int succeeded = 0;
  for (int round = 0; round < 400; round++) {
    std::vector<uint8_t> damaged = bytes;
    int flips = 1 + next() % 3;
    for (int k = 0; k < flips; k++) {
      size_t at = 12 + next() % (damaged.size() - 12);  // past magic, header and block count
      damaged[at] = static_cast<uint8_t>(next() % 4 == 0 ? next() & 0xFF : damaged[at] ^ (1 << (next() % 8)));
    }
    SchScheme* s = new SchScheme;
    SchLiveCounts empty = g_schLiveCounts;
    if (ReadBytes(s, damaged)) {
      succeeded++;
      ASSERT_TRUE(Consistent(s)) << "round " << round;
    } else {
      ASSERT_EQ(g_schLiveCounts.blocks, empty.blocks) << "round " << round;
      ASSERT_EQ(g_schLiveCounts.wires, empty.wires) << "round " << round;
    }
    delete s;  // every link it holds can be undone
    ASSERT_EQ(g_schLiveCounts.blocks, base.blocks) << "round " << round;
    ASSERT_EQ(g_schLiveCounts.wires, base.wires) << "round " << round;
    ASSERT_EQ(g_schLiveCounts.junctions, base.junctions) << "round " << round;
    ASSERT_EQ(g_schLiveCounts.buses, base.buses) << "round " << round;
    ASSERT_EQ(g_schLiveCounts.texts, base.texts) << "round " << round;
  }
  EXPECT_GT(succeeded, 0);
  EXPECT_TRUE(Unchanged());
}

// Identities need not run from 1: a stream written elsewhere may number
// its objects far apart or below 0, and may repeat a number, in which case
// the object read last answers it.
TEST_F(SchemeStream, SparseAndRepeatedIdentitiesResolve) {
  g_schClassRegistry.Add("Plain", NewPlain);
  std::vector<uint8_t> bytes;
  auto i32 = [&bytes](int v) {
    for (int k = 0; k < 4; k++) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k)));
  };
  // A plain block: no pins; the base record with the given children.
  auto block = [&](int id, std::vector<int> children) {
    for (char c : std::string("Plain")) bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(0);
    i32(id);
    bytes.push_back(0);                           // flags
    bytes.insert(bytes.end(), 2 + 1 + 1 + 2, 0);  // name, model, options, table
    bytes.insert(bytes.end(), 8, 0);              // price
    for (int v : {10, 20, 90, 120}) i32(v);       // rectangle
    bytes.insert(bytes.end(), 4 + 4 + 1, 0);      // board x, y, orientation
    bytes.push_back(static_cast<uint8_t>(children.size()));
    for (int c : children) i32(c);
  };
  for (char c : std::string("SPH1")) bytes.push_back(static_cast<uint8_t>(c));
  i32(kSchStreamHeader);
  i32(4);
  block(1000000, {-7});  // A
  block(-7, {5});        // B
  block(5, {});          // C
  block(5, {});          // D, read last: the block numbered 5
  bytes.insert(bytes.end(), 2, 0);  // no model path
  i32(0);                           // wires
  bytes.push_back(0x99);
  i32(0);  // junctions
  i32(0);  // buses
  SchScheme back;
  ASSERT_TRUE(ReadBytes(&back, bytes));
  // Newest first: D, C, B, A.
  CSCHBlock* d = back.blocks;
  ASSERT_EQ(back.BlockCount(), 4);
  CSCHBlock* c = d->next;
  CSCHBlock* b = c->next;
  CSCHBlock* a = b->next;
  ASSERT_EQ(a->childCount, 1);
  EXPECT_EQ(a->children[0], b);
  EXPECT_EQ(b->parent, a);
  ASSERT_EQ(b->childCount, 1);
  EXPECT_EQ(b->children[0], d);
  EXPECT_EQ(d->parent, b);
  EXPECT_EQ(c->parent, nullptr);
  for (CSCHBlock* x = back.blocks; x; x = x->next) EXPECT_EQ(x->savedId, 0);
  EXPECT_TRUE(Consistent(&back));
}

// A parent deletes its whole family, however deep and wide, and leaves
// nothing behind.
TEST_F(SchemeStream, DeletingAParentDeletesEveryGeneration) {
  g_schClassRegistry.Add("Plain", NewPlain);
  SchLiveCounts before = g_schLiveCounts;
  {
    SchScheme s;
    CSCHBlock* head = s.CreateBlock("Plain");
    CSCHBlock* root = head;
    for (int generation = 0; generation < 50; generation++) {
      for (int k = 0; k < 70; k++) ASSERT_TRUE(head->AddChild(s.CreateBlock("Plain")));
      CSCHBlock* next = s.CreateBlock("Plain");
      ASSERT_TRUE(head->AddChild(next));
      head = next;
    }
    CSCHBlock* stranger = s.CreateBlock("Plain");
    ASSERT_EQ(s.BlockCount(), 1 + 50 * 71 + 1);
    delete root;
    ASSERT_EQ(s.BlockCount(), 1);
    EXPECT_EQ(s.blocks, stranger);
  }
  EXPECT_EQ(g_schLiveCounts.blocks, before.blocks);
  EXPECT_EQ(g_schLiveCounts.pins, before.pins);
}

// ---------------------------------------------------------------- run state

TEST_F(SchemeStream, RunStateKeepsTheBurntBytesAndRefusesAnotherClass) {
  SchScheme s;
  CSCHBlock* a = s.CreateBlock("Part2");
  CSCHBlock* b = s.CreateBlock("Adder");
  a->burnt = 1;
  CMemoryStream m;
  s.SaveRunState(&m);
  // Newest first: "Adder", 0, then "Part2", 1.
  EXPECT_TRUE(velktest::BytesEqual(Bytes(m), velktest::ParseHex("41 64 64 65 72 00 00 50 61 72 74 32 00 01")));
  a->burnt = 0;
  m.Seek(0, 0);
  EXPECT_TRUE(s.LoadRunState(&m));
  EXPECT_EQ(a->burnt, 1);
  EXPECT_EQ(b->burnt, 0);

  // A record of another class: false after the class name only.
  m.Seek(0, 0);
  a->burnt = 0;
  EXPECT_FALSE(a->LoadRunState(&m));
  EXPECT_EQ(m.GetPosition(), 6);
  EXPECT_EQ(a->burnt, 0);
}

// ---------------------------------------------------------------- exceptions

TEST_F(SchemeStream, AnExceptionFromARecordLeavesEverySchemeAsItWas) {
  g_schClassRegistry.Add("Thrower", [] { return static_cast<CSCHBlock*>(new Thrower); });
  // An outer scheme whose holder carries a nested scheme with a throwing
  // part after a good one, and a wire.
  SchScheme source;
  source.CreateBlock("Part2");
  Holder* holder = static_cast<Holder*>(source.CreateBlock("Holder"));
  holder->inner->CreateBlock("Part2");
  holder->inner->CreateBlock("Thrower");
  new SchWire(&source);
  SetModelPathAndCheck(L"C:\\robot.MAX", 0x12);
  CMemoryStream m;
  source.Write(&m, 0);

  SchScheme target;
  CSCHBlock* kept = target.CreateBlock("Part2");
  SetModelPathAndCheck(L"C:\\kept.MAX", 0x34);
  m.Seek(0, 0);
  EXPECT_THROW(target.Read(&m, 0), std::runtime_error);
  EXPECT_EQ(kept, target.blocks);
  EXPECT_EQ(1, target.BlockCount());
  EXPECT_EQ(0, target.WireCount());
  EXPECT_EQ(0, target.reading);
  EXPECT_STREQ(L"C:\\kept.MAX", GetModelPath());
  EXPECT_EQ(0x34, GetModelPathCheck());
}

}  // namespace
