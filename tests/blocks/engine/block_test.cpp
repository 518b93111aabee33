#include "blocks/engine/block.h"

#include <utility>
#include <vector>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "engine_fixture.h"
#include "foundation/buffer_failure_scope.h"
#include "foundation/memory_stream.h"
#include "support/test_support.h"

using betest::Link;
using betest::TestBlock;
using betest::TestCatalogue;

namespace {

TEST(Block, NewBlockHasItsDefaults) {
  CBEBlock block;
  EXPECT_EQ(nullptr, block.entry);
  EXPECT_EQ(nullptr, block.scheme);
  EXPECT_EQ(nullptr, block.caption);
  EXPECT_EQ(0, block.flags);
  EXPECT_EQ(0, block.rect.left);
  EXPECT_EQ(0, block.rect.top);
  EXPECT_EQ(150, block.rect.right);
  EXPECT_EQ(100, block.rect.bottom);
  EXPECT_EQ(0, block.inputCount);
  EXPECT_EQ(0, block.outputCount);
  EXPECT_EQ(0xFFFFFFu, block.fillColor);
  EXPECT_EQ(0, block.cycles);
  EXPECT_EQ(0, block.rom);
  EXPECT_EQ(0, block.ram);
  EXPECT_EQ(0, block.sharedRoutine);
  EXPECT_FALSE(block.ShowProperties());
}

TEST(Block, CaptionFallsBackToTheEntry) {
  TestCatalogue cat;
  BeScheme scheme;
  scheme.Init(&cat.catalogue);
  CBEBlock* block = scheme.CreateBlock(betest::kPlainClassId);
  ASSERT_NE(nullptr, block);
  EXPECT_STREQ(L"Простой", block->GetCaption());
  wchar_t own[] = L"Мой блок";
  block->SetCaption(own);
  own[0] = L'Т';
  EXPECT_STREQ(L"Мой блок", block->GetCaption());
  block->SetCaption(block->caption);  // its own text
  EXPECT_STREQ(L"Мой блок", block->GetCaption());
  block->SetCaption(nullptr);
  EXPECT_EQ(nullptr, block->caption);
  EXPECT_STREQ(L"Простой", block->GetCaption());
  CBEBlock detached;
  EXPECT_EQ(nullptr, detached.GetCaption());
}

// Offsets of n pins spread down a body of height 100: i*100/n + 100/(2n).
TEST(Block, PinsAreSpreadDownTheBody) {
  const std::vector<std::vector<int>> expected = {
      {50},
      {25, 75},
      {16, 49, 82},
      {12, 37, 62, 87},
      {10, 30, 50, 70, 90},
      {8, 24, 41, 58, 74, 91},
      {7, 21, 35, 49, 64, 78, 92},
      {6, 18, 31, 43, 56, 68, 81, 93},
  };
  for (int n = 1; n <= 8; ++n) {
    SCOPED_TRACE(n);
    CBEBlock block;
    ASSERT_TRUE(block.SetInputCount(n));
    ASSERT_TRUE(block.SetOutputCount(n));
    ASSERT_EQ(n, block.inputCount);
    ASSERT_EQ(n, block.outputCount);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(expected[n - 1][i], block.inputs[i]->yOffset);
      EXPECT_EQ(expected[n - 1][i], block.outputs[i]->yOffset);
      EXPECT_EQ(kBeSignalBit, block.inputs[i]->type);
      EXPECT_EQ(kBeSignalBit, block.outputs[i]->type);
      EXPECT_EQ(nullptr, block.inputs[i]->source);
      EXPECT_EQ(&block, block.inputs[i]->owner);
      EXPECT_EQ(&block, block.outputs[i]->owner);
    }
  }
}

TEST(Block, SpreadFollowsTheHeightAtTheCall) {
  CBEBlock block;
  block.rect.bottom = 30;  // height 30: one pin at 15
  block.SetInputCount(1);
  EXPECT_EQ(15, block.inputs[0]->yOffset);
  block.rect.bottom = 90;  // three pins on 90: 15, 45, 75
  block.SetInputCount(3);
  EXPECT_EQ(15, block.inputs[0]->yOffset);
  EXPECT_EQ(45, block.inputs[1]->yOffset);
  EXPECT_EQ(75, block.inputs[2]->yOffset);
  block.SetInputCount(-4);
  EXPECT_EQ(0, block.inputCount);
  EXPECT_EQ(nullptr, block.inputs);
}

