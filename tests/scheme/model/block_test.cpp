// Component base class: placement, designators, pins and their layouts, the
// default symbol, run state, the base record and class pictures.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/buffer_failure_scope.h"
#include "foundation/memory_stream.h"
#include "scheme/model/scheme_host.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/scheme_fixture.h"
#include "tests/support/test_support.h"

using schtest::SchemeBuilder;
using schtest::TestPart;

namespace {

TEST(BlockPlacement, NewBlockGoesBelowEverything) {
  SchemeBuilder b;
  CSCHBlock* first = new CSCHBlock;
  EXPECT_EQ(0, first->rect.left);
  EXPECT_EQ(0, first->rect.top);
  EXPECT_EQ(80, first->rect.right);
  EXPECT_EQ(100, first->rect.bottom);
  first->Attach(b.scheme);
  EXPECT_EQ(100, first->rect.left);
  EXPECT_EQ(50, first->rect.top);
  EXPECT_EQ(180, first->rect.right);
  EXPECT_EQ(150, first->rect.bottom);
  EXPECT_EQ(first, b.scheme->blocks);

  first->MoveTo(400, 200);  // bottom 300
  CSCHBlock* second = new CSCHBlock;
  second->Attach(b.scheme);
  EXPECT_EQ(100, second->rect.left);
  EXPECT_EQ(360, second->rect.top);
  EXPECT_EQ(second, b.scheme->blocks);  // newest first
  EXPECT_EQ(first, second->next);
  EXPECT_EQ(second, first->prev);
  EXPECT_EQ(nullptr, first->instanceName);  // no prefix, no name
}

TEST(BlockNames, AttachNumbersByPrefix) {
  SchemeBuilder b;
  TestPart* u1 = b.Part(1, 1);
  TestPart* u2 = b.Part(1, 1);
  TestPart* r1 = b.Part(1, 1, -1, 0, 0, 0, L"R");
  EXPECT_STREQ(L"U1", u1->instanceName);
  EXPECT_STREQ(L"U2", u2->instanceName);
  EXPECT_STREQ(L"R1", r1->instanceName);
  delete u1;  // the smallest free number is taken again
  EXPECT_STREQ(L"U1", b.Part(1, 1)->instanceName);
}

TEST(BlockNames, UniqueNameIgnoresCaseAndKeepsPrefix) {
  SchemeBuilder b;
  b.Part(1, 1)->SetName(L"r1");
  b.Part(1, 1)->SetName(L"R2");
  TestPart* p = b.Part(1, 1);
  p->SetUniqueName(L"R");
  EXPECT_STREQ(L"R3", p->instanceName);
  p->SetUniqueName(L"r");
  EXPECT_STREQ(L"r3", p->instanceName);  // the prefix as given; its own name does not count

  EXPECT_EQ(nullptr, b.scheme->FindBlockByName(L"R1"));  // case-sensitive
  EXPECT_NE(nullptr, b.scheme->FindBlockByName(L"r1"));
  EXPECT_EQ(p, b.scheme->FindBlockByName(L"r3"));
}

TEST(BlockNames, MakeNameUniqueRenamesOnlyClashes) {
  SchemeBuilder b;
  TestPart* a = b.Part(1, 1);  // U1
  TestPart* c = b.Part(1, 1);  // U2
  c->MakeNameUnique();
  EXPECT_STREQ(L"U2", c->instanceName);
  c->SetName(L"u1");  // a pasted copy of U1
  c->MakeNameUnique();
  EXPECT_STREQ(L"U2", c->instanceName);
  EXPECT_STREQ(L"U1", a->instanceName);
}

TEST(BlockPins, AnchorsAroundTheBody) {
  CSCHBlock block;
  block.SetPinCount(5);
  block.rect = RECT{100, 50, 200, 170};
  const struct { int side, offset, x, y; } cases[] = {
      {0, 30, 93, 80}, {1, 30, 170, 43}, {2, 30, 206, 140}, {3, 30, 130, 176}, {7, 30, 0, 0}};
  for (int i = 0; i < 5; i++) {
    block.pins[i].side = cases[i].side;
    block.pins[i].offset = cases[i].offset;
    POINT p = block.GetPinAnchor(i);
    EXPECT_EQ(cases[i].x, p.x) << "side " << cases[i].side;
    EXPECT_EQ(cases[i].y, p.y) << "side " << cases[i].side;
  }
  POINT outside = block.GetPinAnchor(5);
  EXPECT_EQ(0, outside.x);
  EXPECT_EQ(0, outside.y);
}

TEST(BlockPins, NewPinsHaveDefaults) {
  CSCHBlock block;
  block.SetPinCount(2);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(-1, block.pins[i].number);
    EXPECT_EQ(kSchPinElectric, block.pins[i].kind);
    EXPECT_EQ(nullptr, block.pins[i].wire);
    EXPECT_FLOAT_EQ(2e-7f, block.pins[i].G);
    EXPECT_FLOAT_EQ(2e-7f, block.pins[i].G2);
    EXPECT_EQ(0.0f, block.pins[i].I);
  }
}

