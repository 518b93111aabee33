// The block-diagram editor window and its view under a real MDI frame: hit
// codes, palette, placing, links, selection, moving, deleting, the modified
// notifications, the status bar, the Edit queries and picture export.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "blocks/engine/block_clipboard.h"
#include "blocks/engine/block_host.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/engine/editor/open_editor_count.h"
#include "blocks/engine/plugin/plugin_block.h"
#include "blocks/engine/engine_fixture.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/bars/kest_status_bar.h"
#include "kestui/containers/kest_tabs.h"
#include "kestui/core/kest_command_ids.h"
#include "kestui/core/kest_host_scope.h"
#include "kestui/forms/kest_form.h"
#include "scheme/model/scheme_icons.h"
#include "support/live_forms.h"
#include "support/memory_canvas.h"
#include "support/test_support.h"

using betest::kPlainClassId;
using betest::kTwoByTwoClassId;

namespace {

const COLORREF kBlack = RGB(0, 0, 0);

// The main window: counts the document-modified notifications.
class RecordingFrame : public CKestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SCHEME_MODIFIED) {
      ++modified;
      return 0;
    }
    return CKestForm::WindowProc(message, wParam, lParam);
  }
  int modified = 0;
};

// The editor with its messages recorded and a chooser the test answers.
class TestEditor : public CBEEditor {
public:
  TestEditor(CKestForm* owner, BeScheme* scheme, int* toolFinished)
      : CBEEditor(owner, scheme), toolFinished_(toolFinished) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_BLOCK_TOOL_FINISHED && toolFinished_) ++*toolFinished_;
    if (message == WM_KEST_MBUTTONDOWN && beforeMenu) beforeMenu();
    return CBEEditor::WindowProc(message, wParam, lParam);
  }
  bool chooserAnswer = false;
  int chooserRuns = 0;
  // Runs just before a widget's popup menu opens.
  std::function<void()> beforeMenu;

protected:
  bool ChoosePlugin() override {
    ++chooserRuns;
    return chooserAnswer;
  }

private:
  int* toolFinished_;
};

// A host that records message boxes and block dialogs and gives picture
// export a memory bitmap.
class EditorHost : public CKestHost, public CBlockHost {
public:
  int ShowMessage(UINT, const wchar_t* caption, const wchar_t* text) override {
    captions.push_back(caption ? caption : L"");
    texts.push_back(text ? text : L"");
    return IDOK;
  }
  bool ShowBlockProperties(CBEBlock* block) override {
    ++dialogs;
    if (deleteInDialog) delete block;
    return dialogAnswer;
  }
  HDC BeginPictureExport(int kind, const RECT& rect) override {
    beginKinds.push_back(kind);
    pictureRect = rect;
    if (cancelPicture) return nullptr;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    picture.reset(new velktest::MemoryCanvas(width, height));
    SetWindowOrgEx(picture->dc(), rect.left, rect.top, nullptr);
    return picture->dc();
  }
  void EndPictureExport(int kind, HDC ended) override {
    endKinds.push_back(kind);
    endedRight = picture && ended == picture->dc();
    GdiFlush();
  }
  // A pixel of the picture at view coordinates.
  COLORREF At(int x, int y) const {
    int px = x - pictureRect.left, py = y - pictureRect.top;
    if (!picture || px < 0 || py < 0 || px >= width || py >= height) return CLR_INVALID;
    return picture->At(px, py);
  }

  std::vector<std::wstring> captions, texts;
  int dialogs = 0;
  bool dialogAnswer = false;
  bool deleteInDialog = false;
  bool cancelPicture = false;
  std::vector<int> beginKinds, endKinds;
  RECT pictureRect = {};
  bool endedRight = false;
  std::unique_ptr<velktest::MemoryCanvas> picture;
  int width = 0, height = 0;
};

// A 45 x 45 24-bit picture file: a coloured square with a black frame.
std::vector<uint8_t> IconBytes(COLORREF fill) {
  const int side = kBePaletteButtonSize;
  const int stride = (side * 3 + 3) & ~3;
  std::vector<uint8_t> bytes(54 + static_cast<size_t>(stride) * side, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, side);
  put32(22, side);
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      bool edge = x < 3 || y < 3 || x >= side - 3 || y >= side - 3;
      COLORREF c = edge ? kBlack : fill;
      size_t at = 54 + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
      bytes[at] = GetBValue(c);
      bytes[at + 1] = GetGValue(c);
      bytes[at + 2] = GetRValue(c);
    }
  }
  return bytes;
}