TEST(Block, PinsSurviveEveryChangeOfCount) {
  BeScheme scheme;
  TestBlock* source = new TestBlock(0, 1);
  source->AttachToScheme(&scheme);
  TestBlock* block = new TestBlock(0, 0);
  block->AttachToScheme(&scheme);
  TestBlock* sink = new TestBlock(1, 0);
  sink->AttachToScheme(&scheme);
  const int counts[] = {1, 3, 1, 0, 2, 1, 4, 2, 1, 1, 0, 0, 5};
  BeInputPin* firstIn = nullptr;
  BeOutputPin* firstOut = nullptr;
  int previous = 0;
  for (int n : counts) {
    SCOPED_TRACE(n);
    ASSERT_TRUE(block->SetInputCount(n));
    ASSERT_TRUE(block->SetOutputCount(n));
    ASSERT_EQ(n, block->inputCount);
    ASSERT_EQ(n, block->outputCount);
    if (n == 0) {
      EXPECT_EQ(nullptr, block->inputs);
      EXPECT_EQ(nullptr, block->outputs);
      EXPECT_EQ(nullptr, block->Input(0));
      EXPECT_EQ(nullptr, sink->inputs[0]->source);
    } else if (previous > 0) {
      // The first pins stay the same objects with their links.
      EXPECT_EQ(firstIn, block->inputs[0]);
      EXPECT_EQ(firstOut, block->outputs[0]);
      EXPECT_EQ(source->outputs[0], block->inputs[0]->source);
      EXPECT_EQ(block->outputs[0], sink->inputs[0]->source);
    }
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(block, block->inputs[i]->owner);
      EXPECT_EQ(block, block->outputs[i]->owner);
      EXPECT_EQ(block->inputs[i], block->Input(i));
    }
    if (n > 0) {
      firstIn = block->inputs[0];
      firstOut = block->outputs[0];
      Link(source, 0, block, 0);
      Link(block, 0, sink, 0);
    }
    previous = n;
  }
}

TEST(Block, PinsOfOneResizeLieSideBySide) {
  // A step reads its pins in order: the pins a resize adds are made in one
  // piece of memory, those made before keep their place.
  CBEBlock block;
  ASSERT_TRUE(block.SetInputCount(5));
  ASSERT_TRUE(block.SetOutputCount(4));
  for (int i = 1; i < 5; ++i) EXPECT_EQ(block.inputs[0] + i, block.inputs[i]) << i;
  for (int i = 1; i < 4; ++i) EXPECT_EQ(block.outputs[0] + i, block.outputs[i]) << i;
  BeInputPin* first[5];
  for (int i = 0; i < 5; ++i) first[i] = block.inputs[i];
  ASSERT_TRUE(block.SetInputCount(8));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(first[i], block.inputs[i]) << i;
  for (int i = 6; i < 8; ++i) EXPECT_EQ(block.inputs[5] + (i - 5), block.inputs[i]) << i;
}

TEST(Block, ReorderedPinsGoOneByOne) {
  // A block may reorder its pin pointers (the video-navigation block moves
  // an output to the middle); whatever the order, each pin dropped goes
  // alone, with its links, and the others stay linked.
  BeScheme scheme;
  TestBlock* block = new TestBlock(0, 3);
  block->AttachToScheme(&scheme);
  ASSERT_TRUE(block->SetOutputCount(7));
  TestBlock* sink = new TestBlock(7, 0);
  sink->AttachToScheme(&scheme);
  for (int i = 0; i < 3; ++i) std::swap(block->outputs[i], block->outputs[6 - i]);
  for (int i = 0; i < 7; ++i) Link(block, i, sink, i);
  BeOutputPin* kept[3] = {block->outputs[0], block->outputs[1], block->outputs[2]};
  ASSERT_TRUE(block->SetOutputCount(3));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(kept[i], block->outputs[i]) << i;
    EXPECT_EQ(kept[i], sink->inputs[i]->source) << i;
  }
  for (int i = 3; i < 7; ++i) EXPECT_EQ(nullptr, sink->inputs[i]->source) << i;
  // Pins made again after the drop are new and work as any other.
  ASSERT_TRUE(block->SetOutputCount(5));
  Link(block, 4, sink, 4);
  block->outputs[4]->SetInt(42);
  EXPECT_EQ(42, sink->inputs[4]->source->GetInt());
  delete block;
  for (int i = 0; i < 7; ++i) EXPECT_EQ(nullptr, sink->inputs[i]->source) << i;
}

