#include "blocks/engine/block_clipboard.h"

#include <string>

#include "blocks/engine/block_scheme.h"
#include "engine_fixture.h"
#include "foundation/memory_stream.h"
#include "foundation/paths.h"
#include "support/test_support.h"

using betest::Link;
using betest::RecordedMessages;
using betest::UnitCatalogue;

namespace {

// A window that counts the "scheme modified" messages it gets.
class ModifiedCounter {
public:
  ModifiedCounter() {
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  }
  ~ModifiedCounter() { DestroyWindow(window_); }
  HWND Window() const { return window_; }
  int count = 0;

private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_SCHEME_MODIFIED) {
      reinterpret_cast<ModifiedCounter*>(GetWindowLongPtrW(w, GWLP_USERDATA))->count++;
      return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  HWND window_;
};

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

bool PutOnClipboard(const void* bytes, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  memcpy(GlobalLock(memory), bytes, size);
  GlobalUnlock(memory);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  bool ok = SetClipboardData(BeBlockClipboard::Format(), memory) != nullptr;
  CloseClipboard();
  if (!ok) GlobalFree(memory);
  return ok;
}

std::wstring Helper() {
  wchar_t dir[kFoundationMaxPathChars];
  GetExeDirectory(dir);
  return std::wstring(dir) + L"be5_clip_helper.exe";
}

// A and B selected and linked, C unselected feeding B's second input, D a
// selected device block.
class Clipboard : public ::testing::Test {
protected:
  void SetUp() override {
    // The program registers its three formats at start-up in this order;
    // registering them here the same way keeps their numbers in that order
    // for every later program of the session.
    RegisterClipboardFormatW(L"VELK_UI");
    RegisterClipboardFormatW(L"BE5");
    RegisterClipboardFormatW(L"VELK_PCB");
    EmptyTheClipboard();
    scheme.Init(&unit.catalogue);
    a = scheme.CreateBlock(betest::kPlainClassId);
    b = scheme.CreateBlock(betest::kTwoByTwoClassId);
    c = scheme.CreateBlock(betest::kPlainClassId);
    d = scheme.CreateBlock(betest::kPlainClassId);
    Link(a, 0, b, 0, 320, 0, 0);
    Link(c, 0, b, 1, 330, 0, 0);
    a->flags |= kBeBlockSelected;
    b->flags |= kBeBlockSelected;
    d->flags |= kBeBlockSelected | kBeBlockDevice;
  }
  void TearDown() override { EmptyTheClipboard(); }

  UnitCatalogue unit;
  BeScheme scheme;
  CBEBlock *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
  RecordedMessages messages;
};

TEST_F(Clipboard, CopyAndPasteTwiceWithinTheProcess) {
  EXPECT_FALSE(BeBlockClipboard::CanPaste());
  ASSERT_NE(0u, BeBlockClipboard::Format());
  EXPECT_EQ(RegisterClipboardFormatW(L"BE5"), BeBlockClipboard::Format());
  ASSERT_TRUE(BeBlockClipboard::Copy(&scheme, nullptr));
  EXPECT_TRUE(BeBlockClipboard::CanPaste());
  ModifiedCounter counter;
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(BeBlockClipboard::Paste(&scheme, nullptr, counter.Window()));
    EXPECT_EQ(round, counter.count);
    ASSERT_EQ(4 + 2 * round, scheme.GetBlockCount());
    CBEBlock* b2 = scheme.blocks;
    CBEBlock* a2 = b2->next;
    EXPECT_EQ(betest::kTwoByTwoClassId, b2->GetClassId());
    EXPECT_EQ(a2->outputs[0], b2->inputs[0]->source);
    EXPECT_EQ(nullptr, b2->inputs[1]->source);  // C was not copied
    // Ten pixels right of and below the copied blocks, links with them.
    EXPECT_EQ(a->rect.left + 10, a2->rect.left);
    EXPECT_EQ(a->rect.top + 10, a2->rect.top);
    EXPECT_EQ(b->rect.top + 10, b2->rect.top);
    EXPECT_EQ(330, b2->inputs[0]->routeX1);
    EXPECT_EQ(10, b2->inputs[0]->routeY);
    // Only the pasted blocks are selected.
    int selected = 0;
    for (CBEBlock* x = scheme.blocks; x; x = x->next) selected += x->IsSelected();
    EXPECT_EQ(2, selected);
    EXPECT_TRUE(a2->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_FALSE(d->IsSelected());
  }
  // The originals keep their links.
  EXPECT_EQ(a->outputs[0], b->inputs[0]->source);
  EXPECT_EQ(c->outputs[0], b->inputs[1]->source);
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(Clipboard, EmptySelectionStillPastesAndTellsTheWindow) {
  for (CBEBlock* x = scheme.blocks; x; x = x->next) x->flags &= ~kBeBlockSelected;
  ASSERT_TRUE(BeBlockClipboard::Copy(&scheme, nullptr));
  ModifiedCounter counter;
  EXPECT_TRUE(BeBlockClipboard::Paste(&scheme, nullptr, counter.Window()));
  EXPECT_EQ(1, counter.count);
  EXPECT_EQ(4, scheme.GetBlockCount());
}

TEST_F(Clipboard, DamagedDataAddsNothing) {
  CMemoryStream stream;
  scheme.Save(&stream, true);
  ModifiedCounter counter;
  for (int n = 1; n < stream.size; n += 7) {
    ASSERT_TRUE(PutOnClipboard(stream.data, static_cast<size_t>(n)));
    EXPECT_FALSE(BeBlockClipboard::Paste(&scheme, nullptr, counter.Window())) << n;
    EXPECT_EQ(4, scheme.GetBlockCount());
  }
  EXPECT_EQ(0, counter.count);
  EmptyTheClipboard();
  EXPECT_FALSE(BeBlockClipboard::CanPaste());
  EXPECT_FALSE(BeBlockClipboard::Paste(&scheme, nullptr, counter.Window()));
  // Paste clears the selection before it reads; nothing came in.
  EXPECT_FALSE(a->IsSelected());
}

TEST_F(Clipboard, BlocksCopiedInAnotherProcessPasteHere) {
  velktest::ChildProcess child(Helper(), L"copy");
  ASSERT_TRUE(child.Started());
  ASSERT_EQ(0, child.WaitForEnd(20000));
  ASSERT_TRUE(BeBlockClipboard::CanPaste());
  BeScheme target;
  target.Init(&unit.catalogue);
  ASSERT_TRUE(BeBlockClipboard::Paste(&target, nullptr, nullptr));
  ASSERT_EQ(2, target.GetBlockCount());
  EXPECT_STREQ(L"из другого процесса", target.blocks->caption);
  EXPECT_EQ(target.blocks->next->outputs[0], target.blocks->inputs[0]->source);
  EXPECT_EQ(121, target.blocks->inputs[0]->routeX1);
  EXPECT_EQ(232, target.blocks->inputs[0]->routeY);
  EXPECT_EQ(343, target.blocks->inputs[0]->routeX2);
}

TEST_F(Clipboard, BlocksCopiedHerePasteInAnotherProcess) {
  b->inputs[1]->source = nullptr;
  c->flags |= kBeBlockSelected;
  Link(a, 0, c, 0);  // the newer block fed by the older
  b->flags &= ~kBeBlockSelected;
  ASSERT_TRUE(BeBlockClipboard::Copy(&scheme, nullptr));
  velktest::ChildProcess child(Helper(), L"paste");
  ASSERT_TRUE(child.Started());
  EXPECT_EQ(100 + 20 + 1, child.WaitForEnd(20000));
}

}  // namespace