// Points the icon folder at a folder of its own while alive.
class IconsFolder {
public:
  IconsFolder() : hadFolder_(GetSchemeIconsFolder() != nullptr) {
    if (hadFolder_) saved_ = GetSchemeIconsFolder();
    std::vector<uint8_t> plain = IconBytes(RGB(255, 200, 0));
    std::vector<uint8_t> two = IconBytes(RGB(0, 160, 80));
    std::vector<uint8_t> plugin = IconBytes(RGB(200, 0, 200));
    folder_.WriteFile(L"plain.bmp", plain.data(), plain.size());
    folder_.WriteFile(L"two.bmp", two.data(), two.size());
    folder_.WriteFile(L"plugin.bmp", plugin.data(), plugin.size());
    // "macro.bmp" is left out: its entry gets no button.
    SetSchemeIconsFolder(folder_.Path().c_str());
  }
  ~IconsFolder() { SetSchemeIconsFolder(hadFolder_ ? saved_.c_str() : nullptr); }

private:
  velktest::TempFolder folder_;
  std::wstring saved_;
  bool hadFolder_;
};

std::wstring ScreenshotFolder() {
  wchar_t exe[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe, n);
  for (int up = 0; up < 2; ++up) folder = folder.substr(0, folder.find_last_of(L"\\/"));
  folder += L"\\screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::wstring PanelText(HWND bar, int index) {
  wchar_t text[128] = {};
  LRESULT length = SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0);
  if (LOWORD(length) >= 128) return L"<too long>";
  SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  // Leading tabs carry the alignment.
  std::wstring all = text;
  return all.substr(all.find_first_not_of(L'\t') == std::wstring::npos ? all.size() : all.find_first_not_of(L'\t'));
}

