// The small dialogs of the navigation drivers and detectors: the receiver
// driver's coordinate system (output names follow it, links stay), the
// strip detector's sub-name and the inertial driver's protocol name in the
// framework's input box.
#include <windows.h>

#include <string>
#include <vector>

#include "blocks/dialogs/dialog_driver.h"
#include "blocks/dialogs/input_box_steps.h"
#include "blocks/dialogs/navigation/navigation_dialogs.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/drivers/inertial_driver.h"
#include "blocks/library/geodesy/nav_controller.h"
#include "blocks/library/navigation/strip_detector.h"

namespace {

using dialogtest::InputBoxScript;
using dialogtest::RunInputBox;

using blocktest::Bench;
using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::Edit;
using dialogtest::List;
using dialogtest::RunDialog;
using dialogtest::Selected;
using dialogtest::Text;
using dialogtest::TypeInto;

class NavigationDialogTest : public DialogTest {};

std::wstring Name(const BeOutputPin* pin) { return pin && pin->name ? pin->name : L"<none>"; }
std::wstring Description(const BeOutputPin* pin) {
  return pin && pin->description ? pin->description : L"<none>";
}

struct SystemCase {
  int chosen;
  const wchar_t* name1;
  const wchar_t* description1;
};

TEST_F(NavigationDialogTest, NavControllerNamesItsOutputsAfterTheChosenSystem) {
  const SystemCase cases[] = {
      {0, L"x", L"Геоцентрическая координата X [м]"},
      {1, L"шир", L"Широта [рад]"},
      {2, L"шир", L"Широта [рад]"},
  };
  for (const SystemCase& c : cases) {
    SCOPED_TRACE(c.chosen);
    Bench bench;
    auto* nav = bench.Create<CBENavController>(kBeNavControllerClassId);
    auto* reader = bench.Create<CBEBlock>(kBeAbsClassId);
    ASSERT_TRUE(nav && reader);
    bench.LinkAnyway(nav, kNavPosition0, reader, 0);
    // Start from the system the case does not choose.
    nav->coordinateSystem = c.chosen == kBeNavGeocentric ? kBeNavWgs84 : kBeNavGeocentric;
    nav->SetOutputDescriptions();
    int shown = nav->coordinateSystem;
    EXPECT_TRUE(RunDialog(nav, [&](CBEPropertyForm* form) {
      dialogtest::ExpectFrame(form, nav->GetCaption(), 260, 120, {L"Система координат:"});
      EXPECT_EQ((std::vector<std::wstring>{L"Геоцентрическая XYZ", L"WGS-84", L"ПЗ-90.02"}),
                dialogtest::Items(List(form, 0)));
      EXPECT_EQ(shown, List(form, 0)->GetSelectedIndex());
      RECT rect;
      GetWindowRect(List(form, 0)->GetHandle(), &rect);
      EXPECT_EQ(220, rect.right - rect.left);
      EXPECT_EQ(List(form, 0)->GetHandle(), GetFocus());
      if (c.chosen == 1) {
        EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_nav_controller.bmp"));
      }
      dialogtest::Choose(List(form, 0), c.chosen);
    }));
    EXPECT_EQ(c.chosen, nav->coordinateSystem);
    EXPECT_EQ(c.name1, Name(nav->Output(kNavPosition0)));
    EXPECT_EQ(c.description1, Description(nav->Output(kNavPosition0)));
    EXPECT_EQ(nav->Output(kNavPosition0), reader->Input(0)->source) << "no link is touched";
  }
}

TEST_F(NavigationDialogTest, NavControllerCancelledKeepsTheSystem) {
  Bench bench;
  auto* nav = bench.Create<CBENavController>(kBeNavControllerClassId);
  ASSERT_NE(nullptr, nav);
  ASSERT_EQ(kBeNavWgs84, nav->coordinateSystem);
  for (Close close : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
    EXPECT_FALSE(RunDialog(nav, [&](CBEPropertyForm* form) { dialogtest::Choose(List(form, 0), 0); }, close));
    EXPECT_EQ(kBeNavWgs84, nav->coordinateSystem);
    EXPECT_EQ(L"Широта [рад]", Description(nav->Output(kNavPosition0)));
  }
}

// The form of the strip detector: its own caption, the explanation in a
// centred label of three lines, the sub-name edit without limit.
void ExpectStripForm(CBEPropertyForm* form) {
  dialogtest::ExpectFrame(form, L"Распознавание светоотпражающей полосы", 320, 220,
                          {L"Субназвание (если не задано, то любое):"}, 100);
  HWND window = form->GetHandle();
  CKestLabel* note = nullptr;
  for (HWND child : velktest::Children(window))
    if (auto* label = dynamic_cast<CKestLabel*>(GetControlFromHandle(child)))
      if (label != form->GetRowLabel(0)) note = label;
  ASSERT_NE(nullptr, note);
  EXPECT_EQ(L"Светоотражающая полоса задается в 3D Studio MAX с помощью объекта Shape. У объекта Shape должно "
            L"быть название\r\n*STRIP*субназвание*любые_символы.\r\nНапример: *STRIP*WHITE*01",
            Text(note));
  EXPECT_EQ(0, note->GetAlignment());
  RECT noteRect = velktest::RectIn(window, note->GetHandle());
  EXPECT_EQ(300, noteRect.right - noteRect.left);
  EXPECT_EQ(80, noteRect.bottom - noteRect.top);
  RECT editRect = velktest::RectIn(window, Edit(form, 0)->GetHandle());
  EXPECT_EQ(300, editRect.right - editRect.left);
  EXPECT_EQ(21, editRect.bottom - editRect.top);
  EXPECT_GE(velktest::RectIn(window, form->GetRowLabel(0)->GetHandle()).top, noteRect.bottom);
  EXPECT_TRUE(GetWindowLongW(Edit(form, 0)->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

struct SubNameCase {
  const wchar_t* before;  // null: absent
  const wchar_t* typed;
  Close close;
  bool answer;
  const wchar_t* after;  // null: absent
};

TEST_F(NavigationDialogTest, StripDetectorTakesTheSubNameOrAnyStrip) {
  const std::wstring longName(120, L'Ж');
  const SubNameCase cases[] = {
      {nullptr, L"WHITE", Close::kOk, true, L"WHITE"},
      {L"WHITE", L"", Close::kOk, true, nullptr},
      {L"WHITE", L"RED", Close::kCancel, false, L"WHITE"},
      {L"WHITE", L"RED", Close::kEscape, false, L"WHITE"},
      {nullptr, longName.c_str(), Close::kOk, true, longName.c_str()},
  };
  bool shot = false;
  for (const SubNameCase& c : cases) {
    SCOPED_TRACE(c.typed);
    Bench bench;
    // The detector is made from its catalogue entry.
    ASSERT_TRUE(bench.library.Offer(kBeStripDetectorClassId, L"Распознавание полосы", L"stripdetector.bmp"));
    auto* detector = bench.Create<CBEStripDetector>(kBeStripDetectorClassId);
    ASSERT_NE(nullptr, detector);
    ASSERT_TRUE(detector->SetSubName(c.before));
    EXPECT_EQ(c.answer, RunDialog(detector, [&](CBEPropertyForm* form) {
      ExpectStripForm(form);
      EXPECT_EQ(c.before ? c.before : L"", Text(Edit(form, 0)));
      if (!shot) shot = velktest::SaveScreenshot(form->GetHandle(), L"dialogs_strip_detector.bmp");
      TypeInto(Edit(form, 0), c.typed);
    }, c.close));
    if (c.after)
      EXPECT_STREQ(c.after, detector->GetSubName());
    else
      EXPECT_EQ(nullptr, detector->GetSubName());
  }
  EXPECT_TRUE(shot);
}

struct ProtocolCase {
  const wchar_t* typed;
  bool ok;
  bool answer;
  const wchar_t* stored;
};

TEST_F(NavigationDialogTest, InertialDriverAsksForTheProtocolName) {
  const ProtocolCase cases[] = {
      {L"UM7", true, true, L"UM7"},
      {L"", true, false, L"CHR-6dm"},
      {L"UM7", false, false, L"CHR-6dm"},
      {L"протокол 2", true, true, L"протокол 2"},
  };
  for (const ProtocolCase& c : cases) {
    SCOPED_TRACE(c.typed);
    Bench bench;
    auto* driver = bench.Create<CBEInertialDriver>(kBeInertialDriverClassId);
    ASSERT_NE(nullptr, driver);
    driver->SetCaption(L"ИНС 1");
    InputBoxScript script;
    script.typed = c.typed;
    script.ok = c.ok;
    EXPECT_EQ(c.answer, RunInputBox(driver, &script));
    EXPECT_EQ(L"ИНС 1", script.caption);
    EXPECT_EQ(L"Название протокола", script.prompt);
    EXPECT_EQ(L"CHR-6dm", script.initial);
    ASSERT_NE(nullptr, driver->protocolName);
    EXPECT_STREQ(c.stored, driver->protocolName);
  }
}

// Each dialog takes only its own class and shows nothing for another.
TEST_F(NavigationDialogTest, OtherBlocksAreRefusedWithoutAForm) {
  Bench bench;
  CBEBlock* other = bench.Create<CBEBlock>(kBeAbsClassId);
  ASSERT_NE(nullptr, other);
  int before = LiveForms.count;
  for (auto dialog : {ShowNavControllerDialog, ShowStripDetectorDialog, ShowInertialDriverDialog}) {
    EXPECT_FALSE(dialog(other));
    EXPECT_FALSE(dialog(nullptr));
  }
  EXPECT_EQ(before, LiveForms.count);
}

}  // namespace
