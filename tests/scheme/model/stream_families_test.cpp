// Large and hostile "SPH1" streams of blocks: families far deeper than the
// stack, children that would close rings of parents, and measuring devices
// by the ten thousand. The streams are built byte by byte here.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "foundation/memory_stream.h"
#include "scheme/model/block.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/parts/ground.h"
#include "scheme/parts/measure_device.h"
#include "scheme/parts/multimeter.h"

namespace {

// Writes little-endian fields into a byte vector.
class Bytes {
public:
  void I32(int32_t v) {
    for (int i = 0; i < 4; i++) data.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
  }
  void U8(int v) { data.push_back(static_cast<uint8_t>(v)); }
  void Zeros(int n) { data.insert(data.end(), n, 0); }
  void Text(const char* s) { data.insert(data.end(), s, s + strlen(s) + 1); }
  void Wide(const wchar_t* s) {
    for (; s && *s; s++) {
      U8(*s & 0xFF);
      U8(*s >> 8);
    }
    Zeros(2);
  }
  std::vector<uint8_t> data;
};

// A stream of n blocks of one class whose record is the base record alone
// (a ground has one pin, a multimeter two). Block i (oldest first) has the
// identity i + 1, the name names(i) (null for none) and the children whose
// identities children(i) lists.
std::vector<uint8_t> BlockStream(const char* className, int pins, int n,
                                 const std::function<std::vector<int>(int)>& children,
                                 const std::function<const wchar_t*(int)>& names = nullptr) {
  Bytes b;
  b.Text("SPH1");
  b.data.pop_back();  // the magic has no terminator
  b.I32(208);
  b.I32(n);
  for (int i = 0; i < n; i++) {
    b.Text(className);
    b.I32(i + 1);                        // identity
    b.U8(0);                             // flags
    b.Wide(names ? names(i) : nullptr);  // instance name
    b.Zeros(1 + 1 + 2 + 8);              // model, options, table name, price
    b.I32(100);                          // rectangle
    b.I32(50 + 20 * i);
    b.I32(112);
    b.I32(58 + 20 * i);
    b.Zeros(4 * pins + 4 + 4 + 1);  // pin wires, board x and y, orientation
    std::vector<int> ids = children ? children(i) : std::vector<int>();
    b.U8(static_cast<int>(ids.size()));
    for (int id : ids) b.I32(id);
  }
  b.Zeros(2);     // no model path
  b.I32(0);       // wires
  b.U8(0x99);     // check byte
  b.Zeros(4 + 4);  // junctions, buses
  return b.data;
}

bool Read(SchScheme* s, const std::vector<uint8_t>& bytes) {
  CMemoryStream m;
  m.Write(bytes.data(), static_cast<int>(bytes.size()));
  m.Seek(0, 0);
  return s->Read(&m, 0);
}

// The blocks of a scheme, oldest first.
std::vector<CSCHBlock*> OldestFirst(const SchScheme& s) {
  std::vector<CSCHBlock*> v;
  for (CSCHBlock* b = s.LastBlock(); b; b = b->prev) v.push_back(b);
  return v;
}

// Every block is reached from a block without parent by walking down child
// entries, each of which names a block whose parent it is: following the
// parents from any block therefore ends.
::testing::AssertionResult NoRingsOfParents(const SchScheme& s) {
  const int n = s.BlockCount();
  std::vector<const CSCHBlock*> stack;
  for (const CSCHBlock* b = s.blocks; b; b = b->next)
    if (!b->parent) stack.push_back(b);
  int reached = 0;
  while (!stack.empty()) {
    const CSCHBlock* b = stack.back();
    stack.pop_back();
    if (++reached > n) return ::testing::AssertionFailure() << "a block reached twice";
    for (int c = 0; c < b->childCount; c++) {
      if (b->children[c]->parent != b) return ::testing::AssertionFailure() << "a child of another parent";
      stack.push_back(b->children[c]);
    }
  }
  if (reached != n) return ::testing::AssertionFailure() << "a ring of parents";
  return ::testing::AssertionSuccess();
}

// Generations below a block along its first children.
int Depth(const CSCHBlock* b) {
  int depth = 0;
  for (; b->childCount > 0; b = b->children[0]) depth++;
  return depth;
}

class StreamFamilies : public ::testing::Test {
protected:
  void SetUp() override {
    g_schClassRegistry.Clear();
    g_schClassRegistry.Add("GND", CreateCSCHGnd);
    g_schClassRegistry.Add("Multimeter", CreateCSCHMultimeter);
    SetModelPathAndCheck(nullptr, 0x99);
    before = g_schLiveCounts;
  }
  void TearDown() override {
    g_schClassRegistry.Clear();
    SetModelPathAndCheck(nullptr, 0x99);
    EXPECT_EQ(before.blocks, g_schLiveCounts.blocks);
    EXPECT_EQ(before.pins, g_schLiveCounts.pins);
    EXPECT_EQ(before.schemes, g_schLiveCounts.schemes);
    EXPECT_EQ(0, CSCHMeasureDevice::GetListCount());
  }
  SchLiveCounts before;
};

const int kDeepChain = 35000;

// Each ground names the one before it as its child: the newest heads a
// family 35,000 generations deep, whose oldest member is the deepest.
TEST_F(StreamFamilies, ChainEachNamingThePreviousReadsAndIsDeleted) {
  std::vector<uint8_t> bytes =
      BlockStream("GND", 1, kDeepChain, [](int i) { return i > 0 ? std::vector<int>{i} : std::vector<int>(); });
  for (bool rootFirst : {false, true}) {
    SCOPED_TRACE(rootFirst ? "the head of the family deleted" : "the scheme deleted");
    SchScheme* s = new SchScheme;
    ASSERT_TRUE(Read(s, bytes));
    ASSERT_EQ(kDeepChain, s->BlockCount());
    std::vector<CSCHBlock*> blocks = OldestFirst(*s);
    EXPECT_EQ(nullptr, blocks.back()->parent);
    for (int i = 1; i < kDeepChain; i++) {
      ASSERT_EQ(1, blocks[i]->childCount) << i;
      ASSERT_EQ(blocks[i - 1], blocks[i]->children[0]) << i;
      ASSERT_EQ(blocks[i], blocks[i - 1]->parent) << i;
    }
    EXPECT_EQ(0, blocks[0]->childCount);
    EXPECT_EQ(kDeepChain - 1, Depth(blocks.back()));
    if (rootFirst) {
      delete blocks.back();
      EXPECT_EQ(nullptr, s->blocks);
      EXPECT_EQ(nullptr, s->LastBlock());
    }
    delete s;
    EXPECT_EQ(before.blocks, g_schLiveCounts.blocks);
  }
}

// Each ground names the one after it as its child: the oldest heads the
// family, and the resolve pass meets every block after its parent.
TEST_F(StreamFamilies, ChainEachNamingTheNextReadsAndIsDeleted) {
  std::vector<uint8_t> bytes = BlockStream("GND", 1, kDeepChain, [](int i) {
    return i + 1 < kDeepChain ? std::vector<int>{i + 2} : std::vector<int>();
  });
  SchScheme* s = new SchScheme;
  ASSERT_TRUE(Read(s, bytes));
  std::vector<CSCHBlock*> blocks = OldestFirst(*s);
  ASSERT_EQ(static_cast<size_t>(kDeepChain), blocks.size());
  EXPECT_EQ(nullptr, blocks[0]->parent);
  for (int i = 1; i < kDeepChain; i++) ASSERT_EQ(blocks[i - 1], blocks[i]->parent) << i;
  EXPECT_EQ(kDeepChain - 1, Depth(blocks[0]));
  // Deleting oldest first starts with the head of the family.
  s->DeleteObjects();
  EXPECT_EQ(nullptr, s->blocks);
  delete s;
}

// Children that would close a ring of parents are dropped; worked by hand
// in read order: a block takes a child unless the child is already its
// ancestor (or itself, or has a parent).
TEST_F(StreamFamilies, ChildrenThatWouldCloseARingAreDropped) {
  struct Case {
    const char* what;
    std::vector<std::vector<int>> children;  // by block, identities
    std::vector<int> parents;                // by block, the parent's identity (0 none)
  } cases[] = {
      {"itself", {{1}, {}}, {0, 0}},
      {"two naming each other", {{2}, {1}}, {0, 1}},
      {"a ring forward", {{2}, {3}, {4}, {1}}, {0, 1, 2, 3}},
      {"a ring backward", {{4}, {1}, {2}, {3}}, {2, 3, 0, 1}},
      {"a child named twice", {{3}, {3}, {}}, {0, 0, 1}},
      {"a grandparent named", {{2}, {3}, {1, 4}, {}}, {0, 1, 2, 3}},
      {"a ring closed from a side branch", {{2, 5}, {3}, {}, {}, {1, 4}}, {0, 1, 2, 5, 1}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    int n = static_cast<int>(k.children.size());
    SchScheme s;
    ASSERT_TRUE(Read(&s, BlockStream("GND", 1, n, [&](int i) { return k.children[i]; })));
    std::vector<CSCHBlock*> blocks = OldestFirst(s);
    ASSERT_EQ(static_cast<size_t>(n), blocks.size());
    for (int i = 0; i < n; i++) {
      CSCHBlock* expected = k.parents[i] ? blocks[k.parents[i] - 1] : nullptr;
      EXPECT_EQ(expected, blocks[i]->parent) << "block " << i + 1;
    }
    EXPECT_TRUE(NoRingsOfParents(s));
  }
}

// A ring of 20,000 in either direction: one link of it is dropped and the
// rest stays one family.
TEST_F(StreamFamilies, LongRingsBecomeChains) {
  const int n = 20000;
  for (int step : {1, -1}) {
    SCOPED_TRACE(step);
    SchScheme s;
    ASSERT_TRUE(Read(&s, BlockStream("GND", 1, n, [&](int i) {
      return std::vector<int>{(i + step + n) % n + 1};
    })));
    EXPECT_TRUE(NoRingsOfParents(s));
    int heads = 0;
    CSCHBlock* head = nullptr;
    for (CSCHBlock* b = s.blocks; b; b = b->next)
      if (!b->parent) heads++, head = b;
    ASSERT_EQ(1, heads);
    EXPECT_EQ(n - 1, Depth(head));
    // Forward, the oldest heads the chain; backward, the block before the newest.
    std::vector<CSCHBlock*> blocks = OldestFirst(s);
    EXPECT_EQ(step > 0 ? blocks[0] : blocks[n - 2], head);
  }
}

// Multimeters by the ten thousand, unnamed in the stream: each names itself
// when created and takes the stream's (empty) name when loaded.
TEST_F(StreamFamilies, ManyUnnamedMultimetersRead) {
  const int n = 30000;
  SchScheme* s = new SchScheme;
  ASSERT_TRUE(Read(s, BlockStream("Multimeter", 2, n, nullptr)));
  EXPECT_EQ(n, s->BlockCount());
  EXPECT_EQ(n, CSCHMeasureDevice::GetListCount());
  for (CSCHBlock* b = s->blocks; b; b = b->next) ASSERT_EQ(nullptr, b->instanceName);
  // No letter is in use after the read.
  CSCHBlock* next = s->CreateBlock("Multimeter");
  ASSERT_NE(nullptr, next);
  EXPECT_STREQ(L"A", next->instanceName);
  delete s;
}

// Named multimeters keep their letters, and a new one takes the next.
TEST_F(StreamFamilies, NamedMultimetersKeepTheirLetters) {
  static const wchar_t* kNames[] = {L"B", nullptr, L"A", L"Q", L"A"};
  SchScheme s;
  ASSERT_TRUE(Read(&s, BlockStream("Multimeter", 2, 5, nullptr, [](int i) { return kNames[i]; })));
  std::vector<CSCHBlock*> blocks = OldestFirst(s);
  for (int i = 0; i < 5; i++) {
    if (kNames[i]) EXPECT_STREQ(kNames[i], blocks[i]->instanceName);
    else EXPECT_EQ(nullptr, blocks[i]->instanceName);
  }
  EXPECT_STREQ(L"C", s.CreateBlock("Multimeter")->instanceName);
  delete blocks[2];
  delete blocks[4];
  EXPECT_STREQ(L"A", s.CreateBlock("Multimeter")->instanceName);
}

}  // namespace