TEST(Block, RefusedPinGrowthChangesNothing) {
  // Refused at the pins' memory (0 granted) or at the grown array after
  // the pins' memory was had (1 granted); from one pin and from three.
  const struct {
    int from, to, granted;
  } cases[] = {{1, 4, 0}, {1, 4, 1}, {3, 6, 0}, {3, 6, 1}, {0, 1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to << ", granted " << c.granted);
    BeScheme scheme;
    TestBlock* source = new TestBlock(0, 1);
    source->AttachToScheme(&scheme);
    TestBlock* block = new TestBlock(c.from, c.from);
    block->AttachToScheme(&scheme);
    TestBlock* sink = new TestBlock(1, 0);
    sink->AttachToScheme(&scheme);
    if (c.from > 0) {
      Link(source, 0, block, 0);
      Link(block, 0, sink, 0);
    }
    BeInputPin* const* inputsBefore = block->inputs;
    BeInputPin* firstIn = block->Input(0);
    BeOutputPin* firstOut = block->Output(0);
    bool grownIn, grownOut;
    {
      CBufferFailureScope refuse(c.granted);
      grownIn = block->SetInputCount(c.to);
      grownOut = block->SetOutputCount(c.to);
    }
    if (c.to > 1 || c.granted == 0) {
      EXPECT_FALSE(grownIn);
      EXPECT_FALSE(grownOut);
      EXPECT_EQ(c.from, block->inputCount);
      EXPECT_EQ(c.from, block->outputCount);
      EXPECT_EQ(inputsBefore, block->inputs);
      EXPECT_EQ(firstIn, block->Input(0));
      EXPECT_EQ(firstOut, block->Output(0));
      if (c.from > 0) {
        EXPECT_EQ(source->outputs[0], block->inputs[0]->source);
        EXPECT_EQ(block->outputs[0], sink->inputs[0]->source);
      }
    }
    // With memory again the growth goes through.
    ASSERT_TRUE(block->SetInputCount(c.to));
    ASSERT_TRUE(block->SetOutputCount(c.to));
    EXPECT_EQ(firstIn ? firstIn : block->inputs[0], block->inputs[0]);
    for (int i = 0; i < c.to; ++i) EXPECT_EQ(block, block->inputs[i]->owner) << i;
  }
}

TEST(Block, AttachPlacesUnderTheLowestBlock) {
  BeScheme scheme;
  TestBlock* a = new TestBlock;
  a->AttachToScheme(&scheme);
  EXPECT_EQ(150, a->rect.left);
  EXPECT_EQ(40, a->rect.top);
  EXPECT_EQ(300, a->rect.right);
  EXPECT_EQ(140, a->rect.bottom);
  TestBlock* b = new TestBlock;
  b->rect = RECT{5, 5, 65, 35};
  b->AttachToScheme(&scheme);
  EXPECT_EQ(150, b->rect.left);
  EXPECT_EQ(180, b->rect.top);
  EXPECT_EQ(210, b->rect.right);
  EXPECT_EQ(210, b->rect.bottom);
  EXPECT_EQ(b, scheme.blocks);
  EXPECT_EQ(a, b->next);
  EXPECT_EQ(b, a->previous);
  // Moving a block to another scheme unlinks it from the first.
  BeScheme other;
  b->AttachToScheme(&other);
  EXPECT_EQ(a, scheme.blocks);
  EXPECT_EQ(nullptr, a->previous);
  EXPECT_EQ(b, other.blocks);
  EXPECT_EQ(40, b->rect.top);
  // Detaching leaves the block in no list.
  a->AttachToScheme(nullptr);
  EXPECT_EQ(nullptr, scheme.blocks);
  EXPECT_EQ(nullptr, a->scheme);
  delete a;
}