// The fixture scheme, by hand:
//   A, plain (1 in, 1 out), at (20, 20)-(170, 120): input (20, 70), output (170, 70)
//   B, two by two, at (300, 200)-(450, 300): inputs (300, 225), (300, 275),
//      outputs (450, 225), (450, 275); the second output is hardware
//   A.out -> B.in0, route x1 235 (straight: 300 - 20 >= 170)
//   B.out0 -> A.in, detour: x2 0, y 160, x1 490
class BlockEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    countBefore = BeOpenEditorCount;
    frame = new RecordingFrame;
    ASSERT_TRUE(frame->Create(nullptr, L"Velkboard", KestPos(10, 10), 1000, 760, nullptr, true, true, true, true));
    ASSERT_TRUE(frame->CreateMDIClient());
    frame->Show(false);
    ASSERT_EQ(frame, MainKestForm);

    scheme.Init(&catalogue.catalogue);
    a = scheme.CreateBlock(kPlainClassId);
    b = scheme.CreateBlock(kTwoByTwoClassId);
    ASSERT_TRUE(a && b);
    a->MoveTo(20, 20);
    b->MoveTo(300, 200);
    b->outputs[1]->hardware = 1;
    betest::Link(a, 0, b, 0, 235);
    betest::Link(b, 0, a, 0, 490, 160, 0);
  }
  void TearDown() override {
    velktest::CloseAllLiveForms();
    EXPECT_EQ(countBefore, BeOpenEditorCount);
  }

  void OpenEditor() {
    editor = new TestEditor(frame, &scheme, &toolFinished);
    ASSERT_TRUE(editor->GetHandle());
    MoveWindow(editor->GetHandle(), 0, 0, 900, 640, TRUE);
    velktest::FlushEvents();
    view = editor->GetView();
    ASSERT_TRUE(view && view->GetHandle());
    frame->modified = 0;
    toolFinished = 0;
  }

  HWND ViewWindow() const { return view->GetHandle(); }
  // Mouse input in view coordinates (the fixture keeps the scroll at 0).
  void Press(int x, int y, WPARAM keys = 0) {
    SendMessageW(ViewWindow(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
  }
  void Move(int x, int y, WPARAM keys = MK_LBUTTON) {
    SendMessageW(ViewWindow(), WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
  }
  void Release(int x, int y, WPARAM keys = 0) { SendMessageW(ViewWindow(), WM_LBUTTONUP, keys, MAKELPARAM(x, y)); }
  void Key(WPARAM key) { SendMessageW(ViewWindow(), WM_KEYDOWN, key, 1); }
  LRESULT Command(UINT id) { return SendMessageW(editor->GetHandle(), WM_COMMAND, id, 0); }
  LRESULT Ask(UINT query) { return SendMessageW(editor->GetHandle(), query, 0, 0); }

  std::vector<CKestSpdBtn*> PaletteButtons() const {
    std::vector<CKestSpdBtn*> buttons;
    HWND tabs = editor->GetTabs()->GetHandle();
    for (HWND child = GetWindow(tabs, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      auto* button = dynamic_cast<CKestSpdBtn*>(GetControlFromHandle(child));
      if (button) buttons.push_back(button);
    }
    return buttons;
  }

  IconsFolder icons;
  betest::TestCatalogue catalogue;
  BeScheme scheme;
  CBEBlock* a = nullptr;
  CBEBlock* b = nullptr;
  RecordingFrame* frame = nullptr;
  TestEditor* editor = nullptr;
  CBEView* view = nullptr;
  int toolFinished = 0;
  int countBefore = 0;
};

TEST_F(BlockEditorTest, HitCodesOverTheFixture) {
  OpenEditor();
  struct Case {
    int x, y, code;
    void* object;
  } cases[] = {
      {100, 60, CBEView::kHitBlock, a},
      {22, 72, CBEView::kHitInput, a->inputs[0]},              // the pin wins over its link
      {168, 68, CBEView::kHitOutput, a->outputs[0]},
      {250, 225, CBEView::kHitLinkAtInput, b->inputs[0]},      // y at the input, between x1 and the input
      {200, 70, CBEView::kHitLinkAtOutput, b->inputs[0]},      // y at the output
      {235, 150, CBEView::kHitLinkX1, b->inputs[0]},
      {10, 70, CBEView::kHitLinkAtInput, a->inputs[0]},        // 10 from the pin: the link
      {0, 100, CBEView::kHitLinkX2, a->inputs[0]},
      {300, 160, CBEView::kHitLinkY, a->inputs[0]},
      {490, 200, CBEView::kHitLinkX1, a->inputs[0]},
      {470, 225, CBEView::kHitLinkAtOutput, a->inputs[0]},
      {300, 200, CBEView::kHitBlock, b},                       // left and top inclusive
      {449, 275, CBEView::kHitBlock, b},                       // a hardware output is no pin
      {450, 275, CBEView::kHitNothing, nullptr},               // right edge exclusive
      {300, 300, CBEView::kHitNothing, nullptr},               // bottom edge exclusive
      {600, 400, CBEView::kHitNothing, nullptr},
  };
  for (const Case& c : cases) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(c.code, view->HitTest(c.x, c.y, &object)) << c.x << "," << c.y;
    EXPECT_EQ(c.object, object) << c.x << "," << c.y;
  }
}

TEST_F(BlockEditorTest, TabsAndPaletteButtonsFollowTheCatalogue) {
  betest::UnitCatalogue unit;
  BeScheme unitScheme;
  unitScheme.Init(&unit.catalogue);
  auto* other = new TestEditor(frame, &unitScheme, nullptr);
  ASSERT_TRUE(other->GetHandle());
  CKestTabControl* tabs = other->GetTabs();
  ASSERT_EQ(unit.catalogue.groupCount - 1, tabs->GetTabCount());  // group 0 has no tab
  for (int i = 1; i < unit.catalogue.groupCount; ++i)
    EXPECT_STREQ(unit.catalogue.Group(i)->name, tabs->GetCaption(i - 1));
  EXPECT_EQ(0, tabs->GetSelectedTab());
  SendMessageW(other->GetHandle(), WM_CLOSE, 0, 0);
  velktest::FlushEvents();

  OpenEditor();
  ASSERT_EQ(1, editor->GetTabs()->GetTabCount());
  EXPECT_STREQ(L"Тест", editor->GetTabs()->GetCaption(0));
  std::vector<CKestSpdBtn*> buttons = PaletteButtons();
  ASSERT_EQ(2u, buttons.size());  // "macro.bmp" is missing
  EXPECT_EQ(4000, GetDlgCtrlID(buttons[0]->GetHandle()));
  EXPECT_EQ(4001, GetDlgCtrlID(buttons[1]->GetHandle()));
  EXPECT_STREQ(L"Простой", buttons[0]->GetHint());
  EXPECT_STREQ(L"Два на два", buttons[1]->GetHint());
  for (CKestSpdBtn* button : buttons) {
    EXPECT_EQ(kBePaletteButtonSize, button->GetWidth());
    EXPECT_EQ(kBePaletteButtonSize, button->GetHeight());
    EXPECT_TRUE(button->IsToggle());
    EXPECT_TRUE(button->GetImage() != nullptr);
  }
  // Flow placement from (5, 27) without gaps.
  EXPECT_EQ(kBePaletteFirstX, buttons[0]->GetPosition().x);
  EXPECT_EQ(kBePaletteFirstY, buttons[0]->GetPosition().y);
  EXPECT_EQ(kBePaletteFirstX + kBePaletteButtonSize, buttons[1]->GetPosition().x);

  // Filling again (a tab change) replaces the buttons.
  SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(0, 0),
               reinterpret_cast<LPARAM>(editor->GetTabs()->GetHandle()));
  velktest::FlushEvents();
  std::vector<CKestSpdBtn*> again = PaletteButtons();
  EXPECT_EQ(2u, again.size());
}

TEST_F(BlockEditorTest, PlacingABlockFromThePalette) {
  OpenEditor();
  std::vector<CKestSpdBtn*> buttons = PaletteButtons();
  ASSERT_EQ(2u, buttons.size());
  // A real click on the second button.
  HWND button = buttons[1]->GetHandle();
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  velktest::FlushEvents();
  EXPECT_EQ(CBEView::kDragPlace, view->GetMode());
  EXPECT_EQ(kTwoByTwoClassId, view->GetPendingClass());
  EXPECT_FALSE(buttons[0]->IsDown());
  EXPECT_TRUE(buttons[1]->IsDown());

  int before = scheme.GetBlockCount();
  Press(600, 450);  // waiting to place: the press does nothing else
  EXPECT_EQ(CBEView::kDragPlace, view->GetMode());
  Release(601, 451);
  ASSERT_EQ(before + 1, scheme.GetBlockCount());
  CBEBlock* placed = scheme.blocks;
  EXPECT_EQ(kTwoByTwoClassId, placed->GetClassId());
  // Centred: 601 - 150 / 2 = 526, 451 - 100 / 2 = 401.
  EXPECT_EQ(526, placed->rect.left);
  EXPECT_EQ(401, placed->rect.top);
  EXPECT_EQ(676, placed->rect.right);
  EXPECT_EQ(501, placed->rect.bottom);
  EXPECT_EQ(CBEView::kDragIdle, view->GetMode());
  EXPECT_EQ(1, toolFinished);
  EXPECT_EQ(1, frame->modified);
  EXPECT_FALSE(buttons[1]->IsDown());
}

TEST_F(BlockEditorTest, PlacingAClassTheCatalogueLacksPlacesNothing) {
  OpenEditor();
  EditorHost host;
  CKestHostScope scope(&host);
  CBlockHostScope blockScope(&host);
  view->SetPendingClass(0x12345678);
  int before = scheme.GetBlockCount();
  Press(600, 450);
  Release(600, 450);
  EXPECT_EQ(before, scheme.GetBlockCount());
  ASSERT_EQ(1u, host.captions.size());
  EXPECT_EQ(L"Ошибка загрузки схемы", host.captions[0]);
  EXPECT_EQ(0, frame->modified);
  EXPECT_EQ(1, toolFinished);
}

TEST_F(BlockEditorTest, CancelledPluginChooserPressesNothingAndPlacesNothing) {
  BeCatalogueGroup* group = catalogue.catalogue.Group(1);
  group->AddEntry(kBePluginBlockClassId, betest::NewPlain, L"Плагин", L"plugin.bmp");
  OpenEditor();
  std::vector<CKestSpdBtn*> buttons = PaletteButtons();
  ASSERT_EQ(3u, buttons.size());
  EXPECT_EQ(4003, GetDlgCtrlID(buttons[2]->GetHandle()));
  HWND button = buttons[2]->GetHandle();
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  velktest::FlushEvents();
  EXPECT_EQ(1, editor->chooserRuns);
  EXPECT_EQ(CBEView::kDragIdle, view->GetMode());
  for (CKestSpdBtn* b : buttons) EXPECT_FALSE(b->IsDown());

  editor->chooserAnswer = true;
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  velktest::FlushEvents();
  EXPECT_EQ(2, editor->chooserRuns);
  EXPECT_EQ(CBEView::kDragPlace, view->GetMode());
  EXPECT_EQ(kBePluginBlockClassId, view->GetPendingClass());
  EXPECT_TRUE(buttons[2]->IsDown());
}

TEST_F(BlockEditorTest, LinkFromAnOutputToAFreeInput) {
  OpenEditor();
  Press(170, 70);  // A's output
  EXPECT_EQ(CBEView::kDragLinkFromOutput, view->GetMode());
  Move(250, 200);
  Move(300, 275);
  Release(300, 275);  // B's second input
  ASSERT_EQ(a->outputs[0], b->inputs[1]->source);
  // o (170, 70), i (300, 275): y = 345 / 2 = 172; x2 = 280; 280 >= 170, so
  // x1 = 470 / 2 + 75 / 5 = 250.
  EXPECT_EQ(172, b->inputs[1]->routeY);
  EXPECT_EQ(280, b->inputs[1]->routeX2);
  EXPECT_EQ(250, b->inputs[1]->routeX1);
  EXPECT_EQ(1, frame->modified);
  EXPECT_EQ(CBEView::kDragIdle, view->GetMode());
}

TEST_F(BlockEditorTest, LinkFromAnInputThatDetours) {
  OpenEditor();
  b->inputs[0]->source = nullptr;
  Press(300, 225);  // the free input of B
  EXPECT_EQ(CBEView::kDragLinkFromInput, view->GetMode());
  Move(400, 240);
  Release(450, 225);  // B's own first output: the link goes round
  ASSERT_EQ(b->outputs[0], b->inputs[0]->source);
  // o (450, 225), i (300, 225): y 225; x2 280; 280 < 450: x1 = 450 + 25 + 40.
  EXPECT_EQ(225, b->inputs[0]->routeY);
  EXPECT_EQ(280, b->inputs[0]->routeX2);
  EXPECT_EQ(515, b->inputs[0]->routeX1);
  EXPECT_EQ(1, frame->modified);
}

TEST_F(BlockEditorTest, IncompatibleTypesAreRefused) {
  ASSERT_FALSE(IsSignalTypeCompatible(kBeSignalBit, kBeSignalVideo));
  OpenEditor();
  EditorHost host;
  CKestHostScope scope(&host);
  CBlockHostScope blockScope(&host);
  b->inputs[1]->type = kBeSignalVideo;

  Press(300, 275);
  Release(170, 70);
  EXPECT_EQ(nullptr, b->inputs[1]->source);
  Press(170, 70);
  Release(300, 275);
  EXPECT_EQ(nullptr, b->inputs[1]->source);
  ASSERT_EQ(2u, host.texts.size());
  EXPECT_EQ(L"Типы сигналов несовместимы!", host.texts[0]);
  EXPECT_EQ(L"Типы сигналов не совместимы!", host.texts[1]);
  EXPECT_EQ(L"Ошибка", host.captions[0]);
  EXPECT_EQ(L"Ошибка", host.captions[1]);
  EXPECT_EQ(0, frame->modified);
  EXPECT_EQ(CBEView::kDragIdle, view->GetMode());
}

TEST_F(BlockEditorTest, ALinkCannotEndOnAHardwareOutput) {
  OpenEditor();
  EditorHost host;
  CKestHostScope scope(&host);
  CBlockHostScope blockScope(&host);
  Press(300, 275);
  Release(450, 275);  // the hardware output: no pin there
  EXPECT_EQ(nullptr, b->inputs[1]->source);
  EXPECT_TRUE(host.texts.empty());
}

TEST_F(BlockEditorTest, CuttingLinks) {
  OpenEditor();
  // Pressing on a connected input cuts its link at once.
  Press(300, 225);
  EXPECT_EQ(nullptr, b->inputs[0]->source);
  EXPECT_EQ(KestCursorLinkCut, view->GetCursorIndex());
  Release(300, 225);
  EXPECT_EQ(1, frame->modified);
  // So does pressing on the end piece at the output.
  Press(470, 225);
  EXPECT_EQ(nullptr, a->inputs[0]->source);
  Release(470, 225);
  EXPECT_EQ(2, frame->modified);
}

TEST_F(BlockEditorTest, ReroutingLinks) {
  OpenEditor();
  Press(235, 150);
  EXPECT_EQ(CBEView::kDragRouteX1, view->GetMode());
  Move(260, 150);
  EXPECT_EQ(260, b->inputs[0]->routeX1);
  EXPECT_EQ(KestCursorSplitWe, view->GetCursorIndex());
  Release(260, 150);
  EXPECT_EQ(1, frame->modified);

  Press(300, 160);
  EXPECT_EQ(CBEView::kDragRouteY, view->GetMode());
  Move(300, 180);
  EXPECT_EQ(180, a->inputs[0]->routeY);
  EXPECT_EQ(KestCursorSplitNs, view->GetCursorIndex());
  Release(300, 180);

  Press(0, 100);
  EXPECT_EQ(CBEView::kDragRouteX2, view->GetMode());
  Move(30, 100);  // away from the edge: no scrolling
  EXPECT_EQ(30, a->inputs[0]->routeX2);
  Release(30, 100);
  EXPECT_EQ(3, frame->modified);
  // Both links are still made.
  EXPECT_EQ(a->outputs[0], b->inputs[0]->source);
  EXPECT_EQ(b->outputs[0], a->inputs[0]->source);
}

TEST_F(BlockEditorTest, HoveringALinkMakesItHot) {
  OpenEditor();
  Move(235, 150, 0);
  EXPECT_EQ(b->inputs[0], view->GetHotLink());
  EXPECT_EQ(KestCursorSplitWe, view->GetCursorIndex());
  Move(300, 160, 0);
  EXPECT_EQ(a->inputs[0], view->GetHotLink());
  EXPECT_EQ(KestCursorSplitNs, view->GetCursorIndex());
  Move(100, 60, 0);
  EXPECT_EQ(nullptr, view->GetHotLink());
  EXPECT_STREQ(L"Простой", view->GetHint());
  Move(300, 275, 0);
  EXPECT_STREQ(L"bit", view->GetHint());
  EXPECT_EQ(KestCursorCross, view->GetCursorIndex());
}

TEST_F(BlockEditorTest, RubberBandSelection) {
  OpenEditor();
  Press(5, 5);
  EXPECT_EQ(CBEView::kDragBand, view->GetMode());
  Move(200, 200);
  Release(460, 310);
  EXPECT_TRUE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());

  // A band touching B's right edge exactly leaves B out and clears A.
  Press(5, 5);
  Release(450, 310);
  EXPECT_TRUE(a->IsSelected());
  EXPECT_FALSE(b->IsSelected());
  Press(295, 195);
  Release(451, 301);
  EXPECT_FALSE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());

  // With Ctrl the band adds to the selection.
  Press(5, 5, MK_CONTROL);
  Release(180, 130, MK_CONTROL);
  EXPECT_TRUE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());
  EXPECT_EQ(0, frame->modified);
}

