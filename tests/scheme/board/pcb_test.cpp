// The board component: its record inside the scheme stream, its nested
// scheme's life, and its part in a simulation run.
#include "scheme/board/pcb.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scheme/circuit_fixture.h"
#include "foundation/memory_stream.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/model/wire.h"
#include "scheme/parts/connector.h"
#include "scheme/scheme_fixture.h"
#include "support/test_support.h"

namespace {

// Two pins (0 left, 1 right), designators U1, U2, ...; notes its simulation
// calls in a shared log.
class Probe : public CSCHBlock {
public:
  Probe() {
    namePrefix = L"U";
    SetPinCount(2);
    pins[0].side = kSchSideLeft;
    pins[1].side = kSchSideRight;
  }
  void Start() override { Note(L"start"); }
  void Step(float dt) override { Note(L"step " + std::to_wstring(dt)); }
  void Stop() override { Note(L"stop"); }
  void Note(const std::wstring& what) {
    if (log) log->push_back(what + L" " + (instanceName ? instanceName : L"?"));
  }
  static std::vector<std::wstring>* log;
};
std::vector<std::wstring>* Probe::log = nullptr;

CSCHBlock* NewProbe() { return new Probe; }
CSCHBlock* MakeConnector() { return new CSCHConnector; }

std::vector<uint8_t> WriteBytes(SchScheme* s) {
  CMemoryStream m;
  s->Write(&m, 0);
  return std::vector<uint8_t>(m.data, m.data + m.size);
}

bool ReadBytes(SchScheme* s, const std::vector<uint8_t>& bytes) {
  CMemoryStream m;
  if (!bytes.empty()) m.Write(bytes.data(), static_cast<int>(bytes.size()));
  m.Seek(0, 0);
  return s->Read(&m, 0);
}

void Link(SchWire* w, int end, CSCHBlock* b, int pin) {
  w->endKind[end] = kSchWireEndPin;
  w->ends[end].target = b;
  w->ends[end].index = pin;
  b->pins[pin].wire = w;
  b->pins[pin].wireEnd = static_cast<unsigned char>(end);
}

SchWire* Connect(SchScheme* s, CSCHBlock* a, int pa, CSCHBlock* b, int pb) {
  SchWire* w = new SchWire(s);
  Link(w, 0, a, pa);
  Link(w, 1, b, pb);
  return w;
}

// The block of that instance name in a scheme, or null.
CSCHBlock* Named(SchScheme* s, const wchar_t* name) { return s->FindBlockByName(name); }

class BoardComponent : public ::testing::Test {
protected:
  void SetUp() override {
    g_schClassRegistry.Clear();
    g_schClassRegistry.Add("PCB", CreateCSCH_PCB);
    g_schClassRegistry.Add("Probe", NewProbe);
    g_schClassRegistry.Add("Conn", MakeConnector);
    SetModelPathAndCheck(nullptr, 0x99);
    Probe::log = &log;
  }
  void TearDown() override {
    Probe::log = nullptr;
    g_schClassRegistry.Clear();
    SetModelPathAndCheck(nullptr, 0x99);
  }

  CSCH_PCB* NewBoard(SchScheme* s) { return static_cast<CSCH_PCB*>(s->CreateBlock("PCB")); }
  CSCHConnector* NewConnector(SchScheme* board, int pins) {
    CSCHConnector* x = static_cast<CSCHConnector*>(board->CreateBlock("Conn"));
    x->SetPinCount(pins);
    x->LayoutPins();
    return x;
  }

  // A board of 80 x 60 mm on scheme s: connector X1 (4 pins, left), X2
  // (6 pins, top), parts U1 and U2 wired to each other and U1 to X1's first
  // pin; outside, a part wired to the board's third pin (X1's third).
  CSCH_PCB* BuildBoard(SchScheme* s) {
    CSCH_PCB* b = NewBoard(s);
    b->SetName(L"Плата 1");
    b->footprintWidth = 80.0f;
    b->footprintLength = 60.0f;
    SchScheme* in = b->Board();
    CSCHConnector* x1 = NewConnector(in, 4);
    NewConnector(in, 6);
    CSCHBlock* u1 = in->CreateBlock("Probe");
    CSCHBlock* u2 = in->CreateBlock("Probe");
    u1->boardX = 12.7f;
    u1->boardY = -5.08f;
    u1->orientation = 1;
    u1->footprintWidth = 4.0f;
    Connect(in, u1, 1, u2, 0);
    Connect(in, x1, 0, u1, 0);
    CSCHBlock* outside = s->CreateBlock("Probe");
    Connect(s, outside, 1, b, 2);
    return b;
  }

