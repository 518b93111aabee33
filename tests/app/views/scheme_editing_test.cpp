// Editing a scheme in the scheme view with mouse and key messages: wires from
// pins to pins, into wire segments and to bus slots, cancelling wires and
// buses, dragging components and wire segments, the rubber band, deleting,
// placing a class, the wheel, and the messages the view sends to its editor
// and to the main window. A circuit drawn only through these messages is
// saved as a screenshot.
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/app_fixture.h"
#include "app/editor/editor_fixture.h"
#include "app/views/scheme_view.h"
#include "app/views/view_fixture.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/forms/kest_form.h"
#include "kestui/menus/kest_menu.h"
#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/junction.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"
#include "support/test_support.h"

namespace {

// A component with a plain body and four electric pins: body (left, top,
// left + 80, top + 100); pin 0 left at offset 20 (anchor (left - 7, top +
// 20)), pin 1 right at offset 30 (anchor (left + 86, top + 70)), pin 2 top at
// offset 10 (anchor (left + 70, top - 7)), pin 3 bottom at offset 10 (anchor
// (left + 10, top + 106)).
class EditPart : public viewtest::FourPinPart {
public:
  EditPart(SchScheme* scheme, int left, int top)
      : FourPinPart(scheme, "EditPart", L"Деталь", RECT{left, top, left + 80, top + 100}) {}
  void Paint(HDC dc) override { Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom); }
};

using viewtest::MakeJunction;
using viewtest::MakeTwoSlotBus;
using viewtest::WireBetween;

// Every vertex pair of a polyline shares an x or a y.
template <class T>
bool Rectilinear(const T* line) {
  for (int i = 0; i + 1 < line->GetPointCount(); i++) {
    POINT a = line->GetPoint(i), b = line->GetPoint(i + 1);
    if (a.x != b.x && a.y != b.y) return false;
  }
  return true;
}

void ExpectRect(const RECT& expected, const RECT& actual) {
  EXPECT_EQ(expected.left, actual.left);
  EXPECT_EQ(expected.top, actual.top);
  EXPECT_EQ(expected.right, actual.right);
  EXPECT_EQ(expected.bottom, actual.bottom);
}

// The form holding the view: it is the main window and the view's editor,
// and it records what the view tells each.
class RecordingForm : public CKestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_EDITOR_TOOL_FINISHED) events.push_back(L"tool " + std::to_wstring(lParam));
    if (message == WM_EDITOR_SELECTION_CHANGED) events.push_back(L"selection");
    if (message == WM_SCHEME_MODIFIED) modified++;
    return CKestForm::WindowProc(message, wParam, lParam);
  }
  std::vector<std::wstring> events;
  int modified = 0;
};

class SchemeEditingTest : public apptest::WindowsTest {
protected:
  void SetUp() override {
    WindowsTest::SetUp();
    freeEnd_ = GetFreeEndPoint();
    GetKeyboardState(keys_);
    form_ = new RecordingForm;
    ASSERT_TRUE(form_->Create(nullptr, L"Правка схемы", KestPos(0, 0), 900, 700, nullptr, false, false, true, true));
    ASSERT_EQ(form_, MainKestForm);
    view_ = new CSchemeView(form_, KestPos(0, 0), 860, 640, &scheme_);
    ASSERT_NE(nullptr, view_->GetHandle());
    form_->Show(false);
    velktest::FlushEvents();
  }
  void TearDown() override {
    SetKeyboardState(keys_);
    ClearAll();
    WindowsTest::TearDown();
    SetFreeEndPoint(freeEnd_);
  }