TEST_F(BlockEditorTest, ClickSelectsAndASecondPressMoves) {
  OpenEditor();
  Press(100, 60);
  EXPECT_TRUE(a->IsSelected());
  EXPECT_EQ(CBEView::kDragIdle, view->GetMode());  // no drag on the selecting press
  Move(120, 70);
  Release(120, 70);
  EXPECT_EQ(20, a->rect.left);

  Press(100, 60, MK_SHIFT);  // already selected: a drag starts
  EXPECT_EQ(CBEView::kDragMove, view->GetMode());
  Move(110, 65);
  Move(130, 75);
  Release(130, 75);
  EXPECT_EQ(50, a->rect.left);
  EXPECT_EQ(35, a->rect.top);
  EXPECT_EQ(2, frame->modified);  // one per mouse move

  // Ctrl-click adds B; a plain click on A alone would have cleared it.
  Press(350, 250, MK_CONTROL);
  Release(350, 250, MK_CONTROL);
  EXPECT_TRUE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());
}

TEST_F(BlockEditorTest, ArrowKeysMoveTheSelection) {
  OpenEditor();
  Key(VK_RIGHT);  // nothing selected: nothing moves, nothing changes
  EXPECT_EQ(0, frame->modified);
  a->flags |= kBeBlockSelected;
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  Key(VK_DOWN);
  Key(VK_LEFT);
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(21, a->rect.left);
  EXPECT_EQ(19, a->rect.top);
  EXPECT_EQ(300, b->rect.left);
  EXPECT_EQ(6, frame->modified);
}