TEST(BlockPins, SpacePinsWithAndWithoutWidening) {
  CSCHBlock block;
  block.rect = RECT{0, 0, 120, 120};
  block.SetPinCount(3);
  block.SpacePins(true);  // only the left side has pins: its margin stays 1
  EXPECT_EQ(30, block.pins[0].offset);
  EXPECT_EQ(60, block.pins[1].offset);
  EXPECT_EQ(90, block.pins[2].offset);

  block.SetPinCount(4);
  block.pins[3].side = kSchSideTop;
  block.SpacePins(true);
  EXPECT_EQ(45, block.pins[0].offset);
  EXPECT_EQ(60, block.pins[1].offset);
  EXPECT_EQ(75, block.pins[2].offset);
  EXPECT_EQ(61, block.pins[3].offset);

  block.SpacePins(false);
  EXPECT_EQ(30, block.pins[0].offset);
  EXPECT_EQ(61, block.pins[3].offset);  // 1 * 120 / 2 + 1
}

TEST(BlockPins, FitToPins) {
  TestPart part(10, 2);
  EXPECT_EQ(224, part.rect.bottom - part.rect.top);
  EXPECT_EQ(120, part.rect.right - part.rect.left);
  TestPart small(1, 1);
  EXPECT_EQ(120, small.rect.bottom - small.rect.top);
  TestPart wide(0, 0, 6, 1);
  EXPECT_EQ(160, wide.rect.right - wide.rect.left);
}

TEST(BlockPins, PackageLayouts) {
  struct Case {
    void (CSCHBlock::*layout)();
    int pins;
    float width, length;
    int bodyWidth, bodyHeight;
  };
  const Case cases[] = {
      {&CSCHBlock::LayoutPinsTwoSides, 4, 14.0f, 10.0f, 80, 40},
      {&CSCHBlock::LayoutPinsWideSo, 16, 10.2f, 7 * 1.27f + 1.57f, 80, 160},
      {&CSCHBlock::LayoutPinsNarrowSo, 8, 6.2f, 3 * 1.27f + 1.57f, 80, 80},
      {&CSCHBlock::LayoutPinsDip, 14, 7.62f, 6 * 2.54f + 1.778f, 80, 140},
      {&CSCHBlock::LayoutPinsWideDip, 28, 15.24f, 13 * 2.54f + 1.778f, 80, 280},
      {&CSCHBlock::LayoutPinsQuad, 32, 9.0f, 9.0f, 200, 200},
  };
  for (const Case& c : cases) {
    CSCHBlock block;
    block.SetPinCount(c.pins);
    (block.*c.layout)();
    EXPECT_NEAR(c.width, block.footprintWidth, 1e-5) << c.pins;
    EXPECT_NEAR(c.length, block.footprintLength, 1e-5) << c.pins;
    EXPECT_EQ(c.bodyWidth, block.rect.right - block.rect.left) << c.pins;
    EXPECT_EQ(c.bodyHeight, block.rect.bottom - block.rect.top) << c.pins;
    for (int i = 0; i < c.pins; i++) EXPECT_EQ(i + 1, block.pins[i].number);
  }
  CSCHBlock quad;
  quad.SetPinCount(8);
  quad.LayoutPinsQuad();
  const int sides[8] = {0, 0, 3, 3, 2, 2, 1, 1};  // counter-clockwise
  for (int i = 0; i < 8; i++) EXPECT_EQ(sides[i], quad.pins[i].side) << i;
  CSCHBlock dip;
  dip.SetPinCount(6);
  dip.LayoutPinsDip();
  EXPECT_EQ(kSchSideLeft, dip.pins[2].side);
  EXPECT_EQ(kSchSideRight, dip.pins[3].side);
}

