// The board view: coordinate conversions and the grid, the conflict check
// as a table, the rendered board (colours, holes, conflict marks), scroll
// ranges, zooming without limits overflowing, the exported picture, and
// editing with mouse and keys: click and band selection, moving on the
// grid, placing, rotating, deleting (refused while a block-diagram editor
// is open), and copying and pasting parts through the clipboard.
#include <windows.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/board/pcb_view.h"
#include "app/editor/editor_fixture.h"
#include "blocks/engine/editor/open_editor_count.h"
#include "kestui/forms/kest_form.h"
#include "kestui/menus/kest_menu.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/model/block.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/scheme.h"
#include "support/test_support.h"

namespace {

// A part with a footprint of w x l mm and n pins that draws nothing, so
// that the pixels under it are the board's.
class BoardPart : public CSCHBlock {
public:
  BoardPart() : BoardPart(10, 10, 4) {}
  BoardPart(float w, float l, int pins) {
    className = "PLS";
    typeText = L"Разъём";
    namePrefix = L"X";
    footprintWidth = w;
    footprintLength = l;
    SetPinCount(pins);
  }
};
CSCHBlock* CreateBoardPart() { return new BoardPart; }

// A chip that draws its package, for the screenshot.
class Chip : public BoardPart {
public:
  Chip(int package, int pins, float w, float l) : BoardPart(w, l, pins), package_(package) {}
  void PaintFootprint(PcbPainter* painter) override {
    if (package_ == 0) painter->DrawDipPackage(pinCount);
    else if (package_ == 1) painter->DrawNarrowSoPackage(pinCount);
    else painter->DrawQuadFlatPackage(pinCount);
  }

private:
  int package_;
};

BoardPart* Put(SchScheme* scheme, float x, float y, float w = 10, float l = 10, int pins = 4) {
  BoardPart* part = new BoardPart(w, l, pins);
  part->Attach(scheme);
  part->boardX = x;
  part->boardY = y;
  return part;
}

class PcbViewTest : public apptest::EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    ASSERT_TRUE(g_schClassRegistry.SetCreator("PLS", CreateBoardPart));
    RegisterClipboardFormats();
    form_ = new CKestForm;
    ASSERT_TRUE(form_->Create(nullptr, L"Плата", KestPos(0, 0), 700, 600, nullptr, false, false, true, true));
    view_ = new CPCBView(form_, KestPos(0, 0), 600, 500, &scheme_, 100, 100);
    ASSERT_NE(nullptr, view_->GetHandle());
    form_->Show(false);
    velktest::FlushEvents();
    RECT client;
    GetClientRect(view_->GetHandle(), &client);
    width_ = client.right;
    height_ = client.bottom;
  }
  void TearDown() override {
    ClearAll();
    scheme_.DeleteObjects();
    EditorTest::TearDown();
  }

  LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
  void Press(int x, int y) { SendMessageW(view_->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y)); }
  void Move(int x, int y) { SendMessageW(view_->GetHandle(), WM_MOUSEMOVE, view_->buttonDown ? MK_LBUTTON : 0, At(x, y)); }
  void Release(int x, int y) { SendMessageW(view_->GetHandle(), WM_LBUTTONUP, 0, At(x, y)); }
  void Click(int x, int y) {
    Move(x, y);
    Press(x, y);
    Release(x, y);
  }
  int X(float mm) { return view_->BoardToScreenX(mm); }
  int Y(float mm) { return view_->BoardToScreenY(mm); }

  // Whether the conflict check marks anything, and the marked box.
  bool Conflicts(RECT* box = nullptr) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    bool marked = view_->CheckConflicts(region);
    if (box) GetRgnBox(region, box);
    DeleteObject(region);
    return marked;
  }

  // The view painted into a bitmap of its client size.
  struct Picture {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    ~Picture() {
      SelectObject(dc, old);
      DeleteObject(bitmap);
      DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
  };
  void Paint(Picture* p) {
    HDC screen = GetDC(nullptr);
    p->dc = CreateCompatibleDC(screen);
    p->bitmap = CreateCompatibleBitmap(screen, width_, height_);
    ReleaseDC(nullptr, screen);
    p->old = SelectObject(p->dc, p->bitmap);
    view_->PaintBuffered(p->dc);
  }

  SchScheme scheme_;
  CKestForm* form_ = nullptr;
  CPCBView* view_ = nullptr;
  int width_ = 0, height_ = 0;
};