TEST(Block, MoveByCarriesRoutesOfLinksFromSelectedBlocks) {
  BeScheme scheme;
  TestBlock* a = new TestBlock(1, 1);
  a->AttachToScheme(&scheme);
  TestBlock* b = new TestBlock(2, 1);
  b->AttachToScheme(&scheme);
  TestBlock* c = new TestBlock(0, 1);
  c->AttachToScheme(&scheme);
  Link(a, 0, b, 0, 100, 200, 300);
  Link(c, 0, b, 1, 10, 20, 30);
  a->flags |= kBeBlockSelected;
  b->flags |= kBeBlockSelected;
  RECT before = b->rect;
  b->MoveBy(7, -3);
  EXPECT_EQ(before.left + 7, b->rect.left);
  EXPECT_EQ(before.top - 3, b->rect.top);
  EXPECT_EQ(before.right + 7, b->rect.right);
  EXPECT_EQ(before.bottom - 3, b->rect.bottom);
  EXPECT_EQ(107, b->inputs[0]->routeX1);
  EXPECT_EQ(197, b->inputs[0]->routeY);
  EXPECT_EQ(307, b->inputs[0]->routeX2);
  // c is not selected: the route of its link stays.
  EXPECT_EQ(10, b->inputs[1]->routeX1);
  EXPECT_EQ(20, b->inputs[1]->routeY);
  EXPECT_EQ(30, b->inputs[1]->routeX2);
  b->MoveTo(0, 0);
  EXPECT_EQ(0, b->rect.left);
  EXPECT_EQ(150, b->rect.right);
  EXPECT_EQ(100, b->rect.bottom);
}

TEST(Block, DeletingABlockClearsTheInputsItFed) {
  BeScheme scheme;
  TestBlock* a = new TestBlock(0, 2);
  a->AttachToScheme(&scheme);
  TestBlock* d = new TestBlock(0, 1);
  d->AttachToScheme(&scheme);
  TestBlock* b = new TestBlock(2, 0);
  b->AttachToScheme(&scheme);
  TestBlock* c = new TestBlock(1, 0);
  c->AttachToScheme(&scheme);
  Link(a, 0, b, 0);
  Link(d, 0, b, 1);
  Link(a, 1, c, 0);
  delete a;
  EXPECT_EQ(nullptr, b->inputs[0]->source);
  EXPECT_EQ(d->outputs[0], b->inputs[1]->source);
  EXPECT_EQ(nullptr, c->inputs[0]->source);
  EXPECT_EQ(3, scheme.GetBlockCount());
  // Deleting the block that takes a link leaves its source alone.
  delete b;
  EXPECT_EQ(2, scheme.GetBlockCount());
  EXPECT_EQ(c, scheme.blocks);
  EXPECT_EQ(d, scheme.GetTail());
}

TEST(Block, FewerOutputsClearTheLinksOfTheDroppedOnes) {
  BeScheme scheme;
  TestBlock* a = new TestBlock(0, 3);
  a->AttachToScheme(&scheme);
  TestBlock* b = new TestBlock(2, 0);
  b->AttachToScheme(&scheme);
  TestBlock* c = new TestBlock(1, 0);
  c->AttachToScheme(&scheme);
  Link(a, 1, b, 0);
  Link(a, 2, b, 1);
  Link(a, 0, c, 0);
  ASSERT_TRUE(a->SetOutputCount(1));
  EXPECT_EQ(1, a->outputCount);
  EXPECT_EQ(nullptr, b->inputs[0]->source);
  EXPECT_EQ(nullptr, b->inputs[1]->source);
  EXPECT_EQ(a->outputs[0], c->inputs[0]->source);
  EXPECT_EQ(50, a->outputs[0]->yOffset);
}