  LPARAM At(int x, int y) const { return MAKELPARAM(x - view_->GetScrollX(), y - view_->GetScrollY()); }
  void Press(int x, int y) { SendMessageW(view_->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y)); }
  void Move(int x, int y) { SendMessageW(view_->GetHandle(), WM_MOUSEMOVE, view_->buttonDown ? MK_LBUTTON : 0, At(x, y)); }
  void Release(int x, int y) { SendMessageW(view_->GetHandle(), WM_LBUTTONUP, 0, At(x, y)); }
  void Click(int x, int y) {
    Move(x, y);
    Press(x, y);
    Release(x, y);
  }
  void Drag(int x0, int y0, int x1, int y1) {
    Press(x0, y0);
    Move((x0 + x1) / 2, (y0 + y1) / 2);
    Move(x1, y1);
    Release(x1, y1);
  }
  void Key(WPARAM key) { SendMessageW(view_->GetHandle(), WM_KEYDOWN, key, 0); }
  void HoldCtrl(bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(state);
  }

  BYTE keys_[256] = {};
  POINT freeEnd_ = {0, 0};
  SchScheme scheme_;
  RecordingForm* form_ = nullptr;
  CSchemeView* view_ = nullptr;
};

TEST_F(SchemeEditingTest, WireFromPinToPinWithACorner) {
  EditPart* a = new EditPart(&scheme_, 100, 100);  // pin 1 at (186, 170)
  EditPart* b = new EditPart(&scheme_, 400, 100);  // pin 0 at (393, 120)
  // The pin shows the connecting cursor in the select tool.
  Move(186, 170);
  EXPECT_EQ(1, view_->GetCursorIndex());
  Press(186, 170);
  EXPECT_EQ(CSchemeView::kToolWire, view_->tool);
  EXPECT_EQ(1, view_->state);
  ASSERT_EQ(1, scheme_.WireCount());
  SchWire* w = scheme_.wires;
  EXPECT_EQ(w, view_->object);
  EXPECT_EQ(a, w->GetEndBlock(0));
  EXPECT_EQ(2, w->firstDir);
  Release(186, 170);
  EXPECT_EQ(2, view_->state);
  // Empty space adds a corner: the first coordinate of a wire leaving right
  // is an x.
  Click(300, 170);
  ASSERT_EQ(1, w->coordCount);
  EXPECT_EQ(300, w->coords[0]);
  EXPECT_EQ(CSchemeView::kToolWire, view_->tool);
  // Over the outside pin the cursor says the wire would attach.
  Move(393, 120);
  EXPECT_EQ(1, view_->GetCursorIndex());
  Click(393, 120);
  EXPECT_EQ(b, w->GetEndBlock(1));
  EXPECT_EQ(CSchemeView::kToolSelect, view_->tool);
  EXPECT_EQ(0, view_->state);
  EXPECT_EQ(nullptr, view_->object);
  EXPECT_TRUE(Rectilinear(w));
  ASSERT_EQ(1, w->coordCount);
  EXPECT_EQ(300, w->coords[0]);
  EXPECT_EQ(w, b->pins[0].wire);
  EXPECT_GE(form_->modified, 1);
  // Starting from a pin hands the tool to the wire without a palette message.
  EXPECT_EQ(std::vector<std::wstring>{L"selection"}, form_->events);
}

TEST_F(SchemeEditingTest, AWireIntoASegmentMakesAJunction) {
  EditPart* a = new EditPart(&scheme_, 100, 100);  // pin 3 at (110, 206)
  SchWire* v = WireBetween(&scheme_, {300, 300}, {500, 300}, 2, {});
  int junctions = scheme_.JunctionCount();
  Click(110, 206);
  SchWire* w = static_cast<SchWire*>(view_->object);
  ASSERT_NE(nullptr, w);
  EXPECT_EQ(3, w->firstDir);
  // Leaving downwards, the first coordinate is a y.
  Click(200, 250);
  ASSERT_EQ(1, w->coordCount);
  EXPECT_EQ(250, w->coords[0]);
  // Arriving downwards on a horizontal segment is accepted.
  Move(400, 300);
  EXPECT_EQ(1, view_->GetCursorIndex());
  Click(400, 300);
  EXPECT_EQ(CSchemeView::kToolSelect, view_->tool);
  EXPECT_EQ(junctions + 1, scheme_.JunctionCount());
  SchJunction* j = w->GetEndJunction(1);
  ASSERT_NE(nullptr, j);
  EXPECT_EQ(400, j->x);
  EXPECT_EQ(300, j->y);
  EXPECT_EQ(a, w->GetEndBlock(0));
  EXPECT_TRUE(Rectilinear(w));
  (void)v;
}