  std::vector<std::wstring> log;
};

TEST_F(BoardComponent, NewBoardIsA120SymbolOfA100MillimetreBoard) {
  CSCH_PCB loose;
  EXPECT_EQ(loose.rect.left, 0);
  EXPECT_EQ(loose.rect.top, 0);
  EXPECT_EQ(loose.rect.right, 120);
  EXPECT_EQ(loose.rect.bottom, 120);
  EXPECT_EQ(loose.footprintWidth, 100.0f);
  EXPECT_EQ(loose.footprintLength, 100.0f);
  EXPECT_EQ(loose.price, 500.0);
  EXPECT_EQ(loose.Board(), nullptr);
  EXPECT_EQ(loose.pinCount, 0);

  // The program's own registry row makes it, and attaching gives it its
  // nested scheme, owned by the board.
  g_schClassRegistry.Clear();
  RegisterComponentClasses();
  const SchClassRow* row = g_schClassRegistry.Find("PCB");
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->creator, CreateCSCH_PCB);
  SchScheme s, other;
  CSCH_PCB* b = static_cast<CSCH_PCB*>(s.CreateBlock("PCB"));
  ASSERT_NE(b, nullptr);
  EXPECT_STREQ(b->className, "PCB");
  SchScheme* board = b->Board();
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(board->ownerBlock, b);
  EXPECT_EQ(b->nestedScheme, board);
  EXPECT_EQ(b->instanceName, nullptr);  // boards have no designator prefix
  // Moving it to another scheme keeps the same board.
  b->Attach(&other);
  EXPECT_EQ(b->Board(), board);
  EXPECT_EQ(other.blocks, b);
  EXPECT_EQ(s.blocks, nullptr);
}

TEST_F(BoardComponent, RecordOfANewBoardIsTheHandComputedBytes) {
  SchScheme s;
  ASSERT_NE(NewBoard(&s), nullptr);
  std::vector<uint8_t> expected = velktest::ParseHex(R"(
    53 50 48 31  D0 00 00 00  01 00 00 00   // "SPH1", header, one block
    50 43 42 00                             // class "PCB"
    00 00 C8 42  00 00 C8 42                // board 100.0 x 100.0 mm
    53 50 48 31  D0 00 00 00  00 00 00 00   // nested scheme: no blocks,
    00 00  00 00 00 00  99                  //   no path, no wires, check byte,
    00 00 00 00  00 00 00 00                //   no junctions, no buses
    01 00 00 00  00                         // identity 1, flags
    00 00  00  00  00 00                    // name, model, options, table
    00 00 00 00 00 40 7F 40                 // price 500.0
    64 00 00 00  32 00 00 00  DC 00 00 00  AA 00 00 00   // symbol 100,50 - 220,170
    00 00 00 00  00 00 00 00  00  00        // board x, y, orientation, no children
    00 00  00 00 00 00  99  00 00 00 00  00 00 00 00     // outer path, wires, check, junctions, buses
  )");
  EXPECT_TRUE(velktest::BytesEqual(WriteBytes(&s), expected));

  SchScheme back;
  ASSERT_TRUE(ReadBytes(&back, expected));
  ASSERT_NE(back.blocks, nullptr);
  CSCH_PCB* b = static_cast<CSCH_PCB*>(back.blocks);
  EXPECT_STREQ(b->className, "PCB");
  ASSERT_NE(b->Board(), nullptr);
  EXPECT_EQ(b->Board()->ownerBlock, b);
  EXPECT_EQ(b->Board()->blocks, nullptr);
  EXPECT_TRUE(velktest::BytesEqual(WriteBytes(&back), expected));
}

