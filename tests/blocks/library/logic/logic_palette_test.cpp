// The "Логика" palette group: its entries make the real classes, and each
// button of the block editor's palette places its class where the view is
// clicked.
#include <windows.h>

#include <string>
#include <vector>

#include "logic_kit.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/library/logic/logic_classes.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/containers/kest_tabs.h"
#include "kestui/forms/kest_form.h"
#include "scheme/model/scheme_icons.h"
#include "support/live_forms.h"
#include "support/test_support.h"

namespace {

struct LogicEntry {
  unsigned int classId;
  const wchar_t* caption;
  const wchar_t* bitmap;
  bool (*isClass)(CBEBlock*);
};
template <class T>
bool Is(CBEBlock* block) {
  return dynamic_cast<T*>(block) != nullptr;
}
const LogicEntry kLogicEntries[] = {
    {kBeNotClassId, L"Элемент НЕ", L"not.bmp", Is<CBENot>},
    {kBeAndClassId, L"Побитовая операция \"И\" с константой", L"and.bmp", Is<CBEAnd>},
    {kBeAnd2ClassId, L"Элемент И", L"and2.bmp", Is<CBEAnd2>},
    {kBeOrClassId, L"Побитовая операция ИЛИ с константой", L"or.bmp", Is<CBEOr>},
    {kBeOr2ClassId, L"Элемент ИЛИ", L"or2.bmp", Is<CBEOr2>},
    {kBeCmpClassId, L"Сравнение с константой", L"cmp.bmp", Is<CBECmp>},
    {kBeCmp2ClassId, L"Сравнение двух сигналов", L"cmp2.bmp", Is<CBECmp2>},
    {kBeGetBitClassId, L"Получить бит числа", L"bit.bmp", Is<CBEGetBit>},
    {kBeShlClassId, L"Левый сдвиг", L"shl.bmp", Is<CBEShl>},
    {kBeShrClassId, L"Правый сдвиг", L"shr.bmp", Is<CBEShr>},
};
const int kLogicEntryCount = sizeof kLogicEntries / sizeof kLogicEntries[0];

TEST(LogicClasses, TheGroupHoldsItsEntriesInOrderAndMakesTheRealClasses) {
  EXPECT_EQ(kLogicEntryCount, kLogicClassRowCount);
  blocktest::LibraryCatalogue library;
  const BeCatalogueGroup* logic = library.Group(L"Логика");
  ASSERT_NE(nullptr, logic);
  ASSERT_EQ(kLogicEntryCount, logic->entryCount);
  for (int i = 0; i < kLogicEntryCount; ++i) {
    const BeCatalogueEntry* entry = logic->Entry(i);
    EXPECT_EQ(kLogicEntries[i].classId, entry->classId) << i;
    EXPECT_STREQ(kLogicEntries[i].caption, entry->caption) << i;
    EXPECT_STREQ(kLogicEntries[i].bitmap, entry->bitmap) << i;
    CBEBlock* block = entry->creator();
    ASSERT_NE(nullptr, block);
    EXPECT_TRUE(kLogicEntries[i].isClass(block)) << i;
    delete block;
  }
}

// Every class answers false from its properties and changes nothing until
// a dialog is registered; then the dialog gets the block.
std::vector<CBEBlock*> g_dialogBlocks;
bool ConfirmingDialog(CBEBlock* block) {
  g_dialogBlocks.push_back(block);
  return true;
}

TEST(LogicClasses, PropertiesAnswerFalseUntilADialogIsRegistered) {
  blocktest::DialogScope dialogs;
  g_dialogBlocks.clear();
  blocktest::Bench bench;
  for (const LogicEntry& e : kLogicEntries) BeBlockDialogTable::Program().Set(e.classId, nullptr);
  for (const LogicEntry& e : kLogicEntries) {
    CBEBlock* block = bench.Create<CBEBlock>(e.classId);
    std::vector<uint8_t> before = blocktest::RecordBytes(block);
    blocktest::Costs costs = blocktest::CostsOf(block);
    EXPECT_FALSE(block->ShowProperties()) << std::hex << e.classId;
    EXPECT_EQ(before, blocktest::RecordBytes(block));
    EXPECT_EQ(costs, blocktest::CostsOf(block));
    dialogs.Set(e.classId, ConfirmingDialog);
    EXPECT_TRUE(block->ShowProperties()) << std::hex << e.classId;
    ASSERT_FALSE(g_dialogBlocks.empty());
    EXPECT_EQ(block, g_dialogBlocks.back());
  }
}

// ------------------------------------------------------------ the palette

class Frame : public CKestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SCHEME_MODIFIED) return 0;
    return CKestForm::WindowProc(message, wParam, lParam);
  }
};