TEST_F(SchemeEditingTest, AWireToABusSlot) {
  new EditPart(&scheme_, 100, 100);  // pin 1 at (186, 170)
  // A bus of 2 slots from (500, 400) to (600, 500), its end 0 facing left:
  // slot 0 of end 0 at (484, 406).
  SchBus* bus = MakeTwoSlotBus(&scheme_);
  // Arriving from the right (the wire leaves its end rightwards) at a slot
  // facing left is refused: nothing changes.
  Click(186, 170);
  SchWire* w = static_cast<SchWire*>(view_->object);
  ASSERT_NE(nullptr, w);
  // One corner: down at x 520, then left along y 406 to the slot.
  Click(520, 170);
  ASSERT_EQ(1, w->coordCount);
  EXPECT_EQ(520, w->coords[0]);
  Move(484, 406);
  EXPECT_EQ(0, view_->GetCursorIndex());
  Click(484, 406);
  EXPECT_EQ(nullptr, w->GetEndBus(1));
  EXPECT_EQ(CSchemeView::kToolWire, view_->tool);
  view_->CancelTool();
  EXPECT_EQ(0, scheme_.WireCount());

  // From the left it is taken.
  Click(186, 170);
  w = static_cast<SchWire*>(view_->object);
  ASSERT_NE(nullptr, w);
  Click(440, 170);
  Move(484, 406);
  EXPECT_EQ(1, view_->GetCursorIndex());
  Click(484, 406);
  EXPECT_EQ(bus, w->GetEndBus(1));
  EXPECT_EQ(CSchemeView::kToolSelect, view_->tool);
}

TEST_F(SchemeEditingTest, EscapeDeletesAWireButKeepsABus) {
  new EditPart(&scheme_, 100, 100);
  Click(186, 170);
  Click(300, 170);
  ASSERT_EQ(1, scheme_.WireCount());
  Key(VK_ESCAPE);
  EXPECT_EQ(0, scheme_.WireCount());
  EXPECT_EQ(CSchemeView::kToolSelect, view_->tool);
  EXPECT_EQ(0, view_->state);
  EXPECT_EQ(nullptr, view_->object);

  form_->events.clear();
  view_->tool = CSchemeView::kToolBus;
  view_->cores = 3;
  Press(300, 400);
  Release(300, 400);
  ASSERT_EQ(1, scheme_.BusCount());
  SchBus* bus = scheme_.buses;
  EXPECT_EQ(3, bus->slotCount);
  // The first move decides the direction: farther right than down.
  Move(420, 430);
  EXPECT_EQ(420, bus->x1);
  EXPECT_EQ(430, bus->y1);
  EXPECT_EQ(0, bus->endDir);
  Click(420, 430);
  ASSERT_EQ(1, bus->coordCount);
  Key(VK_ESCAPE);
  EXPECT_EQ(1, scheme_.BusCount());
  EXPECT_EQ(CSchemeView::kToolSelect, view_->tool);
  EXPECT_EQ(std::vector<std::wstring>{L"tool 109"}, form_->events);
}

TEST_F(SchemeEditingTest, EscapeWhileDraggingInTheWireToolDeletesNothing) {
  EditPart* a = new EditPart(&scheme_, 100, 100);
  a->flags |= kSchSelected;
  view_->tool = CSchemeView::kToolWire;
  Press(140, 150);
  EXPECT_EQ(2, view_->state);
  Move(150, 160);
  Key(VK_ESCAPE);
  EXPECT_EQ(0, view_->state);
  ASSERT_EQ(1, scheme_.BlockCount());
  EXPECT_EQ(a, scheme_.blocks);
  EXPECT_EQ(0, scheme_.WireCount());
  Release(150, 160);
  EXPECT_EQ(1, scheme_.BlockCount());
}