// A block whose input disconnections are counted, standing in for the
// microcontroller pin block.
class PortPinBlock : public TestBlock {
public:
  void OnInputDisconnected(BeInputPin* input) override { disconnected.push_back(input); }
  std::vector<BeInputPin*> disconnected;
};

TEST(Block, DisconnectTellsOnlyThePortPinBlock) {
  static const BeCatalogueEntry pinEntry = {kBePortPinBlockClassId, L"Пин", nullptr, nullptr};
  static const BeCatalogueEntry otherEntry = {0x1234, L"Другой", nullptr, nullptr};
  BeScheme scheme;
  TestBlock* source = new TestBlock(0, 1);
  source->AttachToScheme(&scheme);
  PortPinBlock* pin = new PortPinBlock;
  pin->entry = &pinEntry;
  pin->AttachToScheme(&scheme);
  PortPinBlock* other = new PortPinBlock;
  other->entry = &otherEntry;
  other->AttachToScheme(&scheme);
  Link(source, 0, pin, 0);
  Link(source, 0, other, 0);
  source->outputs[0]->Disconnect();
  EXPECT_EQ(nullptr, pin->inputs[0]->source);
  EXPECT_EQ(nullptr, other->inputs[0]->source);
  ASSERT_EQ(1u, pin->disconnected.size());
  EXPECT_EQ(pin->inputs[0], pin->disconnected[0]);
  EXPECT_TRUE(other->disconnected.empty());
}

TEST(Block, DisconnectWithoutSchemeDoesNothing) {
  // Blocks made by their creators, never attached.
  TestBlock* a = new TestBlock(0, 1);
  TestBlock b(1, 0);
  b.inputs[0]->source = a->outputs[0];
  a->outputs[0]->Disconnect();
  EXPECT_EQ(a->outputs[0], b.inputs[0]->source);
  b.inputs[0]->source = nullptr;
  delete a;  // nothing to walk, nothing to crash on
}

// Geometry of a link from an output at (100, 50) to an input at (300, 250):
// no detour (300 - 20 is not left of 100), route x1 = 200.
class LinkGeometry : public ::testing::Test {
protected:
  void SetUp() override {
    source = new TestBlock(0, 1);
    source->AttachToScheme(&scheme);
    target = new TestBlock(1, 0);
    target->AttachToScheme(&scheme);
    source->rect = RECT{0, 0, 100, 100};
    target->rect = RECT{300, 200, 450, 300};
  }
  BeScheme scheme;
  TestBlock* source = nullptr;
  TestBlock* target = nullptr;
};

TEST_F(LinkGeometry, PositionsOfPins) {
  POINT out = source->outputs[0]->GetPosition();
  POINT in = target->inputs[0]->GetPosition();
  EXPECT_EQ(100, out.x);
  EXPECT_EQ(50, out.y);
  EXPECT_EQ(300, in.x);
  EXPECT_EQ(250, in.y);
}

TEST_F(LinkGeometry, UnconnectedInputHasNoLink) {
  RECT r = {1, 2, 3, 4};
  EXPECT_EQ(-1, target->inputs[0]->HitTestLink(200, 150));
  EXPECT_FALSE(target->inputs[0]->GetLinkBounds(&r));
  EXPECT_EQ(1, r.left);
}

struct HitCase {
  int x, y, segment;
};

TEST_F(LinkGeometry, StraightLinkHitTest) {
  Link(source, 0, target, 0, 200);
  BeInputPin* input = target->inputs[0];
  EXPECT_FALSE(input->LinkDetours());
  const HitCase cases[] = {
      {202, 150, 1}, {196, 150, 1}, {204, 150, 1}, {205, 150, -1}, {195, 150, -1},
      {150, 53, 4},  {150, 46, 4},  {150, 45, -1}, {250, 247, 0},  {299, 254, 0},
      {200, 250, -1}, {300, 250, -1}, {350, 250, -1}, {100, 50, -1}, {202, 50, -1},
  };
  for (const HitCase& c : cases) {
    EXPECT_EQ(c.segment, input->HitTestLink(c.x, c.y)) << c.x << "," << c.y;
  }
  RECT r;
  ASSERT_TRUE(input->GetLinkBounds(&r));
  EXPECT_EQ(200, r.left);
  EXPECT_EQ(50, r.top);
  EXPECT_EQ(300, r.right);
  EXPECT_EQ(250, r.bottom);
}