TEST_F(BlockEditorTest, SelectAllAndDelete) {
  b->flags |= kBeBlockDevice;  // a piece of hardware stays
  OpenEditor();
  EXPECT_EQ(0, Ask(WM_KEST_CANDELETE));
  Command(ID_KEST_POPUP_SELECT_ALL);
  EXPECT_TRUE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());
  EXPECT_EQ(1, Ask(WM_KEST_CANCOPY));
  EXPECT_EQ(1, Ask(WM_KEST_CANCUT));
  EXPECT_EQ(1, Ask(WM_KEST_CANDELETE));
  EXPECT_EQ(1, Ask(WM_KEST_CANSELECTALL));
  EXPECT_EQ(1, Ask(WM_CAN_COPY_PICTURE));

  Key(VK_DELETE);
  EXPECT_EQ(1, scheme.GetBlockCount());
  EXPECT_EQ(b, scheme.blocks);
  EXPECT_EQ(nullptr, b->inputs[0]->source);  // its source went with A
  EXPECT_EQ(1, frame->modified);
  EXPECT_EQ(CBEView::kHitNothing, view->GetPressedHit());
  EXPECT_EQ(0, Ask(WM_KEST_CANDELETE));  // only a device block is selected
  velktest::FlushEvents();
  EXPECT_EQ(1, toolFinished);  // posted

  view->SelectAll(false);
  EXPECT_FALSE(b->IsSelected());
}