TEST(BlockPins, InsertPinsMovesWiresWithTheirPins) {
  SchemeBuilder b;
  TestPart* a = b.Part(2, 0, 100, 50);
  TestPart* c = b.Part(0, 2, 400, 50);
  SchWire* w0 = b.Connect(c, 0, a, 0);
  SchWire* w1 = b.Connect(c, 1, a, 1);
  a->InsertPins(1, 2);
  ASSERT_EQ(4, a->pinCount);
  EXPECT_EQ(w0, a->pins[0].wire);
  EXPECT_EQ(nullptr, a->pins[1].wire);
  EXPECT_EQ(nullptr, a->pins[2].wire);
  EXPECT_EQ(-1, a->pins[1].number);
  EXPECT_EQ(w1, a->pins[3].wire);
  EXPECT_EQ(1, a->pins[3].wireEnd);
  EXPECT_EQ(3, w1->ends[1].index);
  EXPECT_EQ(0, w0->ends[1].index);
  // FitToPins ran: the new pins (left side by default) are spaced too.
  EXPECT_EQ(16 * 8, a->rect.bottom - a->rect.top);
  EXPECT_EQ(4 * 128 / 5, a->pins[3].offset);
  EXPECT_EQ(b.scheme->WireCount(), 2);
}

TEST(BlockPins, RemovePinsDeletesTheirWiresAndKeepsTheOthers) {
  SchemeBuilder b;
  TestPart* a = b.Part(4, 0, 100, 50);
  TestPart* c = b.Part(0, 4, 400, 50);
  SchWire* w[4];
  for (int i = 0; i < 4; i++) w[i] = b.Connect(c, i, a, i);
  a->RemovePins(1, 2);
  ASSERT_EQ(2, a->pinCount);
  EXPECT_EQ(2, b.scheme->WireCount());
  EXPECT_EQ(w[0], a->pins[0].wire);
  EXPECT_EQ(w[3], a->pins[1].wire);
  EXPECT_EQ(1, w[3]->ends[1].index);
  EXPECT_EQ(a, w[3]->GetEndBlock(1));
  EXPECT_EQ(nullptr, c->pins[1].wire);  // the deleted wires left the far pins too
  EXPECT_EQ(nullptr, c->pins[2].wire);
  EXPECT_EQ(w[3], c->pins[3].wire);
  a->RemovePins(1, 5);  // clamped to the array
  EXPECT_EQ(1, a->pinCount);
  EXPECT_EQ(1, b.scheme->WireCount());
}

TEST(BlockPins, ShrinkingPinCountDeletesWiresUnlessLoaded) {
  SchemeBuilder b;
  TestPart* a = b.Part(2, 0, 100, 50);
  TestPart* c = b.Part(0, 2, 400, 50);
  b.Connect(c, 0, a, 0);
  b.Connect(c, 1, a, 1);
  a->SetPinCount(1);
  EXPECT_EQ(1, b.scheme->WireCount());
  EXPECT_EQ(nullptr, c->pins[1].wire);
  // While loaded the wire fields hold saved identities: nothing is deleted.
  a->flags |= kSchLoaded;
  a->pins[0].wire = reinterpret_cast<SchWire*>(static_cast<intptr_t>(7));
  a->SetPinCount(0);
  EXPECT_EQ(1, b.scheme->WireCount());
  a->flags &= ~kSchLoaded;
}

TEST(BlockChildren, ParentDeletesChildren) {
  SchemeBuilder b;
  TestPart* parent = b.Part(1, 1);
  TestPart* child1 = b.Part(1, 1);
  TestPart* child2 = b.Part(1, 1);
  parent->AddChild(child1);
  parent->AddChild(child2);
  EXPECT_EQ(parent, child1->parent);
  delete child1;  // a child leaves its parent's list
  ASSERT_EQ(1, parent->childCount);
  EXPECT_EQ(child2, parent->children[0]);
  delete parent;
  EXPECT_EQ(0, b.scheme->BlockCount());
}