TEST_F(LinkGeometry, DetouringLinkHitTest) {
  // Output at (400, 50): 300 - 20 < 400, so the link goes round by x2 = 250,
  // y = 150 and x1 = 450.
  source->rect = RECT{300, 0, 400, 100};
  Link(source, 0, target, 0, 450, 150, 250);
  BeInputPin* input = target->inputs[0];
  EXPECT_TRUE(input->LinkDetours());
  const HitCase cases[] = {
      {252, 200, 3}, {350, 152, 2}, {448, 100, 1}, {420, 50, 4}, {280, 250, 0},
      {252, 248, 3},  // on segments 3 and 0: 3 is tested first
      {250, 150, -1}, {460, 100, -1}, {300, 250, -1}, {240, 250, -1},
  };
  for (const HitCase& c : cases) {
    EXPECT_EQ(c.segment, input->HitTestLink(c.x, c.y)) << c.x << "," << c.y;
  }
  RECT r;
  ASSERT_TRUE(input->GetLinkBounds(&r));
  EXPECT_EQ(250, r.left);
  EXPECT_EQ(50, r.top);
  EXPECT_EQ(450, r.right);
  EXPECT_EQ(250, r.bottom);
}

TEST_F(LinkGeometry, DetourStartsWhenTheSourceReachesTwentyBeforeTheInput) {
  Link(source, 0, target, 0, 200);
  source->rect = RECT{190, 0, 290, 100};
  EXPECT_TRUE(target->inputs[0]->LinkDetours());
  source->rect = RECT{180, 0, 280, 100};
  EXPECT_FALSE(target->inputs[0]->LinkDetours());
}

TEST(Block, ResolveLinksThroughAChain) {
  BeScheme scheme;
  TestBlock* a = new TestBlock(0, 1);
  a->AttachToScheme(&scheme);
  TestBlock* b = new TestBlock(1, 2);
  b->AttachToScheme(&scheme);
  TestBlock* c = new TestBlock(3, 0);
  c->AttachToScheme(&scheme);
  a->outputs[0]->savedId = 11;
  b->outputs[0]->savedId = 12;
  b->outputs[1]->savedId = 13;
  b->inputs[0]->savedSource = 11;
  c->inputs[0]->savedSource = 13;
  c->inputs[1]->savedSource = 0;   // unconnected
  c->inputs[2]->savedSource = 99;  // no such output
  for (CBEBlock* block = scheme.blocks; block; block = block->next) block->ResolveLinks();
  EXPECT_EQ(a->outputs[0], b->inputs[0]->source);
  EXPECT_EQ(b->outputs[1], c->inputs[0]->source);
  EXPECT_EQ(nullptr, c->inputs[1]->source);
  EXPECT_EQ(nullptr, c->inputs[2]->source);
  EXPECT_EQ(0u, c->inputs[0]->savedSource);
  EXPECT_EQ(0u, c->inputs[2]->savedSource);
}

TEST(Block, ResolveTakesTheFirstMatchFromTheListHead) {
  BeScheme scheme;
  TestBlock* older = new TestBlock(1, 1);
  older->AttachToScheme(&scheme);
  TestBlock* newer = new TestBlock(0, 1);
  newer->AttachToScheme(&scheme);
  older->outputs[0]->savedId = 5;
  newer->outputs[0]->savedId = 5;
  older->inputs[0]->savedSource = 5;
  older->ResolveLinks();
  EXPECT_EQ(newer->outputs[0], older->inputs[0]->source);
}