TEST_F(BlockEditorTest, DeleteCommandAndCutRefreshTheStatus) {
  scheme.baseRom = 0;
  a->rom = 300;
  b->rom = 200;
  OpenEditor();
  HWND bar = editor->GetStatusBar()->GetHandle();
  EXPECT_EQ(L"500", PanelText(bar, kBeStatusRomPanel));
  a->flags |= kBeBlockSelected;
  Command(ID_KEST_POPUP_DELETE);
  EXPECT_EQ(L"200", PanelText(bar, kBeStatusRomPanel));
  EXPECT_EQ(1, frame->modified);
}

TEST_F(BlockEditorTest, StatusBarTexts) {
  scheme.baseRom = 8000;
  a->rom = 600;
  b->rom = 400;
  a->cycles = 30;
  b->cycles = 12;
  OpenEditor();
  HWND bar = editor->GetStatusBar()->GetHandle();
  ASSERT_EQ(7, editor->GetStatusBar()->GetPanelCount());
  EXPECT_EQ(L"Объем [байты]:", PanelText(bar, 0));
  EXPECT_EQ(L"9000", PanelText(bar, 1));  // no ROM limit
  EXPECT_EQ(L"Циклы:", PanelText(bar, 2));
  EXPECT_EQ(L"42", PanelText(bar, 3));
  EXPECT_EQ(L"Частота [МГц]:", PanelText(bar, 4));
  EXPECT_EQ(L"1", PanelText(bar, 5));
  EXPECT_EQ(L"", PanelText(bar, 6));

  scheme.romLimit = 8192;
  scheme.frequency = 16000000.0f;
  editor->RefreshStatus();
  EXPECT_EQ(L"9000 из 8192", PanelText(bar, 1));
  EXPECT_EQ(L"16", PanelText(bar, 5));
}

TEST_F(BlockEditorTest, PropertiesDialogThatDeletesItsBlock) {
  OpenEditor();
  EditorHost host;
  CKestHostScope scope(&host);
  CBlockHostScope blockScope(&host);
  host.dialogAnswer = true;
  host.deleteInDialog = true;
  Press(100, 60);
  Release(100, 60);
  SendMessageW(ViewWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 60));
  EXPECT_EQ(1, host.dialogs);
  EXPECT_EQ(nullptr, view->GetPressedObject());
  EXPECT_EQ(CBEView::kHitNothing, view->GetPressedHit());
  EXPECT_EQ(1, scheme.GetBlockCount());
  EXPECT_EQ(1, frame->modified);
  EXPECT_EQ(1, toolFinished);
  // Nothing of the deleted block is touched afterwards.
  Command(ID_KEST_POPUP_PROPERTIES);
  EXPECT_EQ(1, host.dialogs);
  UpdateWindow(ViewWindow());
  velktest::FlushEvents();
}