TEST_F(SchemeEditingTest, DraggingAComponentTakesItsWiresAlong) {
  EditPart* a = new EditPart(&scheme_, 100, 100);  // pin 1 at (186, 170)
  EditPart* b = new EditPart(&scheme_, 400, 150);  // pin 0 at (393, 170)
  SchWire* w = new SchWire(&scheme_);
  ASSERT_TRUE(w->AttachToPin(0, a, 1));
  ASSERT_TRUE(w->AttachToPin(1, b, 0));
  // The first press only selects.
  Press(140, 150);
  Release(140, 150);
  EXPECT_TRUE(a->flags & kSchSelected);
  EXPECT_EQ(100, a->rect.left);
  EXPECT_EQ(0, view_->state);
  Move(140, 150);
  EXPECT_EQ(2, view_->GetCursorIndex());
  form_->modified = 0;
  Drag(140, 150, 150, 190);
  ExpectRect(RECT{110, 140, 190, 240}, a->rect);
  ExpectRect(RECT{400, 150, 480, 250}, b->rect);
  EXPECT_EQ(a, w->GetEndBlock(0));
  EXPECT_EQ(b, w->GetEndBlock(1));
  POINT start = w->GetPoint(0);
  EXPECT_EQ(196, start.x);
  EXPECT_EQ(210, start.y);
  EXPECT_TRUE(Rectilinear(w));
  EXPECT_GE(form_->modified, 1);
}

TEST_F(SchemeEditingTest, DraggingAnInnerWireSegment) {
  // (300, 100) right to x 350, down to y 200, right to (400, 200).
  SchWire* v = WireBetween(&scheme_, {300, 100}, {400, 200}, 2, {350});
  Move(350, 150);
  EXPECT_EQ(10, view_->GetCursorIndex());
  Press(350, 150);
  EXPECT_EQ(4, view_->state);
  EXPECT_TRUE(v->flags & kSchSelected);
  Move(372, 150);
  EXPECT_EQ(372, v->coords[0]);
  Release(372, 150);
  EXPECT_EQ(0, view_->state);
  ASSERT_EQ(1, v->coordCount);
  EXPECT_EQ(372, v->coords[0]);
  // An end segment is selected but not dragged.
  view_->SelectAll(false);
  Press(320, 100);
  EXPECT_EQ(0, view_->state);
  EXPECT_TRUE(v->flags & kSchSelected);
  Release(320, 100);
}

TEST_F(SchemeEditingTest, BusSegmentsMoveTheirEndOrCoordinate) {
  SchBus* bus = MakeTwoSlotBus(&scheme_);
  // Vertices (500,400) (550,400) (550,500) (600,500).
  Move(550, 450);
  EXPECT_EQ(10, view_->GetCursorIndex());
  Drag(550, 450, 560, 450);
  EXPECT_EQ(560, bus->coords[0]);
  EXPECT_EQ(500, bus->x0);
  Move(520, 400);
  EXPECT_EQ(2, view_->GetCursorIndex());
  Drag(520, 400, 530, 410);
  EXPECT_EQ(510, bus->x0);
  EXPECT_EQ(410, bus->y0);
  EXPECT_EQ(600, bus->x1);
  Drag(580, 500, 570, 520);
  EXPECT_EQ(590, bus->x1);
  EXPECT_EQ(520, bus->y1);
}