// The base record of a block with one input and one output, by hand: the
// rectangle (150, 40, 300, 140), the caption "Аб", the flags 3 stored as 2,
// an input fed by an output of identity 7 with route 10, 20, 30, and an
// output of identity 9 with the hardware flag.
const char kBaseRecord[] =
    "96 00 00 00  28 00 00 00  2C 01 00 00  8C 00 00 00"
    "10 04 31 04 00 00"
    "02"
    "07 00 00 00  0A 00 00 00  14 00 00 00  1E 00 00 00"
    "09 00 00 00  01";

TEST(BlockRecord, SaveWritesTheBaseRecord) {
  BeScheme scheme;
  TestBlock* source = new TestBlock(0, 1);
  source->AttachToScheme(&scheme);
  TestBlock* block = new TestBlock(1, 1);
  block->AttachToScheme(&scheme);
  block->rect = RECT{150, 40, 300, 140};
  block->SetCaption(L"Аб");
  block->flags = kBeBlockSelected | kBeBlockDevice;
  source->outputs[0]->savedId = 7;
  Link(source, 0, block, 0, 10, 20, 30);
  block->outputs[0]->savedId = 9;
  block->outputs[0]->hardware = 1;
  CMemoryStream stream;
  block->Save(&stream);
  EXPECT_TRUE(velktest::BytesEqual(stream.data, stream.size, velktest::ParseHex(kBaseRecord)));

  // An unconnected input and a null caption.
  block->inputs[0]->source = nullptr;
  block->SetCaption(nullptr);
  block->flags = 0;
  CMemoryStream second;
  block->Save(&second);
  EXPECT_TRUE(velktest::BytesEqual(
      second.data, second.size,
      velktest::ParseHex("96 00 00 00 28 00 00 00 2C 01 00 00 8C 00 00 00 00 00 00"
                         "00 00 00 00 0A 00 00 00 14 00 00 00 1E 00 00 00 09 00 00 00 01")));
}

TEST(BlockRecord, LoadReadsTheBaseRecordAndKeepsTheDeviceBit) {
  std::vector<uint8_t> bytes = velktest::ParseHex(kBaseRecord);
  bytes[22] = 0;  // flags byte stored as 0
  CMemoryStream stream;
  stream.Write(bytes.data(), static_cast<int>(bytes.size()));
  stream.Seek(0, 0);
  TestBlock block(1, 1);
  block.flags = kBeBlockDevice;
  ASSERT_TRUE(block.Load(&stream));
  EXPECT_EQ(static_cast<int>(bytes.size()), stream.position);
  EXPECT_EQ(150, block.rect.left);
  EXPECT_EQ(40, block.rect.top);
  EXPECT_EQ(300, block.rect.right);
  EXPECT_EQ(140, block.rect.bottom);
  EXPECT_STREQ(L"Аб", block.caption);
  EXPECT_EQ(kBeBlockDevice, block.flags);
  EXPECT_EQ(nullptr, block.inputs[0]->source);
  EXPECT_EQ(7u, block.inputs[0]->savedSource);
  EXPECT_EQ(10, block.inputs[0]->routeX1);
  EXPECT_EQ(20, block.inputs[0]->routeY);
  EXPECT_EQ(30, block.inputs[0]->routeX2);
  EXPECT_EQ(9u, block.outputs[0]->savedId);
  EXPECT_EQ(1, block.outputs[0]->hardware);
}

TEST(BlockRecord, EveryTruncationFailsAndNoInputTakesALink) {
  const std::vector<uint8_t> bytes = velktest::ParseHex(kBaseRecord);
  for (size_t n = 0; n < bytes.size(); ++n) {
    SCOPED_TRACE(n);
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int>(n));
    stream.Seek(0, 0);
    TestBlock block(1, 1);
    EXPECT_FALSE(block.Load(&stream));
    EXPECT_EQ(nullptr, block.inputs[0]->source);
  }
}

TEST(BlockRecord, EmptyCaptionReadsBackAsNone) {
  TestBlock block(0, 0);
  block.SetCaption(L"");
  CMemoryStream stream;
  block.Save(&stream);
  stream.Seek(0, 0);
  TestBlock copy(0, 0);
  copy.SetCaption(L"старое");
  ASSERT_TRUE(copy.Load(&stream));
  EXPECT_EQ(nullptr, copy.caption);
}

}  // namespace
