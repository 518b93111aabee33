// The main window shown maximised, as start-up shows it: only its sizing
// frame lies outside the desktop, so its caption (the document's name and
// the modified star) and its menu bar are on the screen.
#include "app/app_fixture.h"
#include "app/shell/main_form.h"
#include "support/test_support.h"

namespace {

class MainFormPlacementTest : public apptest::WindowsTest {};

TEST_F(MainFormPlacementTest, MaximisedItsCaptionIsOnTheScreen) {
  CMainForm* form = MakeMainForm();
  HWND window = form->GetHandle();
  form->Show(true);
  velktest::FlushEvents();
  ASSERT_TRUE(IsZoomed(window));
  RECT r;
  GetWindowRect(window, &r);
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // The frame is as thick above as on the left: nothing more is above the
  // work area.
  int frame = work.left - r.left;
  EXPECT_GT(frame, 0);
  EXPECT_EQ(work.top - frame, r.top);
  EXPECT_EQ(work.right + frame, r.right);
  EXPECT_EQ(work.bottom + frame, r.bottom);
  // The client area starts below the caption and the menu bar, inside the
  // work area.
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  EXPECT_GE(origin.y, work.top + GetSystemMetrics(SM_CYCAPTION));
  velktest::SaveScreenshot(window, L"main_window_maximised.bmp");
}

}  // namespace