TEST_F(SchemeEditingTest, RubberBandSelectsWhatLiesStrictlyInside) {
  EditPart* inside = new EditPart(&scheme_, 100, 100);
  EditPart* touching = new EditPart(&scheme_, 200, 100);  // right edge 280
  SchWire* w = WireBetween(&scheme_, {120, 250}, {180, 250}, 2, {});
  SchWire* outside = WireBetween(&scheme_, {120, 300}, {500, 300}, 2, {});
  form_->events.clear();
  Press(90, 90);
  EXPECT_EQ(1, view_->state);
  Move(200, 200);
  Move(280, 260);
  Release(280, 260);
  EXPECT_EQ(0, view_->state);
  EXPECT_TRUE(inside->flags & kSchSelected);
  EXPECT_FALSE(touching->flags & kSchSelected);
  EXPECT_TRUE(w->flags & kSchSelected);
  EXPECT_FALSE(outside->flags & kSchSelected);
  EXPECT_TRUE(w->GetEndJunction(0)->flags & kSchSelected);
  EXPECT_FALSE(outside->GetEndJunction(0)->flags & kSchSelected);
  // The press cleared the selection and the band reports its own.
  EXPECT_EQ((std::vector<std::wstring>{L"selection", L"selection"}), form_->events);
}

TEST_F(SchemeEditingTest, CtrlAddsToTheSelection) {
  EditPart* a = new EditPart(&scheme_, 100, 100);
  EditPart* b = new EditPart(&scheme_, 300, 100);
  Click(140, 150);
  Click(340, 150);
  EXPECT_FALSE(a->flags & kSchSelected);
  EXPECT_TRUE(b->flags & kSchSelected);
  HoldCtrl(true);
  Click(140, 150);
  EXPECT_TRUE(a->flags & kSchSelected);
  EXPECT_TRUE(b->flags & kSchSelected);
  HoldCtrl(false);
}