TEST(BoardGrid, SnapsToTheNearestGridPointOnBothSides) {
  const struct {
    float value, snapped;
  } cases[] = {
      {0, 0},          {0.6f, 0},       {0.7f, 1.27f},   {1.27f, 1.27f},  {2.0f, 2.54f},
      {-0.6f, 0},      {-0.7f, -1.27f}, {-1.5f, -1.27f}, {-2.0f, -2.54f}, {100.1f, 100.33f},
      {-100.1f, -100.33f},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.snapped, SnapToBoardGrid(c.value), 1e-4) << c.value;
}

TEST_F(PcbViewTest, PopupMenuItems) {
  CKestMenu* menu = view_->GetMenu();
  ASSERT_NE(nullptr, menu);
  HMENU h = menu->GetHandle();
  const struct {
    const wchar_t* text;
    UINT id;
  } items[] = {{L"Повернуть влево", 119}, {L"Повернуть право", 121}, {nullptr, 0},
               {L"Информация", 3001},     {nullptr, 0},              {L"Копировать\tCtrl-C", 3002},
               {L"Вырезать\tCtrl-X", 3004}, {L"Вставить\tCtrl-V", 3003}, {L"Удалить\tDel", 771},
               {nullptr, 0},              {L"Выделить все\tCtrl+A", 2137}};
  ASSERT_EQ(11, GetMenuItemCount(h));
  for (int i = 0; i < 11; i++) {
    SCOPED_TRACE(i);
    if (!items[i].text) {
      EXPECT_TRUE(GetMenuState(h, i, MF_BYPOSITION) & MF_SEPARATOR);
      continue;
    }
    wchar_t text[64] = {};
    GetMenuStringW(h, i, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(items[i].text, text);
    EXPECT_EQ(items[i].id, GetMenuItemID(h, i));
  }
  EXPECT_EQ(3u, GetMenuDefaultItem(h, TRUE, 0));
  EXPECT_EQ(3002, menu->FindShortcut('C', KEST_MOD_CTRL));
  EXPECT_EQ(3004, menu->FindShortcut('X', KEST_MOD_CTRL));
  EXPECT_EQ(3003, menu->FindShortcut('V', KEST_MOD_CTRL));
  EXPECT_EQ(771, menu->FindShortcut(VK_DELETE, 0));
  for (int i = 0; i < 2; i++) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    ASSERT_TRUE(GetMenuItemInfoW(h, i, TRUE, &info));
    EXPECT_NE(nullptr, info.hbmpUnchecked);
  }
  // A right press enables what the selection allows.
  BoardPart* part = Put(&scheme_, 0, 0);
  SendMessageW(view_->GetHandle(), WM_RBUTTONDOWN, 0, At(5, 5));
  EXPECT_TRUE(GetMenuState(h, 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(h, 8, MF_BYPOSITION) & MF_GRAYED);
  part->flags |= kSchBoardSelected;
  SendMessageW(view_->GetHandle(), WM_RBUTTONDOWN, 0, At(5, 5));
  EXPECT_FALSE(GetMenuState(h, 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(h, 3, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(h, 8, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(PcbViewTest, ConversionsAndTheirRoundTrip) {
  EXPECT_EQ(4.0f, view_->scale);
  EXPECT_EQ(width_ / 2, view_->centerX);
  EXPECT_EQ(height_ / 2, view_->centerY);
  // Board to client: trunc(x * s) + centre - scroll, towards zero.
  EXPECT_EQ(width_ / 2 + 10, view_->BoardToScreenX(2.6f));
  EXPECT_EQ(width_ / 2 - 10, view_->BoardToScreenX(-2.6f));
  EXPECT_EQ(height_ / 2 + 200, view_->BoardToScreenY(50));
  for (int x : {0, 17, 299, 451}) EXPECT_EQ(x, view_->BoardToScreenX(view_->ScreenToBoardX(x)));
  for (int y : {0, 33, 250, 499}) EXPECT_EQ(y, view_->BoardToScreenY(view_->ScreenToBoardY(y)));
  EXPECT_FLOAT_EQ(-static_cast<float>(width_ / 2) / 4, view_->ScreenToBoardX(0));
}

TEST_F(PcbViewTest, ConflictTable) {
  // Board 100 x 100 mm: edges at +-50, hole keep-outs 44.96 .. 49.96.
  const struct {
    const char* name;
    float x, y, w, l;
    int pins, orientation;
    bool conflict;
  } single[] = {
      {"centre", 0, 0, 10, 10, 6, 0, false},
      {"exactly at the right edge", 45, 0, 10, 10, 6, 0, false},
      {"over the right edge", 46, 0, 10, 10, 6, 0, true},
      {"over the top edge", 0, -46, 10, 10, 6, 0, true},
      {"7 pins get 2.46 mm", 43, 0, 10, 10, 7, 0, true},
      {"7 pins inside", 42, 0, 10, 10, 7, 0, false},
      {"43 pins get 2.46 mm", 42, 0, 10, 10, 43, 0, false},
      {"44 pins get 5 mm", 41, 0, 10, 10, 44, 0, true},
      {"44 pins inside", 40, 0, 10, 10, 44, 0, false},
      {"beside a corner keep-out", 42, 42, 4, 4, 6, 0, false},
      {"in a corner keep-out", 43, 43, 4, 4, 6, 0, true},
      {"flat along the bottom edge", 0, 45, 20, 4, 6, 0, false},
      {"turned across the bottom edge", 0, 45, 20, 4, 6, 1, true},
      {"no footprint", 60, 60, 0, 0, 6, 0, false},
  };
  for (const auto& c : single) {
    SCOPED_TRACE(c.name);
    BoardPart* part = Put(&scheme_, c.x, c.y, c.w, c.l, c.pins);
    part->orientation = c.orientation;
    EXPECT_EQ(c.conflict, Conflicts());
    delete part;
  }
  const struct {
    const char* name;
    float x2;
    bool conflict;
  } pairs[] = {{"apart", 10.01f, false}, {"touching", 10, true}, {"overlapping", 6, true}};
  for (const auto& c : pairs) {
    SCOPED_TRACE(c.name);
    BoardPart* a = Put(&scheme_, 0, 0);
    BoardPart* b = Put(&scheme_, c.x2, 0);
    EXPECT_EQ(c.conflict, Conflicts());
    delete a;
    delete b;
  }
}

TEST_F(PcbViewTest, APartOverTheEdgeMarksOnlyWhatLiesOutside) {
  Put(&scheme_, 46, 0);  // 41 .. 51 mm
  RECT box;
  ASSERT_TRUE(Conflicts(&box));
  EXPECT_EQ(X(50), box.left);
  EXPECT_EQ(X(51), box.right);
  EXPECT_EQ(Y(-5), box.top);
  EXPECT_EQ(Y(5), box.bottom);
}

TEST_F(PcbViewTest, TheRenderedBoardItsHolesAndConflictMarks) {
  Picture empty;
  Paint(&empty);
  EXPECT_EQ(0, view_->conflicts);
  EXPECT_EQ(RGB(0, 102, 0), empty.At(X(0), Y(0)));
  EXPECT_EQ(RGB(0, 102, 0), empty.At(X(40), Y(-40)));
  EXPECT_EQ(RGB(255, 255, 255), empty.At(X(-55), Y(0)));
  EXPECT_EQ(RGB(153, 153, 153), empty.At(X(0), Y(-50)));
  // The holes: white circles of 1.5 mm at 2.54 mm from both edges.
  for (float sx : {-1.0f, 1.0f})
    for (float sy : {-1.0f, 1.0f}) {
      EXPECT_EQ(RGB(255, 255, 255), empty.At(X(sx * 47.46f), Y(sy * 47.46f)));
      EXPECT_EQ(RGB(0, 102, 0), empty.At(X(sx * 44.5f), Y(sy * 47.46f)));
    }
  // Two overlapping parts: the overlap is XORed with (51, 255, 255).
  Put(&scheme_, 0, 0);
  Put(&scheme_, 6, 0);
  Picture marked;
  Paint(&marked);
  EXPECT_EQ(1, view_->conflicts);
  EXPECT_EQ(RGB(51, 153, 255), marked.At(X(3), Y(0)));
  EXPECT_EQ(RGB(0, 102, 0), marked.At(X(-3), Y(0)));
  // The board with several chips, one of them selected, and the pair in
  // conflict, as the user sees it.
  const struct {
    int package, pins;
    float x, y, w, l;
    int orientation;
  } chips[] = {{0, 14, -25, -25, 20, 8, 0}, {1, 8, 25, -25, 6, 6, 1}, {2, 44, 20, 25, 14, 14, 0}, {0, 8, -25, 25, 11, 8, 3}};
  for (const auto& c : chips) {
    Chip* chip = new Chip(c.package, c.pins, c.w, c.l);
    chip->Attach(&scheme_);
    chip->boardX = c.x;
    chip->boardY = c.y;
    chip->orientation = c.orientation;
  }
  scheme_.blocks->flags |= kSchBoardSelected;
  RedrawWindow(view_->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  velktest::FlushEvents();
  EXPECT_TRUE(velktest::SaveScreenshot(view_->GetHandle(), L"board_view.bmp"));
}

TEST_F(PcbViewTest, ScrollRangesOfAnEmptyBoardAndZoomWithoutOverflow) {
  int low = 0, high = 0;
  GetScrollRange(view_->GetHandle(), SB_HORZ, &low, &high);
  EXPECT_EQ(width_ / 2 - 200 - 20, low);
  EXPECT_EQ(width_ / 2 + 200 + 20, high);
  EXPECT_EQ(0, view_->GetScrollX());
  GetScrollRange(view_->GetHandle(), SB_VERT, &low, &high);
  EXPECT_EQ(height_ / 2 - 220, low);
  EXPECT_EQ(height_ / 2 + 220, high);

  view_->Zoom(true);
  EXPECT_FLOAT_EQ(6.0f, view_->scale);
  for (int i = 0; i < 100; i++) view_->Zoom(true);
  EXPECT_FLOAT_EQ(CPCBView::kMaxScale, view_->scale);
  EXPECT_EQ(view_->BoardToScreenX(0) + 2500, view_->BoardToScreenX(50));
  GetScrollRange(view_->GetHandle(), SB_HORZ, &low, &high);
  EXPECT_LT(low, high);
  for (int i = 0; i < 200; i++) view_->Zoom(false);
  EXPECT_FLOAT_EQ(CPCBView::kMinScale, view_->scale);
  EXPECT_TRUE(std::isfinite(view_->ScreenToBoardX(0)));
  Picture small;
  Paint(&small);
  EXPECT_EQ(RGB(255, 255, 255), small.At(0, 0));
}

// An exporter that keeps what was drawn in a memory bitmap.
class CapturingExporter : public CPictureExporter {
public:
  HDC Begin(int kind, const RECT& rect) override {
    kinds.push_back(kind);
    this->rect = rect;
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, rect.right, rect.bottom);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    RECT all = {0, 0, rect.right, rect.bottom};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return dc;
  }
  void End(int, HDC) override { ended++; }
  ~CapturingExporter() override {
    if (!dc) return;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  std::vector<int> kinds;
  RECT rect = {};
  int ended = 0;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
};

TEST_F(PcbViewTest, TheExportedPictureIsTheBoardWithoutMarks) {
  Put(&scheme_, 0, 0);
  Put(&scheme_, 6, 0);
  CapturingExporter exporter;
  view_->SetPictureExporter(&exporter);
  view_->ExportPicture(KestPictureFile);
  view_->SetPictureExporter(nullptr);
  ASSERT_EQ(std::vector<int>{KestPictureFile}, exporter.kinds);
  EXPECT_EQ(1, exporter.ended);
  EXPECT_EQ(400, exporter.rect.right);
  EXPECT_EQ(400, exporter.rect.bottom);
  EXPECT_EQ(RGB(0, 102, 0), GetPixel(exporter.dc, 212, 200));  // the overlap, unmarked
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(exporter.dc, 7, 7));   // the hole at (-47.46, -47.46)
}

TEST_F(PcbViewTest, TheExportedPictureFramesNoSelectedPart) {
  BoardPart* part = Put(&scheme_, 10, 10);
  part->flags |= kSchBoardSelected;
  auto frameGrey = [](HDC dc, int width, int height) {
    int n = 0;
    for (int y = 0; y < height; y++)
      for (int x = 0; x < width; x++) n += GetPixel(dc, x, y) == RGB(204, 204, 204);
    return n;
  };
  // On screen the selected part has its dotted frame.
  Picture screen;
  Paint(&screen);
  EXPECT_GT(frameGrey(screen.dc, width_, height_), 20);
  // The picture has the part but no frame.
  CapturingExporter exporter;
  view_->SetPictureExporter(&exporter);
  view_->ExportPicture(KestPictureClipboard);
  view_->SetPictureExporter(nullptr);
  ASSERT_EQ(1, exporter.ended);
  EXPECT_EQ(0, frameGrey(exporter.dc, exporter.rect.right, exporter.rect.bottom));
  EXPECT_TRUE(part->flags & kSchBoardSelected);
}

TEST_F(PcbViewTest, ClickBandAndMoveOnTheGrid) {
  BoardPart* a = Put(&scheme_, 0, 0);
  BoardPart* b = Put(&scheme_, 20, 20);
  Click(X(0), Y(0));
  EXPECT_TRUE(a->flags & kSchBoardSelected);
  EXPECT_FALSE(b->flags & kSchBoardSelected);
  EXPECT_EQ(1, view_->CountSelectedParts(true));
  // A press on the selected part moves it in grid steps.
  Press(X(0), Y(0));
  EXPECT_EQ(CPCBView::kDragMove, view_->dragState);
  Move(X(5.1f), Y(-2.6f));
  Release(X(5.1f), Y(-2.6f));
  EXPECT_EQ(CPCBView::kDragIdle, view_->dragState);
  EXPECT_NEAR(5.08f, a->boardX, 1e-4);
  EXPECT_NEAR(-2.54f, a->boardY, 1e-4);
  // A band from empty board round both parts selects both.
  Press(X(-20), Y(-20));
  EXPECT_EQ(CPCBView::kDragBand, view_->dragState);
  EXPECT_FALSE(a->flags & kSchBoardSelected);
  Move(X(30), Y(30));
  Release(X(30), Y(30));
  EXPECT_TRUE(a->flags & kSchBoardSelected);
  EXPECT_TRUE(b->flags & kSchBoardSelected);
  EXPECT_EQ(2, view_->CountSelectedParts(false));
  // A move into a conflict is refused on release: the parts keep following
  // until Esc puts them back.
  view_->SelectAll(false);
  Click(X(20), Y(20));
  Press(X(20), Y(20));
  Move(X(5.08f), Y(-2.54f));
  Release(X(5.08f), Y(-2.54f));
  EXPECT_EQ(CPCBView::kDragMove, view_->dragState);
  SendMessageW(view_->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(CPCBView::kDragIdle, view_->dragState);
  EXPECT_NEAR(20, b->boardX, 1e-3);
  EXPECT_NEAR(20, b->boardY, 1e-3);
}

TEST_F(PcbViewTest, PlacingIsRefusedOnlyWhereTheNewPartConflicts) {
  // An older conflict elsewhere does not block.
  Put(&scheme_, 46, 0);
  BoardPart* part = Put(&scheme_, 0, 0);
  view_->tool = CPCBView::kToolPlace;
  view_->currentPart = part;
  Move(X(-30), Y(10));
  EXPECT_NEAR(SnapToBoardGrid(view_->ScreenToBoardX(X(-30))), part->boardX, 1e-4);
  // Over the corner keep-out: refused, still placing.
  Press(X(-45), Y(-45));
  Release(X(-45), Y(-45));
  EXPECT_EQ(CPCBView::kToolPlace, view_->tool);
  Press(X(-30), Y(10));
  Release(X(-30), Y(10));
  EXPECT_EQ(CPCBView::kToolNormal, view_->tool);
  EXPECT_EQ(2, scheme_.BlockCount());
  // Esc while placing deletes the new part.
  BoardPart* other = Put(&scheme_, 0, 0);
  view_->tool = CPCBView::kToolPlace;
  view_->currentPart = other;
  SendMessageW(view_->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(2, scheme_.BlockCount());
  EXPECT_EQ(nullptr, view_->currentPart);
}

TEST_F(PcbViewTest, RotationSwapsExtentsAndWraps) {
  BoardPart* part = Put(&scheme_, 0, 0, 20, 4);
  Click(X(0), Y(0));
  ASSERT_EQ(part, view_->currentPart);
  RECT before = view_->PartClientRect(part);
  view_->RotateSelection(-1);
  EXPECT_EQ(3, part->orientation);
  RECT after = view_->PartClientRect(part);
  EXPECT_EQ(before.right - before.left, after.bottom - after.top);
  EXPECT_EQ(before.bottom - before.top, after.right - after.left);
  view_->RotateSelection(1);
  EXPECT_EQ(0, part->orientation);
  // Turned into the board edge, the part starts moving.
  part->boardY = 42;
  view_->RotateSelection(1);
  EXPECT_EQ(CPCBView::kDragMove, view_->dragState);
}

TEST_F(PcbViewTest, DeletingIsRefusedWhileABlockEditorIsOpen) {
  BoardPart* a = Put(&scheme_, 0, 0);
  BoardPart* aux = Put(&scheme_, 20, 0);
  aux->flags |= kSchAuxiliary;
  view_->SelectAll(true);
  EXPECT_EQ(1, view_->CountSelectedParts(false));
  EXPECT_EQ(2, view_->CountSelectedParts(true));
  {
    ++BeOpenEditorCount;
    velktest::DialogAnswerer boxes(IDOK);
    SendMessageW(view_->GetHandle(), WM_KEYDOWN, VK_DELETE, 0);
    --BeOpenEditorCount;
    ASSERT_EQ(1, boxes.Count());
    EXPECT_EQ(L"Отказ", boxes.Captions()[0]);
    EXPECT_EQ(L"Необходимо закрыть все редакторы структурных схем.", boxes.Texts()[0]);
  }
  EXPECT_EQ(2, scheme_.BlockCount());
  SendMessageW(view_->GetHandle(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(1, scheme_.BlockCount());
  EXPECT_EQ(aux, scheme_.blocks);
  (void)a;
}

TEST_F(PcbViewTest, CopyPasteAndCancelledPaste) {
  BoardPart* a = Put(&scheme_, 0, 0);
  BoardPart* b = Put(&scheme_, 20, 0);
  a->SetName(L"X1");
  SchWire* w = apptest::Connect(&scheme_, a, 0, b, 0);
  view_->SelectAll(true);
  view_->CopySelection();
  ASSERT_TRUE(IsPcbClipboardAvailable());
  EXPECT_FALSE(w->flags & kSchBoardSelected);
  view_->SelectAll(false);
  view_->Paste();
  ASSERT_EQ(4, scheme_.BlockCount());
  EXPECT_EQ(2, scheme_.WireCount());
  EXPECT_EQ(CPCBView::kDragMove, view_->dragState);
  EXPECT_EQ(1, view_->pasteFlag);
  EXPECT_FALSE(a->flags & kSchBoardSelected);
  int selected = 0;
  for (CSCHBlock* p = scheme_.blocks; p; p = p->next)
    if (p->flags & kSchBoardSelected) {
      selected++;
      EXPECT_TRUE(p->flags & kSchSelected);
      if (p->instanceName) {
        EXPECT_STRNE(L"X1", p->instanceName);
      }
    }
  EXPECT_EQ(2, selected);
  // Esc undoes the paste.
  SendMessageW(view_->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(2, scheme_.BlockCount());
  EXPECT_EQ(1, scheme_.WireCount());
  EXPECT_EQ(0, view_->pasteFlag);
}

TEST_F(PcbViewTest, APasteThatDoesNotReadChangesNothing) {
  Put(&scheme_, 0, 0);
  ASSERT_TRUE(OpenClipboard(view_->GetHandle()));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
  memcpy(GlobalLock(block), "SPH1\x05\x00", 6);
  GlobalUnlock(block);
  SetClipboardData(ClipboardFormatVelkPcb(), block);
  CloseClipboard();
  view_->Paste();
  EXPECT_EQ(1, scheme_.BlockCount());
  EXPECT_EQ(CPCBView::kDragIdle, view_->dragState);
  EXPECT_EQ(0, view_->pasteFlag);
}

TEST_F(PcbViewTest, HintsWheelAndTurningWhilePlacing) {
  BoardPart* named = Put(&scheme_, -20, 0);
  named->SetName(L"X7");
  BoardPart* plain = Put(&scheme_, 20, 0);
  plain->SetName(nullptr);
  Move(X(-20), Y(0));
  EXPECT_STREQ(L"Разъём (X7)", view_->GetHint());
  Move(X(20), Y(0));
  EXPECT_STREQ(L"Разъём", view_->GetHint());
  Move(X(0), Y(-40));
  EXPECT_EQ(nullptr, view_->GetHint());

  // Ctrl and the wheel zoom; the wheel alone scrolls its raw delta.
  BYTE keys[256], held[256];
  GetKeyboardState(keys);
  memcpy(held, keys, sizeof held);
  held[VK_CONTROL] = 0x80;
  SetKeyboardState(held);
  SendMessageW(view_->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  SetKeyboardState(keys);
  EXPECT_FLOAT_EQ(6.0f, view_->scale);
  SendMessageW(view_->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-50)), 0);
  EXPECT_EQ(50, view_->GetScrollY());
  // Not past the range less the client height.
  int low = 0, high = 0;
  GetScrollRange(view_->GetHandle(), SB_VERT, &low, &high);
  SendMessageW(view_->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-1200)), 0);
  RECT client;
  GetClientRect(view_->GetHandle(), &client);
  EXPECT_EQ(high - client.bottom, view_->GetScrollY());

  // A right press while placing turns the new part and the selected parts
  // about it: an offset (dx, dy) becomes (-dy, dx).
  view_->Zoom(false);
  plain->flags |= kSchBoardSelected;
  named->flags &= static_cast<unsigned char>(~kSchBoardSelected);
  BoardPart* part = Put(&scheme_, 10, 0);
  view_->tool = CPCBView::kToolPlace;
  view_->currentPart = part;
  SendMessageW(view_->GetHandle(), WM_RBUTTONDOWN, 0, At(X(10), Y(0)));
  EXPECT_EQ(1, part->orientation);
  EXPECT_EQ(1, plain->orientation);
  EXPECT_NEAR(10, plain->boardX, 1e-4);
  EXPECT_NEAR(10, plain->boardY, 1e-4);
  EXPECT_EQ(0, named->orientation);
  SendMessageW(view_->GetHandle(), WM_RBUTTONUP, 0, At(X(10), Y(0)));
  EXPECT_EQ(CPCBView::kToolPlace, view_->tool);
}

// A part whose Edit reports a change.
class EditablePart : public BoardPart {
public:
  bool Edit() override {
    edits++;
    return true;
  }
  int edits = 0;
};

TEST_F(PcbViewTest, PartsWithoutFootprintAreNotHitAndInfoRunsEdit) {
  BoardPart* flat = Put(&scheme_, 0, 0, 0, 0);
  EXPECT_EQ(nullptr, view_->HitTestPart(X(0), Y(0)));
  view_->SelectAll(true);
  EXPECT_FALSE(flat->flags & kSchBoardSelected);

  EditablePart* part = new EditablePart;
  part->Attach(&scheme_);
  part->boardX = 20;
  part->boardY = 20;
  int modified = 0;
  struct Counter : public CKestForm {
    int* count = nullptr;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_SCHEME_MODIFIED) (*count)++;
      return CKestForm::WindowProc(message, wParam, lParam);
    }
  };
  CKestForm* previous = MainKestForm;
  Counter* main = new Counter;
  main->count = &modified;
  ASSERT_TRUE(main->Create(nullptr, L"Главное", KestPos(0, 0), 100, 100, nullptr, false, false, true, true));
  MainKestForm = main;
  // A double click on a part without a model runs its Edit.
  Press(X(20), Y(20));
  Release(X(20), Y(20));
  SendMessageW(view_->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(X(20), Y(20)));
  EXPECT_EQ(1, part->edits);
  EXPECT_EQ(1, modified);
  MainKestForm = previous;
  delete main;
}

TEST_F(PcbViewTest, APutDownPasteIsKeptWhenALaterMoveIsCancelled) {
  BoardPart* a = Put(&scheme_, -20, -20);
  view_->SelectAll(true);
  view_->CopySelection();
  view_->Paste();
  ASSERT_EQ(2, scheme_.BlockCount());
  CSCHBlock* pasted = scheme_.blocks;
  ASSERT_NE(a, pasted);
  // Following the mouse to a free place and put down there.
  Move(X(20), Y(20));
  Press(X(20), Y(20));
  Release(X(20), Y(20));
  EXPECT_EQ(CPCBView::kDragIdle, view_->dragState);
  EXPECT_EQ(0, view_->pasteFlag);
  float x = pasted->boardX, y = pasted->boardY;
  EXPECT_GT(x, 0);
  // A later move cancelled with Esc only moves it back.
  Press(X(x), Y(y));
  EXPECT_EQ(CPCBView::kDragMove, view_->dragState);
  Move(X(x + 5), Y(y));
  SendMessageW(view_->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(2, scheme_.BlockCount());
  EXPECT_NEAR(x, pasted->boardX, 1e-3);
  EXPECT_NEAR(y, pasted->boardY, 1e-3);
}

}  // namespace