TEST_F(BlockEditorTest, PropertiesOnlyForABlockAndOnlyConfirmedChanges) {
  OpenEditor();
  EditorHost host;
  CKestHostScope scope(&host);
  CBlockHostScope blockScope(&host);
  Press(600, 450);  // nothing hit
  Release(600, 450);
  SendMessageW(ViewWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(600, 450));
  EXPECT_EQ(0, host.dialogs);
  EXPECT_EQ(1, toolFinished);
  Press(350, 250);
  Release(350, 250);
  Command(ID_KEST_POPUP_PROPERTIES);  // cancelled
  EXPECT_EQ(1, host.dialogs);
  EXPECT_EQ(0, frame->modified);
}

TEST_F(BlockEditorTest, PictureExportOfTheScheme) {
  OpenEditor();
  EditorHost host;
  CKestHostScope scope(&host);
  CBlockHostScope blockScope(&host);
  Command(ID_KEST_COPY_PICTURE);
  ASSERT_EQ(std::vector<int>{KestPictureClipboard}, host.beginKinds);
  ASSERT_EQ(std::vector<int>{KestPictureClipboard}, host.endKinds);
  EXPECT_TRUE(host.endedRight);
  // The scroll range: (0, 0, 10, 10), the blocks and the links (the detour
  // reaches x 0 and 490), 20 more on every side.
  EXPECT_EQ(-20, host.pictureRect.left);
  EXPECT_EQ(-20, host.pictureRect.top);
  EXPECT_EQ(510, host.pictureRect.right);
  EXPECT_EQ(320, host.pictureRect.bottom);
  // Block bodies are drawn with black edges; the canvas colour is not.
  EXPECT_EQ(kBlack, host.At(20, 60));
  EXPECT_EQ(kBlack, host.At(449, 250));
  EXPECT_EQ(RGB(255, 255, 255), host.At(250, 30));
  // The link A -> B runs along y 70 from 170 to 235.
  EXPECT_EQ(kBlack, host.At(200, 70));

  host.cancelPicture = true;
  Command(ID_KEST_EXPORT_PICTURE);
  Command(ID_KEST_PRINT_PICTURE);
  EXPECT_EQ((std::vector<int>{KestPictureClipboard, KestPictureFile, KestPicturePrinter}), host.beginKinds);
  EXPECT_EQ(1u, host.endKinds.size());  // a cancelled picture is not finished
}

TEST_F(BlockEditorTest, PaintsTheCanvasAndLeavesAScreenshot) {
  a->flags |= kBeBlockSelected;
  OpenEditor();
  RedrawWindow(frame->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  velktest::FlushEvents();
  HDC dc = GetDC(ViewWindow());
  COLORREF background = GetPixel(dc, 600, 100);
  COLORREF body = GetPixel(dc, 20, 60);
  ReleaseDC(ViewWindow(), dc);
  EXPECT_EQ(CBEView::kBackground, background);
  EXPECT_EQ(kBlack, body);
  EXPECT_TRUE(velktest::SaveWindowBitmap(frame->GetHandle(), ScreenshotFolder() + L"block_editor.bmp"));
}

TEST_F(BlockEditorTest, ScrollRangeReachesBlocksAtNegativeCoordinates) {
  a->MoveTo(-400, -300);
  b->inputs[0]->source = nullptr;
  a->inputs[0]->source = nullptr;
  OpenEditor();
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE;
  ASSERT_TRUE(GetScrollInfo(ViewWindow(), SB_VERT, &info));
  EXPECT_EQ(-320, info.nMin);
  EXPECT_EQ(320, info.nMax);
  ASSERT_TRUE(GetScrollInfo(ViewWindow(), SB_HORZ, &info));
  EXPECT_EQ(-420, info.nMin);
  EXPECT_EQ(470, info.nMax);
  // The wheel scrolls up to the range's start and no further.
  SendMessageW(ViewWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, 3 * WHEEL_DELTA), 0);
  EXPECT_EQ(-320, view->GetScrollY());
  SendMessageW(ViewWindow(), WM_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(-420, view->GetScrollX());
  // Client (120, 50) is scheme (-300, -270), inside A.
  Press(120, 50);
  EXPECT_EQ(CBEView::kHitBlock, view->GetPressedHit());
  EXPECT_EQ(a, view->GetPressedObject());
  Release(120, 50);
}

TEST_F(BlockEditorTest, EditorsAreCountedWhileOpen) {
  OpenEditor();
  EXPECT_EQ(countBefore + 1, BeOpenEditorCount);
  auto* second = new TestEditor(frame, &scheme, nullptr);
  EXPECT_EQ(countBefore + 2, BeOpenEditorCount);
  SendMessageW(second->GetHandle(), WM_CLOSE, 0, 0);
  velktest::FlushEvents();
  EXPECT_EQ(countBefore + 1, BeOpenEditorCount);
  SendMessageW(editor->GetHandle(), WM_CLOSE, 0, 0);
  velktest::FlushEvents();
  EXPECT_EQ(countBefore, BeOpenEditorCount);
}

}  // namespace