TEST_F(SchemeEditingTest, KeysMoveSelectAndDelete) {
  EditPart* a = new EditPart(&scheme_, 100, 100);
  EditPart* kept = new EditPart(&scheme_, 300, 100);
  kept->flags |= kSchBoardPart;
  SchWire* w = WireBetween(&scheme_, {120, 250}, {180, 250}, 2, {90});
  Click(140, 150);
  const struct {
    WPARAM key;
    int dx, dy;
  } arrows[] = {{VK_LEFT, -1, 0}, {VK_UP, 0, -1}, {VK_RIGHT, 1, 0}, {VK_DOWN, 0, 1}};
  for (const auto& arrow : arrows) {
    RECT before = a->rect;
    Key(arrow.key);
    EXPECT_EQ(before.left + arrow.dx, a->rect.left);
    EXPECT_EQ(before.top + arrow.dy, a->rect.top);
  }
  HoldCtrl(true);
  Key('A');
  HoldCtrl(false);
  EXPECT_TRUE(w->flags & kSchSelected);
  EXPECT_TRUE(kept->flags & kSchSelected);
  // The wire's coordinate moves with the selection: an x for a wire leaving
  // right.
  Key(VK_RIGHT);
  EXPECT_EQ(91, w->coords[0]);
  // The view's popup menu enables Delete for a selection it may delete.
  SendMessageW(view_->GetHandle(), WM_RBUTTONDOWN, 0, At(700, 600));
  EXPECT_FALSE(GetMenuState(view_->GetMenu()->GetHandle(), 2, MF_BYPOSITION) & MF_GRAYED);
  view_->DeleteSelection();
  EXPECT_EQ(1, scheme_.BlockCount());
  EXPECT_EQ(kept, scheme_.blocks);
  EXPECT_EQ(0, scheme_.WireCount());
  SendMessageW(view_->GetHandle(), WM_RBUTTONDOWN, 0, At(700, 600));
  EXPECT_TRUE(GetMenuState(view_->GetMenu()->GetHandle(), 2, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(SchemeEditingTest, RightPressWhileDrawingCancelsWithoutAMenu) {
  new EditPart(&scheme_, 100, 100);
  Click(186, 170);
  ASSERT_EQ(1, scheme_.WireCount());
  SendMessageW(view_->GetHandle(), WM_RBUTTONDOWN, 0, At(300, 300));
  EXPECT_EQ(0, scheme_.WireCount());
  EXPECT_EQ(0, view_->state);
  // The release opens no menu (a menu would block in its own loop).
  SendMessageW(view_->GetHandle(), WM_RBUTTONUP, 0, At(300, 300));
  EXPECT_EQ(CSchemeView::kToolSelect, view_->tool);
}

TEST_F(SchemeEditingTest, PlacingAClassCentresItOnTheClick) {
  // The registry comes back as it was, creators included.
  struct Restore {
    Restore() {
      for (int i = 0; i < g_schClassRegistry.Count(); i++)
        rows.push_back({g_schClassRegistry.Row(i).name, g_schClassRegistry.Row(i).creator});
    }
    ~Restore() {
      g_schClassRegistry.Clear();
      if (!rows.empty()) RegisterComponentClasses();
      for (const auto& row : rows) g_schClassRegistry.SetCreator(row.first.c_str(), row.second);
    }
    std::vector<std::pair<std::string, SchBlockCreator>> rows;
  } restore;
  g_schClassRegistry.Clear();
  RegisterComponentClasses();
  view_->tool = CSchemeView::kToolPlaceClass;
  view_->className = "GND";
  Move(300, 300);
  EXPECT_EQ(1, view_->GetCursorIndex());
  form_->events.clear();
  form_->modified = 0;
  Press(301, 301);
  ASSERT_EQ(1, scheme_.BlockCount());
  CSCHBlock* made = scheme_.blocks;
  int w = made->rect.right - made->rect.left, h = made->rect.bottom - made->rect.top;
  EXPECT_EQ(301 - w / 2, made->rect.left);
  EXPECT_EQ(301 - h / 2, made->rect.top);
  EXPECT_EQ(1, form_->modified);
  Release(301, 301);
  EXPECT_EQ(CSchemeView::kToolSelect, view_->tool);
  EXPECT_EQ((std::vector<std::wstring>{L"selection", L"tool 0"}), form_->events);
  // A class the registry does not know places nothing; the release still
  // ends the tool.
  view_->tool = CSchemeView::kToolPlaceClass;
  view_->className = "NoSuchClass";
  Click(500, 500);
  EXPECT_EQ(1, scheme_.BlockCount());
  EXPECT_EQ(CSchemeView::kToolSelect, view_->tool);
}

TEST_F(SchemeEditingTest, APlacedComponentFollowsTheMouse) {
  EditPart* part = new EditPart(&scheme_, 0, 0);
  view_->tool = CSchemeView::kToolPlaceBlock;
  view_->object = part;
  Move(400, 300);
  EXPECT_EQ(2, view_->GetCursorIndex());
  ExpectRect(RECT{360, 250, 440, 350}, part->rect);
  form_->modified = 0;
  Click(410, 320);
  ExpectRect(RECT{370, 270, 450, 370}, part->rect);
  EXPECT_EQ(CSchemeView::kToolSelect, view_->tool);
  EXPECT_EQ(1, form_->modified);
}

TEST_F(SchemeEditingTest, TheWheelScrollsWithinTheRange) {
  new EditPart(&scheme_, 100, 2000);
  view_->UpdateScrollRange();
  int low = 0, high = 0;
  GetScrollRange(view_->GetHandle(), SB_VERT, &low, &high);
  RECT client;
  GetClientRect(view_->GetHandle(), &client);
  int last = high - client.bottom;
  ASSERT_GT(last, 240);
  SendMessageW(view_->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
  EXPECT_EQ(240, view_->GetScrollY());
  SendMessageW(view_->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(120)), 0);
  EXPECT_EQ(120, view_->GetScrollY());
  SendMessageW(view_->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-12000)), 0);
  EXPECT_EQ(last, view_->GetScrollY());
  SendMessageW(view_->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(12000)), 0);
  EXPECT_EQ(low, view_->GetScrollY());
}

// The whole editor: each edit marks the document modified in the main
// window's title; Ctrl+A and Del empty the scheme; the circuit drawn by the
// mouse is saved as a screenshot.
class EditorEditingTest : public apptest::EditorTest {};

