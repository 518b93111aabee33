// A maximised form lies where a maximised overlapped window of the same
// frame lies: its caption and menu bar stay on the screen.
#include "kestui/forms_test_util.h"
#include "kestui/menus/kest_main_menu.h"

namespace {

using formtest::Form;
using formtest::FormsTest;

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

// The window rectangle of a maximised overlapped window with a caption, a
// sizing frame and a menu bar, as the system places it on this desktop.
RECT MaximisedOverlappedRect() {
  WNDCLASSW c = {};
  c.lpfnWndProc = PlainProc;
  c.hInstance = GetModuleHandleW(nullptr);
  c.lpszClassName = L"VelkMaximiseProbe";
  RegisterClassW(&c);
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 1, L"Файл");
  HWND window = CreateWindowExW(0, c.lpszClassName, L"Проба", WS_OVERLAPPEDWINDOW, 30, 30, 400, 300,
                                nullptr, bar, c.hInstance, nullptr);
  RECT r = {};
  if (window) {
    ShowWindow(window, SW_MAXIMIZE);
    GetWindowRect(window, &r);
    DestroyWindow(window);  // destroys the bar with it
  }
  UnregisterClassW(c.lpszClassName, c.hInstance);
  return r;
}

class FormMaximiseTest : public FormsTest {};

TEST_F(FormMaximiseTest, AMaximisedFormWithAMenuBarKeepsItsCaptionOnTheScreen) {
  RECT expected = MaximisedOverlappedRect();
  ASSERT_LT(expected.top, 0);  // only the frame lies outside the screen
  auto* menu = new CKestMainMenu(0);
  menu->AppendItem(menu->AppendSubMenu(L"Файл"), L"Выход", 100, 0, 0);
  auto* form = new Form;
  ASSERT_TRUE(form->Create(nullptr, L"Редактор схем и подключений", KestPos(40, 40), 640, 480, menu, true,
                           true, true, true));
  form->Show(true);
  velktest::FlushEvents();
  HWND window = form->GetHandle();
  ASSERT_TRUE(IsZoomed(window));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(formtest::Describe(expected), formtest::Describe(r));
  // Only the sizing frame is off the screen, above as on the left: the
  // caption bar begins at the screen's top.
  EXPECT_EQ(r.left, r.top);
  velktest::SaveScreenshot(window, L"maximised_form.bmp");

  // Restored, it goes back to where it was made.
  ShowWindow(window, SW_RESTORE);
  GetWindowRect(window, &r);
  EXPECT_EQ(formtest::Describe(40, 40, 680, 520), formtest::Describe(r));
}

// A form without a menu bar was placed right before: it stays where the
// system puts it.
TEST_F(FormMaximiseTest, AFormWithoutAMenuBarIsPlacedAsBefore) {
  auto* form = new Form;
  ASSERT_TRUE(form->Create(nullptr, L"Форма", KestPos(40, 40), 640, 480, nullptr, true, true, true, true));
  form->Show(true);
  velktest::FlushEvents();
  RECT r;
  GetWindowRect(form->GetHandle(), &r);
  RECT screen = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
  // Only the sizing frame lies outside the work area, on every side.
  int frame = -r.left;
  EXPECT_GT(frame, 0);
  EXPECT_EQ(-frame, r.top - screen.top);
  EXPECT_EQ(screen.right + frame, r.right);
  EXPECT_EQ(screen.bottom + frame, r.bottom);
}

}  // namespace