// The palette reads its pictures from the scheme-icons folder; the group's
// own pictures are drawn elsewhere, so the test gives every entry a shipped
// picture of another block under the entry's name, in a folder of its own.
class LogicPaletteTest : public ::testing::Test {
protected:
  void SetUp() override {
    hadFolder_ = GetSchemeIconsFolder() != nullptr;
    if (hadFolder_) savedFolder_ = GetSchemeIconsFolder();
    std::wstring picture = blocktest::ShippedIconsFolder() + L"neg.bmp";
    for (const LogicEntry& e : kLogicEntries)
      ASSERT_TRUE(CopyFileW(picture.c_str(), icons_.File(e.bitmap).c_str(), FALSE)) << e.bitmap;
    SetSchemeIconsFolder(icons_.Path().c_str());
    frame = new Frame;
    ASSERT_TRUE(frame->Create(nullptr, L"Velkboard", KestPos(10, 10), 1000, 760, nullptr, true, true, true, true));
    ASSERT_TRUE(frame->CreateMDIClient());
    frame->Show(false);
  }
  void TearDown() override {
    velktest::CloseAllLiveForms();
    SetSchemeIconsFolder(hadFolder_ ? savedFolder_.c_str() : nullptr);
  }
  std::vector<CKestSpdBtn*> Buttons(CBEEditor* editor) const {
    std::vector<CKestSpdBtn*> buttons;
    HWND tabs = editor->GetTabs()->GetHandle();
    for (HWND child = GetWindow(tabs, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      auto* button = dynamic_cast<CKestSpdBtn*>(GetControlFromHandle(child));
      if (button) buttons.push_back(button);
    }
    return buttons;
  }

  blocktest::Bench bench;
  Frame* frame = nullptr;

private:
  velktest::TempFolder icons_;
  bool hadFolder_ = false;
  std::wstring savedFolder_;
};

TEST_F(LogicPaletteTest, APaletteButtonPlacesTheRealClass) {
  auto* editor = new CBEEditor(frame, &bench.scheme);
  ASSERT_TRUE(editor->GetHandle());
  MoveWindow(editor->GetHandle(), 0, 0, 900, 640, TRUE);
  velktest::FlushEvents();
  CKestTabControl* tabs = editor->GetTabs();
  int tab = -1;
  for (int i = 0; i < tabs->GetTabCount(); ++i)
    if (tabs->GetCaption(i) && std::wstring(tabs->GetCaption(i)) == L"Логика") tab = i;
  ASSERT_GE(tab, 0);
  tabs->SelectTab(tab);
  SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(0, 0), reinterpret_cast<LPARAM>(tabs->GetHandle()));
  velktest::FlushEvents();
  std::vector<CKestSpdBtn*> buttons = Buttons(editor);
  ASSERT_EQ(static_cast<size_t>(kLogicEntryCount), buttons.size());
  for (size_t i = 0; i < buttons.size(); ++i) EXPECT_STREQ(kLogicEntries[i].caption, buttons[i]->GetHint()) << i;

  CBEView* view = editor->GetView();
  for (size_t i = 0; i < buttons.size(); ++i) {
    HWND button = buttons[i]->GetHandle();
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    velktest::FlushEvents();
    ASSERT_EQ(kLogicEntries[i].classId, view->GetPendingClass()) << i;
    int before = bench.scheme.GetBlockCount();
    int x = 100 + 170 * static_cast<int>(i % 4), y = 60 + 90 * static_cast<int>(i / 4);
    SendMessageW(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(view->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    velktest::FlushEvents();
    ASSERT_EQ(before + 1, bench.scheme.GetBlockCount()) << i;
    CBEBlock* placed = bench.scheme.blocks;
    EXPECT_EQ(kLogicEntries[i].classId, placed->GetClassId()) << i;
    EXPECT_TRUE(kLogicEntries[i].isClass(placed)) << i;
  }
  InvalidateRect(view->GetHandle(), nullptr, TRUE);
  UpdateWindow(editor->GetHandle());
  velktest::FlushEvents();
  velktest::SaveScreenshot(editor->GetHandle(), L"library_logic_palette.bmp");
  EXPECT_TRUE(bench.host.texts.empty());
}

}  // namespace