// The child array doubles: a child that needs no new room is added even when
// memory is refused, one that needs room is refused and left unowned.
TEST(BlockChildren, AddChildAnswersWhetherTheArrayCouldGrow) {
  SchemeBuilder b;
  TestPart* parent = b.Part(1, 1);
  TestPart* kids[5];
  for (TestPart*& k : kids) k = b.Part(1, 1);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(parent->AddChild(kids[i]));  // room for 4
  {
    CBufferFailureScope refuse(0);
    EXPECT_TRUE(parent->AddChild(kids[3]));
    EXPECT_FALSE(parent->AddChild(kids[4]));
    EXPECT_GT(refuse.GetRefusals(), 0);
  }
  EXPECT_FALSE(parent->AddChild(nullptr));
  ASSERT_EQ(parent->childCount, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(parent->children[i], kids[i]);
  EXPECT_EQ(kids[3]->parent, parent);
  EXPECT_EQ(kids[4]->parent, nullptr);
  ASSERT_TRUE(parent->AddChild(kids[4]));
  EXPECT_EQ(parent->children[4], kids[4]);
  delete parent;
  EXPECT_EQ(0, b.scheme->BlockCount());
}

// Renders a block into a 32-bit DIB section and answers the pixel colours.
class Canvas {
public:
  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, bitmap);
    for (int i = 0; i < w * h; i++) bits[i] = 0xFFFFFF;
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) {
    GdiFlush();
    DWORD v = bits[y * width + x] & 0xFFFFFF;
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  int CountDark(int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; y++)
      for (int x = left; x < right; x++)
        if (GetRValue(At(x, y)) < 100) n++;
    return n;
  }
  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  DWORD* bits = nullptr;
};

TEST(BlockPaint, DefaultSymbolDrawsBodyNameAndModel) {
  Canvas canvas(300, 300);
  ASSERT_NE(nullptr, canvas.bits);
  SelectObject(canvas.dc, GetStockObject(DEFAULT_GUI_FONT));
  CSCHBlock block;
  block.rect = RECT{50, 40, 250, 240};
  block.SetName(L"DD12");
  block.SetModel("K555LA3");
  block.Paint(canvas.dc);

  const COLORREF grey = RGB(238, 238, 238);
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(20, 20));   // outside
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(50, 100));        // left edge
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(120, 40));        // top edge
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(249, 100));       // right edge (inside the rectangle)
  EXPECT_EQ(grey, canvas.At(70, 60));                 // body
  EXPECT_EQ(grey, canvas.At(230, 225));
  // The name is centred: dark pixels in the middle band above the centre
  // line, none near the top of the body.
  EXPECT_GT(canvas.CountDark(62, 120, 238, 150), 10);
  EXPECT_EQ(0, canvas.CountDark(52, 42, 248, 100));
  // The model text starts 10 px below the middle (y 150).
  EXPECT_GT(canvas.CountDark(62, 150, 238, 180), 10);

  // No name and no model: only the body.
  Canvas plain(300, 300);
  CSCHBlock empty;
  empty.rect = RECT{50, 40, 250, 240};
  empty.Paint(plain.dc);
  EXPECT_EQ(0, plain.CountDark(52, 42, 248, 238));
  EXPECT_EQ(grey, plain.At(150, 135));
}

TEST(BlockRunState, RoundTripAndForeignClass) {
  CMemoryStream s;
  TestPart part(1, 1);
  part.burnt = 1;
  part.SaveRunState(&s);
  s.WriteByte(0x5A);
  s.Seek(0, 0);
  TestPart copy(1, 1);
  EXPECT_TRUE(copy.LoadRunState(&s));
  EXPECT_EQ(1, copy.burnt);
  EXPECT_EQ(0x5A, s.ReadByte());

  s.Seek(0, 0);
  CSCHBlock other;
  other.className = "Resister";
  EXPECT_FALSE(other.LoadRunState(&s));
  EXPECT_EQ(0, other.burnt);
  EXPECT_EQ(9, s.GetPosition());  // "TestPart" and its terminator only
}

TEST(BlockRecord, BaseRecordRoundTrip) {
  SchemeBuilder b;
  TestPart* a = b.Part(1, 1, 10, 20);
  TestPart* c = b.Part(1, 1, 300, 20);
  SchWire* w = b.Connect(a, 1, c, 0);
  a->AddChild(c);
  a->ApplyDbFields("KT315", "3:1;", L"Транзисторы", 12.5);
  a->boardX = 1.27f;
  a->orientation = 3;
  a->flags = kSchSelected | kSchBoardSelected | kSchBoardPart;
  b.scheme->NumberObjects();
  EXPECT_EQ(1, a->savedId);  // oldest first
  EXPECT_EQ(2, c->savedId);
  EXPECT_EQ(1, w->savedId);
  CMemoryStream s;
  a->Save(&s);
  b.scheme->ClearIdentities();
  EXPECT_EQ(0, a->savedId);

  s.Seek(0, 0);
  TestPart loaded(1, 1);
  loaded.Load(&s);
  EXPECT_EQ(s.size, s.GetPosition());
  EXPECT_EQ(1, loaded.savedId);
  EXPECT_EQ(kSchBoardPart | kSchLoaded, loaded.flags);
  EXPECT_STREQ(L"U1", loaded.instanceName);
  EXPECT_STREQ("KT315", loaded.model);
  EXPECT_STREQ("3:1;", loaded.options);
  EXPECT_STREQ(L"Транзисторы", loaded.tableName);
  EXPECT_EQ(12.5, loaded.price);
  EXPECT_EQ(a->rect.left, loaded.rect.left);
  EXPECT_EQ(a->rect.bottom, loaded.rect.bottom);
  EXPECT_EQ(0, reinterpret_cast<intptr_t>(loaded.pins[0].wire));
  EXPECT_EQ(1, reinterpret_cast<intptr_t>(loaded.pins[1].wire));
  EXPECT_FLOAT_EQ(1.27f, loaded.boardX);
  EXPECT_EQ(3, loaded.orientation);
  ASSERT_EQ(1, loaded.childCount);
  EXPECT_EQ(2, reinterpret_cast<intptr_t>(loaded.children[0]));
  // Still loaded: its destructor follows none of these identities.
}

