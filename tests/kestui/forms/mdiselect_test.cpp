// The window list of an MDI frame with many children: "More windows" lists
// every child in z-order and activates the one double-clicked; Esc cancels.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/buffers.h"
#include "kestui/forms/kest_mdi_child_form.h"
#include "kestui/forms/kest_mdiselect.h"
#include "kestui/forms/kest_navigation.h"
#include "support/test_support.h"

namespace {

// What the test does inside the list's modal loop once it is active.
struct ListProbe {
  int choose = -1;  // item to double-click; -1: press Esc
  int activations = 0;
  std::wstring caption;
  std::vector<std::wstring> items;
};
ListProbe* g_probe = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_probe && g_probe->activations == 0) {
    auto* form = dynamic_cast<CMDISelectForm*>(GetControlFromHandle(reinterpret_cast<HWND>(wParam)));
    if (form) {
      ++g_probe->activations;
      wchar_t caption[64] = {};
      GetWindowTextW(form->GetHandle(), caption, 64);
      g_probe->caption = caption;
      CKestListBox* list = form->GetListBox();
      for (int i = 0; list && i < list->GetCount(); ++i) {
        wchar_t* text = list->CopyItemText(i);
        g_probe->items.push_back(text ? text : L"");
        FreeBuffer(text);
      }
      if (list && g_probe->choose >= 0) {
        SendMessageW(list->GetHandle(), LB_SETCURSEL, static_cast<WPARAM>(g_probe->choose), 0);
        RECT item = {};
        SendMessageW(list->GetHandle(), LB_GETITEMRECT, static_cast<WPARAM>(g_probe->choose),
                     reinterpret_cast<LPARAM>(&item));
        PostMessageW(list->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2));
      } else if (list) {
        PostMessageW(list->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
      }
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

class MDISelectTest : public ::testing::Test {
protected:
  void SetUp() override {
    frame = new CKestForm;
    ASSERT_TRUE(frame->Create(nullptr, L"Velkboard", KestPos(20, 20), 700, 500, nullptr, true, true,
                              true, true));
    frameWindow = frame->GetHandle();
    ASSERT_TRUE(frame->CreateMDIClient());
    frame->Show(false);
    for (int i = 1; i <= 12; ++i) {
      auto* child = new CKestMDIChildForm;
      std::wstring caption = L"Схема " + std::to_wstring(i);
      ASSERT_TRUE(child->Create(frame, caption.c_str(), true, true, KEST_POS_FLOW, 200, 150));
    }
    velktest::FlushEvents();
    g_probe = &probe;
    g_hook = SetWindowsHookExW(WH_CBT, ProbeHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, g_hook);
  }
  void TearDown() override {
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_probe = nullptr;
    if (IsWindow(frameWindow)) DestroyWindow(frameWindow);
    velktest::FlushEvents();
  }
  std::wstring Caption(CKestControl* control) {
    wchar_t text[64] = {};
    if (control) GetWindowTextW(control->GetHandle(), text, 64);
    return text;
  }

  CKestForm* frame = nullptr;
  HWND frameWindow = nullptr;
  ListProbe probe;
};

}  // namespace

TEST_F(MDISelectTest, MoreWindowsListsEveryChildAndActivatesTheChosenOne) {
  ASSERT_EQ(12, frame->GetMDIChildCount());
  std::vector<std::wstring> zOrder;
  for (int i = 0; i < 12; ++i) zOrder.push_back(Caption(frame->GetMDIChildAt(i)));
  CKestControl* fifth = frame->GetMDIChildAt(4);
  ASSERT_NE(fifth, frame->GetActiveMDIChild());

  probe.choose = 4;
  SendMessageW(frameWindow, WM_COMMAND, CKestForm::MoreWindowsId, 0);
  velktest::FlushEvents();

  EXPECT_EQ(1, probe.activations);
  EXPECT_EQ(L"MDI-окна", probe.caption);
  EXPECT_EQ(zOrder, probe.items);
  EXPECT_EQ(fifth, frame->GetActiveMDIChild());
  // The list is gone and the frame works again.
  EXPECT_TRUE(IsWindowEnabled(frameWindow));
  EXPECT_EQ(nullptr, FindWindowW(nullptr, L"MDI-окна"));
}

TEST_F(MDISelectTest, EscapeLeavesTheActiveChild) {
  CKestControl* active = frame->GetActiveMDIChild();
  ASSERT_NE(nullptr, active);
  probe.choose = -1;
  SendMessageW(frameWindow, WM_COMMAND, CKestForm::MoreWindowsId, 0);
  velktest::FlushEvents();
  EXPECT_EQ(1, probe.activations);
  EXPECT_EQ(12u, probe.items.size());
  EXPECT_EQ(active, frame->GetActiveMDIChild());
  EXPECT_TRUE(IsWindowEnabled(frameWindow));
}

TEST_F(MDISelectTest, EnterPicksTheSelectedWindowOnlyWithASelection) {
  int index = -1;
  auto* form = new CMDISelectForm(frame, &index);
  HWND window = form->GetHandle();
  ASSERT_NE(nullptr, window);
  HWND list = form->GetListBox()->GetHandle();
  EXPECT_EQ(12, form->GetListBox()->GetCount());
  // The list fills the form: there is nothing else in it.
  RECT client, listRect;
  GetClientRect(window, &client);
  GetWindowRect(list, &listRect);
  EXPECT_EQ(client.right - client.left, listRect.right - listRect.left);
  // A list box keeps whole rows, so it may end up to one row short.
  int rowHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  EXPECT_LE(listRect.bottom - listRect.top, client.bottom - client.top);
  EXPECT_GT(listRect.bottom - listRect.top, client.bottom - client.top - rowHeight);

  // Enter goes through the keyboard step of the message loops, as typed.
  MSG enter = {};
  enter.hwnd = list;
  enter.message = WM_KEYDOWN;
  enter.wParam = VK_RETURN;
  form->GetListBox()->SetSelectedIndex(-1);
  PreTranslateKeyMessage(&enter);
  EXPECT_EQ(-1, index);
  form->GetListBox()->SetSelectedIndex(7);
  PreTranslateKeyMessage(&enter);
  EXPECT_EQ(7, index);
  velktest::FlushEvents();
  EXPECT_FALSE(IsWindow(window));
}
