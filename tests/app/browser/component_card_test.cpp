// The component card of a capacitor's or quartz crystal's Edit: Velkboard's
// host shows the component viewer "Свойства" over the main form, modally,
// with the part's description and picture.
#include <windows.h>

#include <string>

#include "app/app_fixture.h"
#include "app/browser/browser_fixture.h"
#include "app/browser/component_viewer.h"
#include "app/shell/velkboard_host.h"
#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/discrete/quartz.h"

namespace {

using browsertest::WindowText;

class CardTest : public apptest::WindowsTest {
protected:
  void SetUp() override {
    WindowsTest::SetUp();
    main = new CKestForm;
    ASSERT_TRUE(main->Create(nullptr, L"Главное окно", KEST_POS_FLOW, 400, 300, nullptr, true, true,
                             true, true));
    main->Show(false);
    velktest::FlushEvents();
  }

  // What the card showed while its modal loop ran; it is closed with Esc.
  struct Seen {
    HWND window = nullptr;
    HWND owner = nullptr;
    bool mainDisabled = false;
    std::wstring text;
    bool hasPicture = false;
  };
  Seen EditAndLook(CSCHBlock* part, bool screenshot) {
    Seen seen;
    browsertest::LoopProbe probe([&] {
      seen.window = FindWindowW(KestMainClassName, L"Свойства");
      if (!seen.window) return;
      seen.owner = GetWindow(seen.window, GW_OWNER);
      seen.mainDisabled = !IsWindowEnabled(main->GetHandle());
      auto* viewer = dynamic_cast<CComponentViewer*>(GetControlFromHandle(seen.window));
      if (viewer) {
        seen.text = WindowText(viewer->GetTextLabel()->GetHandle());
        seen.hasPicture = viewer->GetPicture() != nullptr;
        if (screenshot) {
          RedrawWindow(seen.window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
          velktest::FlushEvents();
          EXPECT_TRUE(velktest::SaveScreenshot(seen.window, L"component_card.bmp"));
        }
      }
      PostMessageW(seen.window, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    probe.Post();
    EXPECT_FALSE(part->Edit());
    EXPECT_TRUE(probe.Ran());
    return seen;
  }

  CKestForm* main = nullptr;
  CVelkboardHost host;
  CSchemeHostScope hostScope{&host};
};

TEST_F(CardTest, ACapacitorsEditShowsItsCardOverTheMainForm) {
  // The picture of the sample database.
  browsertest::DatabaseFolders folders(browsertest::SampleDatabaseFolder());
  CCapacitor c;
  c.kind = kElecCapacitorElectrolytic;
  c.capacitance = 1e-4f;
  c.ratedVoltage = 16;
  c.price = 12;
  Seen seen = EditAndLook(&c, true);
  ASSERT_NE(nullptr, seen.window);
  EXPECT_EQ(main->GetHandle(), seen.owner);
  EXPECT_TRUE(seen.mainDisabled);
  EXPECT_EQ(L"Электролитический конденсатор 100.0мкф, 16в. Цена 12.00 руб.", seen.text);
  EXPECT_TRUE(seen.hasPicture);
  // The card is gone and the main form usable again; nothing changed.
  EXPECT_FALSE(IsWindow(seen.window));
  EXPECT_EQ(1, LiveForms.count);
  EXPECT_TRUE(IsWindowEnabled(main->GetHandle()));
  EXPECT_EQ(16.0f, c.ratedVoltage);
}

TEST_F(CardTest, AQuartzCardWithoutItsPictureStillShows) {
  browsertest::TestDatabase db;  // no "quartz.jpg"
  CQuartz q;
  q.frequency = 1.8432f;
  Seen seen = EditAndLook(&q, false);
  ASSERT_NE(nullptr, seen.window);
  EXPECT_EQ(main->GetHandle(), seen.owner);
  EXPECT_EQ(L"Кварцевый резонатор HC-49U на 1.843МГц. Цена 59.00 руб.", seen.text);
  EXPECT_FALSE(seen.hasPicture);
  EXPECT_FALSE(IsWindow(seen.window));
  EXPECT_EQ(1, LiveForms.count);
}

TEST_F(CardTest, TheSampleDatabaseHoldsEveryCardPicture) {
  browsertest::DatabaseFolders folders(browsertest::SampleDatabaseFolder());
  CCapacitor c;
  for (int kind : {kElecCapacitorCeramic, kElecCapacitorElectrolytic, kElecCapacitorChip}) {
    c.kind = kind;
    wchar_t text[kElecCapacitorCardChars];
    const wchar_t* picture = nullptr;
    c.GetCardText(text, kElecCapacitorCardChars, &picture);
    ASSERT_NE(nullptr, picture);
    CComponentViewer* viewer = new CComponentViewer(nullptr, text, picture);
    EXPECT_NE(nullptr, viewer->GetPicture()) << kind;
    delete viewer;
  }
  CComponentViewer* viewer = new CComponentViewer(nullptr, L"", L"quartz.jpg");
  EXPECT_NE(nullptr, viewer->GetPicture());
  delete viewer;
}

}  // namespace