// A program whose component viewer records what it was asked to show.
class RecordingViewerHost : public CSchemeHost {
public:
  void ShowComponentModel(const wchar_t* table, const char* model, const char* options) override {
    shownTable = table ? table : L"";
    shownModel = model ? model : "";
    shownOptions = options ? options : "";
    shown++;
  }
  std::wstring shownTable;
  std::string shownModel, shownOptions;
  int shown = 0;
};

TEST(BlockEdit, ShowsTheModelAndNeverReportsAChange) {
  RecordingViewerHost host;
  CSchemeHostScope withViewer(&host);
  CSCHBlock block;
  EXPECT_FALSE(block.Edit());
  block.SetModel("1N4148");
  EXPECT_FALSE(block.Edit());
  EXPECT_EQ(0, host.shown);  // no table name: nothing shown
  block.SetTableName(L"Диоды");
  EXPECT_FALSE(block.Edit());
  EXPECT_EQ(1, host.shown);
  EXPECT_EQ(L"Диоды", host.shownTable);
  EXPECT_EQ("1N4148", host.shownModel);
  block.SetOptions("SOD-80");
  EXPECT_FALSE(block.Edit());
  EXPECT_EQ(2, host.shown);
  EXPECT_EQ("SOD-80", host.shownOptions);
}

TEST(SchemeIcons, LoadOncePerImage) {
  velktest::TempFolder folder;
  {
    CKestImage picture;
    ASSERT_TRUE(picture.Create(4, 4, 24));
    ASSERT_TRUE(SUCCEEDED(picture.Save(folder.File(L"res.bmp").c_str())));
  }
  CKestImage image;
  SetSchemeIconsFolder(nullptr);
  EXPECT_FALSE(LoadSchemeIcon(&image, L"res.bmp"));  // no folder yet
  SetSchemeIconsFolder(folder.Path().c_str());
  EXPECT_FALSE(LoadSchemeIcon(&image, L"missing.bmp"));
  EXPECT_TRUE(image.IsNull());
  EXPECT_TRUE(LoadSchemeIcon(&image, L"res.bmp"));
  EXPECT_EQ(4, image.GetWidth());
  // Already loaded: the file is not read again.
  EXPECT_TRUE(LoadSchemeIcon(&image, L"missing.bmp"));
  EXPECT_EQ(4, image.GetWidth());

  std::wstring longName(260, L'a');
  CKestImage other;
  wchar_t path[260];
  EXPECT_FALSE(MakeSchemeIconPath(path, longName.c_str()));
  EXPECT_FALSE(LoadSchemeIcon(&other, longName.c_str()));
  SetSchemeIconsFolder(nullptr);
}

}  // namespace

namespace {

TEST(BlockPins, WireBetweenTwoPinsOfOneBlockFollowsBoth) {
  SchemeBuilder b;
  TestPart* a = b.Part(0, 0, 100, 100, 0, 4);  // four bottom pins
  SchWire* w = b.Wire(3, {300});
  ASSERT_TRUE(w->AttachToPin(0, a, 1));
  ASSERT_TRUE(w->AttachToPin(1, a, 3));
  a->InsertPins(0, 2);
  EXPECT_EQ(3, w->ends[0].index);
  EXPECT_EQ(5, w->ends[1].index);
  a->RemovePins(0, 3);  // drops the two new pins and old pin 0
  EXPECT_EQ(0, w->ends[0].index);
  EXPECT_EQ(2, w->ends[1].index);
  EXPECT_EQ(w, a->pins[0].wire);
  EXPECT_EQ(w, a->pins[2].wire);
}

}  // namespace
