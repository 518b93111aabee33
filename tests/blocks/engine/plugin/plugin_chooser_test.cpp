// "Создать plugin" under Xvfb: the tree of modules and kinds, and what the
// chooser answers for each way out.
#include "blocks/engine/plugin/plugin_chooser.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "kestui/core/kest_control.h"
#include "kestui/graphics/kest_imagelist.h"
#include "kestui/lists/kest_tree_view.h"
#include "plugin_fixture.h"
#include "support/live_forms.h"
#include "support/test_support.h"

namespace {

using plugtest::ProgramPlugins;

const UINT kStepMessage = WM_APP + 31;

struct TreeItem {
  std::wstring text;
  int image;
  uint32_t data;
  std::vector<TreeItem> children;
};

std::vector<TreeItem> ReadItems(HWND tree, HTREEITEM first) {
  std::vector<TreeItem> items;
  for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
    wchar_t text[128] = {};
    TVITEMW info = {};
    info.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = 128;
    TreeView_GetItem(tree, &info);
    items.push_back({text, info.iImage, static_cast<uint32_t>(info.lParam),
                     ReadItems(tree, TreeView_GetChild(tree, item))});
  }
  return items;
}

struct ButtonSearch {
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK MatchButton(HWND child, LPARAM lParam) {
  auto* s = reinterpret_cast<ButtonSearch*>(lParam);
  wchar_t text[64] = {}, cls[32] = {};
  GetClassNameW(child, cls, 32);
  GetWindowTextW(child, text, 64);
  if (_wcsicmp(cls, L"Button") == 0 && wcscmp(text, s->caption) == 0) {
    s->found = child;
    return FALSE;
  }
  return TRUE;
}

HWND FindButton(HWND parent, const wchar_t* caption) {
  ButtonSearch search = {caption, nullptr};
  EnumChildWindows(parent, MatchButton, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Watches for the chooser; once it is active, runs step with it on a
// message of a helper window (so the modal loop is running).
class ChooserDriver {
public:
  // step gets the form and the step number (from 0); it answers whether
  // another step is to follow once the messages now waiting are handled.
  explicit ChooserDriver(std::function<bool(CBEPluginChooserForm*, int)> step) : step_(std::move(step)) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HelperProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PluginChooserTestHelper";
    RegisterClassW(&wc);
    helper_ = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~ChooserDriver() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (helper_) DestroyWindow(helper_);
    current_ = nullptr;
  }
  bool Ready() const { return helper_ && hook_; }
  int Steps() const { return steps_; }

private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_ && !current_->form_) {
      auto* form = dynamic_cast<CBEPluginChooserForm*>(GetControlFromHandle(reinterpret_cast<HWND>(wParam)));
      if (form) {
        current_->form_ = form;
        PostMessageW(current_->helper_, kStepMessage, 0, 0);
      }
    }
    return CallNextHookEx(current_ ? current_->hook_ : nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStepMessage && current_ && current_->form_) {
      if (current_->step_(current_->form_, current_->steps_++)) PostMessageW(window, kStepMessage, 0, 0);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  static ChooserDriver* current_;
  std::function<bool(CBEPluginChooserForm*, int)> step_;
  HWND helper_ = nullptr;
  HHOOK hook_ = nullptr;
  CBEPluginChooserForm* form_ = nullptr;
  int steps_ = 0;
};
ChooserDriver* ChooserDriver::current_ = nullptr;

// The folder of the test program's build ("build\").
std::wstring BuildFolder() {
  wchar_t exe[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe, n);
  for (int up = 0; up < 2; ++up) folder = folder.substr(0, folder.find_last_of(L"\\/"));
  return folder + L"\\";
}

class PluginChooserTest : public ::testing::Test {
protected:
  PluginChooserTest()
      : plugins({{L"test_plugin.dll", L"adders.dll"}, {L"stand_in_plugin.dll", L"empty.dll"},
                 {L"test_plugin.dll", L"more.dll"}}) {}
  void SetUp() override {
    ASSERT_TRUE(plugins.Copied());
    ASSERT_EQ(3, ProgramPluginList().Count());
    ClearPluginChoice();
  }
  void TearDown() override {
    ClearPluginChoice();
    velktest::CloseAllLiveForms();
  }
  // The tree item of module m (by list position) and its kind k (-1: the
  // module's own item).
  static HTREEITEM ItemOf(HWND tree, int m, int k) {
    HTREEITEM item = TreeView_GetRoot(tree);
    for (int i = 0; i < m && item; ++i) item = TreeView_GetNextSibling(tree, item);
    if (k < 0 || !item) return item;
    item = TreeView_GetChild(tree, item);
    for (int i = 0; i < k && item; ++i) item = TreeView_GetNextSibling(tree, item);
    return item;
  }

  ProgramPlugins plugins;
};

TEST_F(PluginChooserTest, ListsModulesAndKindsAndAnswersTheChosenKind) {
  int adders = 0;
  for (BePluginModule* m = ProgramPluginList().head; m && wcscmp(m->fileName, L"adders.dll") != 0; m = m->next)
    ++adders;
  velktest::DialogAnswerer answerer(IDOK);
  std::vector<TreeItem> items;
  SIZE formSize = {}, buttonSize = {};
  int imageCount = -1, panelHeight = -1;
  bool saved = false;
  ChooserDriver driver([&](CBEPluginChooserForm* form, int step) {
    HWND tree = form->GetTree()->GetHandle();
    HWND create = FindButton(form->GetHandle(), L"Создать");
    if (step == 0) {
      items = ReadItems(tree, TreeView_GetRoot(tree));
      imageCount = form->GetTree()->GetImageList() ? form->GetTree()->GetImageList()->GetCount() : -1;
      RECT r;
      GetWindowRect(form->GetHandle(), &r);
      formSize = {r.right - r.left, r.bottom - r.top};
      GetWindowRect(create, &r);
      buttonSize = {r.right - r.left, r.bottom - r.top};
      RECT client, treeRect;
      GetClientRect(form->GetHandle(), &client);
      GetWindowRect(tree, &treeRect);
      MapWindowPoints(nullptr, form->GetHandle(), reinterpret_cast<POINT*>(&treeRect), 2);
      panelHeight = client.bottom - treeRect.bottom;
      // The second kind of "adders.dll".
      TreeView_Expand(tree, ItemOf(tree, adders, -1), TVE_EXPAND);
      TreeView_SelectItem(tree, ItemOf(tree, adders, 1));
      return true;
    }
    RedrawWindow(form->GetHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::wstring folder = BuildFolder() + L"screenshots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    saved = velktest::SaveWindowBitmap(form->GetHandle(), folder + L"plugin_chooser.bmp");
    PostMessageW(create, BM_CLICK, 0, 0);
    return false;
  });
  ASSERT_TRUE(driver.Ready());
  ASSERT_TRUE(ChoosePluginBlock());
  EXPECT_EQ(2, driver.Steps());
  EXPECT_TRUE(saved);
  EXPECT_EQ(500, formSize.cx);
  EXPECT_EQ(500, formSize.cy);
  EXPECT_EQ(100, buttonSize.cx);
  EXPECT_EQ(25, buttonSize.cy);
  EXPECT_EQ(45, panelHeight);
  EXPECT_EQ(2, imageCount);

  // One item per module in list order (newest loaded first), its kinds
  // under it in registration order.
  std::vector<std::wstring> modules;
  for (BePluginModule* m = ProgramPluginList().head; m; m = m->next) modules.push_back(m->fileName);
  ASSERT_EQ(modules.size(), items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(items[i].text);
    EXPECT_EQ(modules[i], items[i].text);
    EXPECT_EQ(0, items[i].image);
    BePluginModule* m = ProgramPluginList().FindModule(items[i].text.c_str());
    ASSERT_NE(nullptr, m);
    ASSERT_EQ(static_cast<size_t>(m->kindCount), items[i].children.size());
    for (int k = 0; k < m->kindCount; ++k) {
      EXPECT_EQ(m->kinds[k].name, items[i].children[static_cast<size_t>(k)].text);
      EXPECT_EQ(1, items[i].children[static_cast<size_t>(k)].image);
      EXPECT_EQ(static_cast<uint32_t>(k), items[i].children[static_cast<size_t>(k)].data);
    }
  }
  BePluginChoice choice = GetPluginChoice();
  EXPECT_EQ(ProgramPluginList().FindModule(L"adders.dll"), choice.module);
  EXPECT_EQ(0, answerer.Count());
  EXPECT_EQ(1, choice.kindIndex);
  EXPECT_EQ(nullptr, GetInitialisingPluginModule());
}

TEST_F(PluginChooserTest, AModuleItemIsRefusedWithAnErrorBox) {
  ChooserDriver driver([&](CBEPluginChooserForm* form, int) {
    HWND tree = form->GetTree()->GetHandle();
    TreeView_SelectItem(tree, ItemOf(tree, 1, -1));
    PostMessageW(FindButton(form->GetHandle(), L"Создать"), BM_CLICK, 0, 0);
    return false;
  });
  velktest::DialogAnswerer answerer(IDOK);
  EXPECT_FALSE(ChoosePluginBlock());
  EXPECT_EQ(1, driver.Steps());
  ASSERT_EQ(1, answerer.Count());
  EXPECT_EQ(L"Ошибка", answerer.Captions()[0]);
  EXPECT_EQ(L"Необходимо выбрать блок из какой-нибудь DLL-библиотеки", answerer.Texts()[0]);
  EXPECT_EQ(nullptr, GetPluginChoice().module);
}

TEST_F(PluginChooserTest, NoSelectionIsRefusedAndCancelChoosesNothing) {
  int adders = 0;
  for (BePluginModule* m = ProgramPluginList().head; m && wcscmp(m->fileName, L"adders.dll") != 0; m = m->next)
    ++adders;
  {
    ChooserDriver driver([&](CBEPluginChooserForm* form, int) {
      TreeView_SelectItem(form->GetTree()->GetHandle(), nullptr);
      PostMessageW(FindButton(form->GetHandle(), L"Создать"), BM_CLICK, 0, 0);
      return false;
    });
    velktest::DialogAnswerer answerer(IDOK);
    EXPECT_FALSE(ChoosePluginBlock());
    EXPECT_EQ(1, answerer.Count());
  }
  {
    ChooserDriver driver([&](CBEPluginChooserForm* form, int) {
      HWND tree = form->GetTree()->GetHandle();
      TreeView_SelectItem(tree, ItemOf(tree, adders, 0));
      PostMessageW(FindButton(form->GetHandle(), L"Отмена"), BM_CLICK, 0, 0);
      return false;
    });
    velktest::DialogAnswerer answerer(IDOK);
    EXPECT_FALSE(ChoosePluginBlock());
    EXPECT_EQ(1, driver.Steps());
    EXPECT_EQ(0, answerer.Count());
    EXPECT_EQ(nullptr, GetPluginChoice().module);
  }
}

}  // namespace
