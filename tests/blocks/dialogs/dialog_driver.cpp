#include "blocks/dialogs/dialog_driver.h"

namespace dialogtest {

void ExpectFrame(CBEPropertyForm* form, const wchar_t* caption, int width, int height,
                 const std::vector<std::wstring>& labels, int buttonWidth) {
  ASSERT_NE(nullptr, form);
  HWND window = form->GetHandle();
  ASSERT_NE(nullptr, MainKestForm);
  EXPECT_EQ(MainKestForm->GetHandle(), GetWindow(window, GW_OWNER));
  EXPECT_EQ(caption, velktest::WindowText(window));
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(width, rect.right - rect.left);
  EXPECT_EQ(height, rect.bottom - rect.top);
  int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ((screenW - width) / 2, rect.left) << "centred across";
  EXPECT_EQ((screenH - height) / 2, rect.top) << "centred down";
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "not sizeable";
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);

  ASSERT_EQ(static_cast<int>(labels.size()), form->GetRowCount());
  RECT client;
  GetClientRect(window, &client);
  int previousBottom = 0;
  for (int row = 0; row < form->GetRowCount(); ++row) {
    CKestControl* control = form->GetRowControl(row);
    ASSERT_NE(nullptr, control) << row;
    RECT field = velktest::RectIn(window, control->GetHandle());
    CKestLabel* label = form->GetRowLabel(row);
    if (label) {
      EXPECT_EQ(labels[row], Text(label)) << row;
      RECT text = velktest::RectIn(window, label->GetHandle());
      // Stacked over its control, or beside it (the label first).
      bool over = text.bottom <= field.top + 1 && text.left == field.left;
      bool beside = text.right <= field.left + 1 && text.top < field.bottom && text.bottom > field.top;
      EXPECT_TRUE(over || beside) << "label " << row << " over or beside its control";
      EXPECT_GE(text.top, previousBottom - 1) << "row " << row << " below the one before";
    } else {
      EXPECT_EQ(labels[row], Text(control)) << row;  // a group box carries its caption
      EXPECT_GE(field.top, previousBottom - 1) << row;
    }
    EXPECT_LE(field.right, client.right) << row;
    previousBottom = field.bottom;
  }
  CKestButton* ok = form->GetOkButton();
  CKestButton* cancel = form->GetCancelButton();
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(L"OK", Text(ok));
  EXPECT_EQ(L"Отмена", Text(cancel));
  EXPECT_EQ(1, ok->GetModalResult());
  EXPECT_EQ(2, cancel->GetModalResult());
  EXPECT_TRUE(GetWindowLongW(ok->GetHandle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
  RECT okRect = velktest::RectIn(window, ok->GetHandle());
  RECT cancelRect = velktest::RectIn(window, cancel->GetHandle());
  EXPECT_EQ(buttonWidth, okRect.right - okRect.left);
  EXPECT_EQ(25, okRect.bottom - okRect.top);
  EXPECT_EQ(buttonWidth, cancelRect.right - cancelRect.left);
  EXPECT_EQ(okRect.top, cancelRect.top) << "side by side";
  EXPECT_LT(okRect.right, cancelRect.left + 1);
  EXPECT_GE(okRect.top, previousBottom - 1) << "in the last row";
  EXPECT_LE(okRect.bottom, client.bottom) << "the buttons show whole";
  EXPECT_NEAR(client.right / 2, (okRect.left + cancelRect.right) / 2, 2) << "centred";
}

}  // namespace dialogtest