TEST_F(BoardComponent, RoundTripKeepsSizePartsWiresAndMirroredPins) {
  SchScheme s;
  CSCH_PCB* b = BuildBoard(&s);
  // A symbol that does not fit the pins: reading refits it.
  b->rect = {10, 20, 30, 40};
  std::vector<uint8_t> bytes = WriteBytes(&s);

  SchScheme back;
  ASSERT_TRUE(ReadBytes(&back, bytes));
  CSCH_PCB* r = static_cast<CSCH_PCB*>(Named(&back, L"Плата 1"));
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->footprintWidth, 80.0f);
  EXPECT_EQ(r->footprintLength, 60.0f);
  SchScheme* in = r->Board();
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->ownerBlock, r);
  EXPECT_EQ(in->BlockCount(), 4);
  EXPECT_EQ(in->WireCount(), 2);

  // Parts and wires inside.
  CSCHBlock* x1 = Named(in, L"X1");
  CSCHBlock* u1 = Named(in, L"U1");
  CSCHBlock* u2 = Named(in, L"U2");
  ASSERT_TRUE(x1 && u1 && u2 && Named(in, L"X2"));
  EXPECT_STREQ(u1->className, "Probe");
  EXPECT_STREQ(x1->className, "Conn");
  EXPECT_EQ(u1->boardX, 12.7f);
  EXPECT_EQ(u1->boardY, -5.08f);
  EXPECT_EQ(u1->orientation, 1);
  ASSERT_NE(u1->pins[1].wire, nullptr);
  EXPECT_EQ(u1->pins[1].wire, u2->pins[0].wire);
  ASSERT_NE(x1->pins[0].wire, nullptr);
  EXPECT_EQ(x1->pins[0].wire, u1->pins[0].wire);

  // The board's pins mirror the connectors: X1's four on the left, X2's six
  // on top, numbered and named after their connector.
  ASSERT_EQ(r->pinCount, 10);
  for (int i = 0; i < 10; i++) {
    bool first = i < 4;
    EXPECT_EQ(r->pins[i].side, first ? kSchSideLeft : kSchSideTop) << i;
    EXPECT_EQ(r->pins[i].number, first ? i + 1 : i - 3) << i;
    EXPECT_STREQ(r->pins[i].name, first ? L"X1" : L"X2") << i;
  }
  EXPECT_EQ(static_cast<CSCHConnector*>(Named(in, L"X2"))->pinOffset, 4);
  // Refitted symbol: sides hold 4 + 4 and 6 + 4 pin steps of 16 pixels.
  EXPECT_EQ(r->rect.left, 10);
  EXPECT_EQ(r->rect.top, 20);
  EXPECT_EQ(r->rect.right, 10 + 160);
  EXPECT_EQ(r->rect.bottom, 20 + 128);
  // Spread with three free steps at each end: (k + 3) x 128 / 9 on the
  // left, (k + 3) x 160 / 11 + 1 on top.
  const int left[4] = {42, 56, 71, 85};
  const int top[6] = {44, 59, 73, 88, 102, 117};
  for (int k = 0; k < 4; k++) EXPECT_EQ(r->pins[k].offset, left[k]) << k;
  for (int k = 0; k < 6; k++) EXPECT_EQ(r->pins[4 + k].offset, top[k]) << k;

  // The outside wire is on the board's third pin again.
  SchWire* w = r->pins[2].wire;
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->endKind[1], kSchWireEndPin);
  EXPECT_EQ(w->ends[1].target, r);
  EXPECT_EQ(w->ends[1].index, 2);
  EXPECT_EQ(back.WireCount(), 1);

  // And it all writes back what the original writes with the same symbol.
  b->rect = r->rect;
  EXPECT_TRUE(velktest::BytesEqual(WriteBytes(&back), WriteBytes(&s)));
}

class DamagedBoard : public BoardComponent {
protected:
  void SetUp() override {
    BoardComponent::SetUp();
    target = new SchScheme;
    CSCHBlock* p = target->CreateBlock("Probe");
    CSCHBlock* q = target->CreateBlock("Probe");
    Connect(target, p, 1, q, 0);
    blocks = target->BlockCount();
    counts = g_schLiveCounts;
  }
  void TearDown() override {
    delete target;
    BoardComponent::TearDown();
  }
  ::testing::AssertionResult Unchanged() {
    if (target->BlockCount() != blocks || target->WireCount() != 1)
      return ::testing::AssertionFailure() << "the scheme changed";
    SchLiveCounts now = g_schLiveCounts;
    now.nets = counts.nets;
    if (!(now == counts)) return ::testing::AssertionFailure() << "left behind: " << now << " of " << counts;
    return ::testing::AssertionSuccess();
  }
  SchScheme* target = nullptr;
  int blocks = 0;
  SchLiveCounts counts;
};

