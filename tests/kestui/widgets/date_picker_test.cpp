// The date picker: its calendar colours and font, its date, and the change
// notification that the widget keeps and the form hears.
#include <windows.h>
#include <commctrl.h>

#include "kestui/widgets/kest_date_picker.h"
#include "widgets_fixture.h"

using namespace widgettest;

namespace {

using DatePickerTest = WidgetFormTest<400, 300>;

SYSTEMTIME Day(int year, int month, int day) {
  SYSTEMTIME t = {};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  return t;
}

TEST_F(DatePickerTest, CalendarColoursAndFont) {
  auto* picker = new CKestDatePicker(form, 31, KestPos(10, 10), 150, 22);
  ASSERT_NE(nullptr, picker->GetHandle());
  // The short date form: neither the long date nor the time.
  EXPECT_EQ(0, GetWindowLongW(picker->GetHandle(), GWL_STYLE) & (DTS_LONGDATEFORMAT | DTS_TIMEFORMAT));
  picker->SetBackColor(RGB(230, 240, 250));
  picker->SetTextColor(RGB(120, 0, 0));
  EXPECT_EQ(RGB(230, 240, 250), picker->GetBackColor());
  EXPECT_EQ(RGB(230, 240, 250),
            static_cast<COLORREF>(SendMessageW(picker->GetHandle(), DTM_GETMCCOLOR, MCSC_BACKGROUND, 0)));
  EXPECT_EQ(RGB(120, 0, 0),
            static_cast<COLORREF>(SendMessageW(picker->GetHandle(), DTM_GETMCCOLOR, MCSC_TEXT, 0)));

  CKestFont* font = new CKestFont(L"Verdana", -14);
  font->AddRef();
  picker->SetCalendarFont(font);
  EXPECT_EQ(2, font->GetRefCount());
  EXPECT_EQ(font, picker->GetCalendarFont());
  EXPECT_EQ(reinterpret_cast<LRESULT>(font->GetHandle()),
            SendMessageW(picker->GetHandle(), DTM_GETMCFONT, 0, 0));
  DestroyWindow(picker->GetHandle());  // the widget goes and lets the font go
  EXPECT_EQ(1, font->GetRefCount());
  font->Release();
}

TEST_F(DatePickerTest, DateAndChangeNotification) {
  auto* picker = new CKestDatePicker(form, 31, KestPos(10, 10), 150, 22);
  ASSERT_TRUE(picker->SetDateTime(Day(2024, 2, 28)));
  SYSTEMTIME shown = {};
  ASSERT_TRUE(picker->GetDateTime(&shown));
  EXPECT_EQ(2024, shown.wYear);
  EXPECT_EQ(2, shown.wMonth);
  EXPECT_EQ(28, shown.wDay);
  velktest::FlushEvents();
  EXPECT_EQ(0, form->Count(WM_NOTIFY));  // setting the date is quiet

  // The control reports a change to its parent: the widget keeps the date
  // and the form hears the notification too.
  NMDATETIMECHANGE change = {};
  change.nmhdr.hwndFrom = picker->GetHandle();
  change.nmhdr.idFrom = 31;
  change.nmhdr.code = DTN_DATETIMECHANGE;
  change.dwFlags = GDT_VALID;
  change.st = Day(2024, 2, 29);
  SendMessageW(form->GetHandle(), WM_NOTIFY, 31, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(1, picker->GetChangeCount());
  EXPECT_EQ(29, picker->GetChangedDateTime().wDay);
  ASSERT_EQ(1, form->Count(WM_NOTIFY));
  EXPECT_EQ(static_cast<UINT>(DTN_DATETIMECHANGE), form->seen.back().notifyCode);

  // The control's own notification, from a key in its field: it reaches
  // the widget reflected and then the form.
  kesttest::ActivateWindow(form->GetHandle());
  picker->SetFocus();
  SendMessageW(picker->GetHandle(), WM_KEYDOWN, VK_UP, 0);
  velktest::FlushEvents();
  ASSERT_GT(picker->GetChangeCount(), 1);
  int heard = 0;
  for (const auto& seen : form->seen) {
    heard += seen.message == WM_NOTIFY && seen.notifyCode == static_cast<UINT>(DTN_DATETIMECHANGE);
  }
  EXPECT_EQ(picker->GetChangeCount(), heard);
  SYSTEMTIME after = {};
  ASSERT_TRUE(picker->GetDateTime(&after));
  EXPECT_EQ(after.wYear, picker->GetChangedDateTime().wYear);
  EXPECT_EQ(after.wMonth, picker->GetChangedDateTime().wMonth);
  EXPECT_EQ(after.wDay, picker->GetChangedDateTime().wDay);
}

}  // namespace