namespace {

// Empties the clipboard when it goes, so no test leaves blocks on it.
class ClipboardReset {
public:
  ~ClipboardReset() {
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
  }
};

TEST_F(BlockEditorTest, CopyPasteAndCutThroughTheEditor) {
  ClipboardReset reset;
  OpenEditor();
  a->flags |= kBeBlockSelected;
  Command(ID_KEST_POPUP_COPY);
  EXPECT_EQ(1, Ask(EM_CANPASTE));
  EXPECT_EQ(2, scheme.GetBlockCount());
  EXPECT_EQ(0, frame->modified);

  Command(ID_KEST_POPUP_PASTE);
  ASSERT_EQ(3, scheme.GetBlockCount());
  CBEBlock* pasted = scheme.blocks;
  EXPECT_TRUE(pasted->IsSelected());
  EXPECT_FALSE(a->IsSelected());
  EXPECT_EQ(30, pasted->rect.left);  // 10 right and down of the copy
  EXPECT_EQ(30, pasted->rect.top);
  EXPECT_EQ(1, frame->modified);

  Command(ID_KEST_POPUP_CUT);
  EXPECT_EQ(2, scheme.GetBlockCount());
  EXPECT_EQ(2, frame->modified);
  Command(ID_KEST_POPUP_PASTE);
  EXPECT_EQ(3, scheme.GetBlockCount());
}

}  // namespace

namespace {

// Which of the view's popup items are enabled when the menu opens: the
// menu is taken away in the moment before it would open, so the test does
// not wait in the menu's loop.
std::vector<bool> EnabledItemsAtRightClick(TestEditor* editor, CBEView* view, int x, int y) {
  std::vector<bool> enabled;
  editor->beforeMenu = [&]() {
    HMENU menu = view->GetMenu()->GetHandle();
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
      enabled.push_back((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0);
    view->SetMenu(nullptr);
  };
  SendMessageW(view->GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(x, y));
  editor->beforeMenu = nullptr;
  return enabled;
}

TEST_F(BlockEditorTest, PopupMenuItemsFollowTheSelectionAndThePress) {
  ClipboardReset reset;
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  OpenEditor();
  HMENU menu = view->GetMenu()->GetHandle();
  ASSERT_EQ(8, GetMenuItemCount(menu));
  const UINT ids[] = {3001, 0, 769, 768, 770, 771, 0, 2137};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(ids[i], GetMenuItemID(menu, i)) << i;
  EXPECT_EQ(0u, GetMenuDefaultItem(menu, TRUE, 0));

  Press(600, 450);  // nothing
  Release(600, 450);
  std::vector<bool> none = EnabledItemsAtRightClick(editor, view, 600, 450);
  ASSERT_EQ(8u, none.size());
  EXPECT_FALSE(none[0]);  // properties
  EXPECT_FALSE(none[2]);  // copy
  EXPECT_FALSE(none[3]);  // cut
  EXPECT_FALSE(none[4]);  // paste: the clipboard is empty
  EXPECT_FALSE(none[5]);  // delete
}

TEST_F(BlockEditorTest, PopupMenuAfterPressingABlock) {
  ClipboardReset reset;
  OpenEditor();
  Press(100, 60);  // selects A
  Release(100, 60);
  view->Copy();
  std::vector<bool> some = EnabledItemsAtRightClick(editor, view, 100, 60);
  ASSERT_EQ(8u, some.size());
  EXPECT_TRUE(some[0]);
  EXPECT_TRUE(some[2]);
  EXPECT_TRUE(some[3]);
  EXPECT_TRUE(some[4]);
  EXPECT_TRUE(some[5]);
}

}  // namespace

namespace {

TEST_F(BlockEditorTest, ASmallSchemeLeftOfZeroShowsFromItsStart) {
  // Everything fits the window, but A lies left of 0: the view shows from
  // the range's start instead of hiding A at position 0.
  a->MoveTo(-200, 20);
  b->MoveTo(100, 200);
  a->inputs[0]->source = nullptr;
  b->inputs[0]->source = nullptr;
  OpenEditor();
  EXPECT_EQ(-220, view->GetScrollX());
  EXPECT_EQ(0, view->GetScrollY());  // nothing above the margin: from 0
  Press(50, 60);                     // scheme (-170, 60)
  EXPECT_EQ(a, view->GetPressedObject());
  Release(50, 60);
}

}  // namespace