TEST_F(DamagedBoard, EveryTruncationFailsWithNothingLeftBehind) {
  std::vector<uint8_t> bytes;
  {
    SchScheme s;
    BuildBoard(&s);
    bytes = WriteBytes(&s);
  }
  velktest::DialogAnswerer answerer(IDOK);
  for (size_t n = 0; n < bytes.size(); n++) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
    ASSERT_FALSE(ReadBytes(target, cut)) << n << " of " << bytes.size();
    ASSERT_TRUE(Unchanged()) << n << " of " << bytes.size();
  }
  EXPECT_EQ(answerer.Count(), 0);
  ASSERT_TRUE(ReadBytes(target, bytes));
  EXPECT_EQ(target->BlockCount(), blocks + 2);
}

// Offset of the nested stream's magic in a stream holding one board first.
size_t NestedMagic(const std::vector<uint8_t>& bytes) {
  const size_t offset = 12 + 4 + 8;  // header, "PCB", two floats
  EXPECT_EQ(0, memcmp(bytes.data() + offset, "SPH1", 4));
  return offset;
}

TEST_F(DamagedBoard, BrokenNestedStreamFailsTheOuterRead) {
  std::vector<uint8_t> bytes;
  {
    SchScheme s;
    CSCH_PCB* b = NewBoard(&s);
    b->Board()->CreateBlock("Probe");
    s.CreateBlock("Probe");  // a record after the board's
    bytes = WriteBytes(&s);
  }
  size_t magic = NestedMagic(bytes);
  const size_t firstClass = magic + 12;  // the nested scheme's "Probe"
  ASSERT_EQ(0, memcmp(bytes.data() + firstClass, "Probe", 6));
  struct Case {
    const char* what;
    size_t offset;
    uint8_t value;
    int messages;
  };
  const Case cases[] = {
      {"nested magic", magic, 'X', 0},
      {"nested block count beyond the bytes", magic + 8, 0x7F, 0},
      {"negative nested block count", magic + 11, 0x80, 0},
      {"unknown class inside the board", firstClass, 'Q', 1},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> broken = bytes;
    broken[c.offset] = c.value;
    velktest::DialogAnswerer answerer(IDOK);
    EXPECT_FALSE(ReadBytes(target, broken)) << c.what;
    EXPECT_TRUE(Unchanged()) << c.what;
    EXPECT_EQ(answerer.Count(), c.messages) << c.what;
    if (c.messages && answerer.Count()) {
      EXPECT_EQ(answerer.Texts()[0], L"Класс блока Qrobe не зарегистрирован! Последний удачный класс .");
    }
  }
  EXPECT_TRUE(ReadBytes(target, bytes));
}

// A board on a board on a board ... depth levels in all.
std::vector<uint8_t> ChainOfBoards(int depth) {
  SchScheme s;
  SchScheme* at = &s;
  for (int i = 0; i < depth; i++) at = static_cast<CSCH_PCB*>(at->CreateBlock("PCB"))->Board();
  at->CreateBlock("Probe");
  return WriteBytes(&s);
}

TEST_F(DamagedBoard, BoardsNestedTooDeepAreRefused) {
  std::vector<uint8_t> deepest = ChainOfBoards(kSchMaxBoardNesting);
  ASSERT_TRUE(ReadBytes(target, deepest));
  SchScheme* at = target;
  for (int i = 0; i < kSchMaxBoardNesting; i++) {
    CSCH_PCB* b = static_cast<CSCH_PCB*>(at->blocks);
    ASSERT_STREQ(b->className, "PCB") << i;
    at = b->Board();
  }
  EXPECT_STREQ(at->blocks->className, "Probe");
  delete target->blocks;
  ASSERT_TRUE(Unchanged());

  EXPECT_FALSE(ReadBytes(target, ChainOfBoards(kSchMaxBoardNesting + 1)));
  EXPECT_TRUE(Unchanged());
  // Far deeper than the stack would take.
  EXPECT_FALSE(ReadBytes(target, ChainOfBoards(3000)));
  EXPECT_TRUE(Unchanged());
}

TEST_F(BoardComponent, DeletingABoardDeletesEverythingOnIt) {
  SchScheme s;
  SchLiveCounts before = g_schLiveCounts;
  CSCH_PCB* b = BuildBoard(&s);
  EXPECT_EQ(g_schLiveCounts.schemes, before.schemes + 1);
  EXPECT_EQ(g_schLiveCounts.blocks, before.blocks + 6);
  delete b;
  // Only the outside part stays, without its wire to the board.
  EXPECT_EQ(s.BlockCount(), 1);
  EXPECT_EQ(s.wires, nullptr);
  EXPECT_EQ(s.blocks->pins[1].wire, nullptr);
  delete s.blocks;
  EXPECT_EQ(g_schLiveCounts, before);

  // Deleting the scheme that holds a board does the same.
  SchScheme* outer = new SchScheme;
  before = g_schLiveCounts;
  BuildBoard(outer);
  delete outer;
  before.schemes--;
  EXPECT_EQ(g_schLiveCounts, before);
}