TEST_F(EditorEditingTest, DrawnCircuitMarksTheDocumentAndEmptiesWithCtrlADel) {
  CMainForm* form = MakeMainForm();
  form->Show(false);
  CSphEditor* editor = new CSphEditor(form, form->GetScheme(), CSphEditor::kEditorMain, 0, 0);
  ASSERT_NE(nullptr, editor->GetHandle());
  ShowWindow(editor->GetHandle(), SW_MAXIMIZE);
  velktest::FlushEvents();
  CSchemeView* view = editor->GetSchemeView();
  SchScheme* scheme = form->GetScheme();
  EXPECT_FALSE(form->IsModified());
  std::wstring clean = apptest::WindowTextOf(form->GetHandle());
  auto send = [&](UINT message, int x, int y) {
    SendMessageW(view->GetHandle(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                 MAKELPARAM(x - view->GetScrollX(), y - view->GetScrollY()));
  };
  auto click = [&](int x, int y) {
    send(WM_MOUSEMOVE, x, y);
    send(WM_LBUTTONDOWN, x, y);
    send(WM_LBUTTONUP, x, y);
  };
  // Two parts placed from the palette's classes, joined by a wire with two
  // corners.
  // The palette's "Мультиметр" button chooses the class; the click places
  // it centred on the point.
  SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(CSphEditor::kPalMultimeter, 0), 0);
  EXPECT_EQ(CSchemeView::kToolPlaceClass, view->tool);
  click(150, 150);
  ASSERT_EQ(1, scheme->BlockCount());
  EXPECT_EQ(150 - (scheme->blocks->rect.right - scheme->blocks->rect.left) / 2, scheme->blocks->rect.left);
  EXPECT_EQ(150 - (scheme->blocks->rect.bottom - scheme->blocks->rect.top) / 2, scheme->blocks->rect.top);
  EXPECT_EQ(CSchemeView::kToolSelect, view->tool);
  EXPECT_TRUE(form->IsModified());
  EXPECT_EQ(std::wstring::npos, clean.find(L" *"));
  EXPECT_NE(std::wstring::npos, apptest::WindowTextOf(form->GetHandle()).find(L" *"));
  view->tool = CSchemeView::kToolPlaceClass;
  view->className = "Multimeter";
  click(450, 260);
  ASSERT_EQ(2, scheme->BlockCount());
  CSCHBlock* second = scheme->blocks;
  CSCHBlock* first = second->next;
  ASSERT_GT(first->pinCount, 1);
  ASSERT_GT(second->pinCount, 0);
  POINT from = first->GetPinAnchor(1), to = second->GetPinAnchor(0);
  click(from.x, from.y);
  ASSERT_EQ(1, scheme->WireCount());
  SchWire* w = scheme->wires;
  int midX = (from.x + to.x) / 2;
  // One corner: right to midX, down, right into the pin.
  click(midX, from.y + 3);
  click(to.x, to.y);
  EXPECT_EQ(second, w->GetEndBlock(1));
  EXPECT_EQ(CSchemeView::kToolSelect, view->tool);
  EXPECT_TRUE(Rectilinear(w));
  RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  velktest::FlushEvents();
  EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"scheme_drawn_by_mouse.bmp"));

  // Ctrl+A then Del: the menu shortcuts of the view reach the editor.
  SetFocus(view->GetHandle());
  BYTE keys[256], held[256];
  GetKeyboardState(keys);
  memcpy(held, keys, sizeof held);
  held[VK_CONTROL] = 0x80;
  SetKeyboardState(held);
  SendMessageW(view->GetHandle(), WM_KEYDOWN, 'A', 0);
  SetKeyboardState(keys);
  EXPECT_TRUE(editor->GetSchemeDeleteButton()->IsEnabled());
  SendMessageW(view->GetHandle(), WM_KEYDOWN, VK_DELETE, 0);
  velktest::FlushEvents();
  EXPECT_EQ(0, scheme->BlockCount());
  EXPECT_EQ(0, scheme->WireCount());
  EXPECT_EQ(0, scheme->JunctionCount());
  EXPECT_FALSE(editor->GetSchemeDeleteButton()->IsEnabled());
}

}  // namespace