TEST_F(BoardComponent, RunStepsThePartsOnTheBoardWithTheSameDt) {
  SchScheme s;
  CSCH_PCB* b = BuildBoard(&s);
  CSCHBlock* inside = Named(b->Board(), L"U1");
  s.BuildNets();
  // The board built the nets of its own scheme.
  EXPECT_NE(inside->pins[1].net, nullptr);
  s.StartSimulation();
  s.StepSimulation(0.25f);
  s.StepSimulation(0.125f);
  s.StopSimulation();
  EXPECT_EQ(inside->pins[1].net, nullptr);
  const std::vector<std::wstring> expected = {
      L"start U1",          // outer part (newest first: it was added last)
      L"start U2", L"start U1",
      L"step 0.250000 U1", L"step 0.250000 U2", L"step 0.250000 U1",
      L"step 0.125000 U1", L"step 0.125000 U2", L"step 0.125000 U1",
      L"stop U1", L"stop U2", L"stop U1",
  };
  EXPECT_EQ(log, expected);
}

TEST_F(BoardComponent, ConnectorsJoinTheOutsideNetToThePartsOnTheBoard) {
  circuit::Circuit outer;
  CSCH_PCB* b = outer.Add<CSCH_PCB>();
  circuit::Circuit in(b->Board());
  CSCHConnector* x = in.Add<CSCHConnector>();
  x->SetPinCount(1);
  x->LayoutPins();
  ASSERT_EQ(b->pinCount, 1);
  circuit::Part* source = outer.Part(1);
  circuit::Part* sink = in.Part(1);
  source->Drive(0, 5.0f, 100.0f);
  sink->Drive(0, 0.0f, 1e9f);
  outer.Wire(source, 0, b, 0);
  in.Wire(x, 0, sink, 0);
  outer.Run(2, 0.01f);
  EXPECT_NEAR(circuit::Circuit::Read(sink, 0), 5.0f, 1e-3f);
  EXPECT_EQ(sink->steps, 2);
  outer.Stop();
}

TEST_F(BoardComponent, RunStateCarriesThePartsOnTheBoard) {
  SchScheme s;
  CSCH_PCB* b = BuildBoard(&s);
  CSCHBlock* u2 = Named(b->Board(), L"U2");
  b->burnt = 1;
  u2->burnt = 1;
  CMemoryStream m;
  b->SaveRunState(&m);
  b->burnt = 0;
  u2->burnt = 0;
  m.Seek(0, 0);
  EXPECT_TRUE(b->LoadRunState(&m));
  EXPECT_EQ(b->burnt, 1);
  EXPECT_EQ(u2->burnt, 1);
  EXPECT_EQ(m.position, m.size);

  // Another class's record: refused after its name, the board untouched.
  CMemoryStream other;
  other.WriteStringA("Probe");
  other.WriteByte(0);
  other.Seek(0, 0);
  EXPECT_FALSE(b->LoadRunState(&other));
  EXPECT_EQ(b->burnt, 1);
}

TEST_F(BoardComponent, SymbolIsLightGreenWithItsName) {
  SchScheme s;
  CSCH_PCB* b = NewBoard(&s);
  b->SetName(L"Плата");
  b->MoveTo(20, 20);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 200);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, 200, 200};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  b->Paint(dc);
  EXPECT_EQ(GetPixel(dc, 40, 30), RGB(0x99, 0xFF, 0x99));
  EXPECT_EQ(GetPixel(dc, 20, 80), RGB(0, 0, 0));   // left edge
  EXPECT_EQ(GetPixel(dc, 139, 80), RGB(0, 0, 0));  // right edge
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 140, 80), RGB(255, 255, 255));
  // The name: black ink in the middle band of the body.
  int ink = 0;
  for (int y = 60; y < 100; y++)
    for (int x = 32; x < 128; x++) ink += GetPixel(dc, x, y) == RGB(0, 0, 0);
  EXPECT_GT(ink, 10);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
