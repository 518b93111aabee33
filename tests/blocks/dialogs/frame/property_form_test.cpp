// The frame every block dialog is built on: its form and rows, how numbers
// are read back from its controls, and the shared type picker.
#include <cstdint>
#include <cwchar>

#include "blocks/dialogs/frame/data_type_dialog.h"
#include "blocks/dialogs/frame/property_form.h"
#include "blocks/dialogs/logic/logic_dialogs.h"
#include "blocks/dialogs/dialog_driver.h"
#include "foundation/numbers.h"

namespace {

using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::Drive;
using dialogtest::TypeInto;

class PropertyFormTest : public DialogTest {};

TEST_F(PropertyFormTest, RowsTakeTheStandardControlsAndSizes) {
  CBEPropertyForm* form = OpenPropertyForm(L"Проба", 260, 330);
  ASSERT_NE(nullptr, form);
  BePropertyFormScope scope(form);
  const wchar_t* items[] = {L"один", L"два"};
  CKestComboBox* list = form->AddListRow(L"Выбор:", items, 2, 1);
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalDouble, kBeSignalFloat);
  CKestSpinEdit* whole = form->AddIntegerRow(L"Целое:", 2, 127, 60, 500);
  CKestSpinEdit* real = form->AddRealRow(L"Вещественное:", -1, 1, 0.25);
  CKestEdit* text = form->AddTextRow(L"Текст:", 170, 31, L"abc");
  form->AddButtons();
  ASSERT_TRUE(list && types && whole && real && text);
  dialogtest::ExpectFrame(form, L"Проба", 260, 330,
                          {L"Выбор:", L"Тип данных:", L"Целое:", L"Вещественное:", L"Текст:"});
  HWND window = form->GetHandle();
  auto size = [window](CKestControl* c) {
    RECT r = velktest::RectIn(window, c->GetHandle());
    return std::make_pair(static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top));
  };
  EXPECT_EQ(120, size(list).first);
  EXPECT_FALSE(list->IsEditable());
  EXPECT_EQ(1, list->GetSelectedIndex());
  EXPECT_EQ(120, size(types).first);
  EXPECT_EQ((std::vector<std::wstring>{L"char", L"short", L"int", L"float", L"double"}), dialogtest::Items(types));
  EXPECT_EQ(3, types->GetSelectedIndex());
  EXPECT_EQ(std::make_pair(60, 22), size(whole));
  EXPECT_TRUE(whole->IsInteger());
  EXPECT_EQ(1, whole->GetStep());
  EXPECT_EQ(L"127", dialogtest::Text(whole)) << "shown clamped";
  EXPECT_EQ(std::make_pair(120, 22), size(real));
  EXPECT_FALSE(real->IsInteger());
  EXPECT_EQ(L"0.25", dialogtest::Text(real));
  EXPECT_EQ(std::make_pair(170, 21), size(text));
  EXPECT_EQ(31, static_cast<int>(SendMessageW(text->GetHandle(), EM_GETLIMITTEXT, 0, 0)));
  EXPECT_TRUE(GetWindowLongW(text->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(L"abc", dialogtest::Text(text));
  // A type outside the list selects nothing.
  CKestComboBox* none = form->AddTypeRow(L"Тип:", kBeSignalFloat, kBeSignalDouble, kBeSignalInt);
  EXPECT_EQ(-1, none->GetSelectedIndex());
  EXPECT_EQ(kBeSignalInt, SelectedListType(none, kBeSignalFloat, kBeSignalInt)) << "nothing chosen: kept";
  form->Show(false);
  velktest::FlushEvents();
  EXPECT_TRUE(velktest::SaveScreenshot(window, L"dialogs_frame_rows.bmp"));
}

TEST_F(PropertyFormTest, RowsStopAtTheLimitAndNeedAnOpenForm) {
  CBEPropertyForm closed;
  EXPECT_EQ(nullptr, closed.AddIntegerRow(L"x", 0, 1, 60, 0));
  EXPECT_EQ(0, closed.GetRowCount());
  CBEPropertyForm* form = OpenPropertyForm(L"Проба", 200, 170);
  ASSERT_NE(nullptr, form);
  BePropertyFormScope scope(form);
  for (int i = 0; i < CBEPropertyForm::kMaxRows; ++i) EXPECT_NE(nullptr, form->AddTextRow(L"t", 50, 0, L""));
  EXPECT_EQ(nullptr, form->AddTextRow(L"t", 50, 0, L"")) << "no row left";
  EXPECT_EQ(CBEPropertyForm::kMaxRows, form->GetRowCount());
  EXPECT_EQ(nullptr, form->GetRowControl(-1));
  EXPECT_EQ(nullptr, form->GetRowControl(CBEPropertyForm::kMaxRows));
}

TEST_F(PropertyFormTest, TextLinesStandCentredInRowsOfTheirOwnAboveTheRows) {
  CBEPropertyForm closed;
  EXPECT_EQ(nullptr, closed.AddTextLine(L"x"));
  EXPECT_EQ(0, closed.GetTextLineCount());
  CBEPropertyForm* form = OpenPropertyForm(L"Проба", 300, 260);
  ASSERT_NE(nullptr, form);
  BePropertyFormScope scope(form);
  const wchar_t* lines[] = {L"Короткая", L"Строка заметно длиннее первой"};
  for (const wchar_t* line : lines) ASSERT_NE(nullptr, form->AddTextLine(line));
  form->AddEmptyRow();
  CKestSpinEdit* edit = form->AddIntegerRow(L"Число:", 0, 10, 100, 5);
  form->AddButtons();
  ASSERT_NE(nullptr, edit);
  dialogtest::ExpectFrame(form, L"Проба", 300, 260, {L"Число:"});
  HWND window = form->GetHandle();
  RECT client;
  GetClientRect(window, &client);
  ASSERT_EQ(2, form->GetTextLineCount());
  RECT a = velktest::RectIn(window, form->GetTextLine(0)->GetHandle());
  RECT b = velktest::RectIn(window, form->GetTextLine(1)->GetHandle());
  EXPECT_EQ(L"Короткая", dialogtest::Text(form->GetTextLine(0)));
  EXPECT_LT(a.right - a.left, b.right - b.left) << "measured from the text";
  EXPECT_NEAR(client.right / 2, (a.left + a.right) / 2, 1);
  EXPECT_NEAR(client.right / 2, (b.left + b.right) / 2, 1);
  EXPECT_EQ(8, a.top) << "the first line at the top";
  EXPECT_EQ(a.bottom + 8, b.top) << "each line a row below the one before";
  RECT label = velktest::RectIn(window, form->GetRowLabel(0)->GetHandle());
  EXPECT_EQ(8, label.left) << "the rows stay at the left";
  EXPECT_EQ(b.bottom + 8 + 18 + 8, label.top) << "one empty row between";
  // Lines stop at the limit.
  for (int i = form->GetTextLineCount(); i < CBEPropertyForm::kMaxTextLines; ++i)
    EXPECT_NE(nullptr, form->AddTextLine(L"t"));
  EXPECT_EQ(nullptr, form->AddTextLine(L"t"));
  EXPECT_EQ(nullptr, form->GetTextLine(CBEPropertyForm::kMaxTextLines));
  EXPECT_EQ(nullptr, form->GetTextLine(-1));
}

// The number rules, through the controls the dialogs read.
struct IntegerCase {
  int minimum, maximum, shown;
  const wchar_t* typed;  // null: left as shown
  int expected;
};

TEST_F(PropertyFormTest, IntegerSpinEditsReadTheLeadingNumberClamped) {
  const IntegerCase cases[] = {
      {2, 127, 5, L"1", 2},    {2, 127, 5, L"500", 127}, {2, 127, 64, nullptr, 64},
      {1, 31, 5, L"abc", 1},   {0, 31, 5, L"12ab", 12},  {0, 31, 5, L" -3", 0},
      {1, 31, 40, nullptr, 31}, {0, 31, 5, L"", 0},
  };
  for (const IntegerCase& c : cases) {
    CBEPropertyForm* one = OpenPropertyForm(L"Числа", 200, 170);
    ASSERT_NE(nullptr, one);
    BePropertyFormScope own(one);
    CKestSpinEdit* edit = one->AddIntegerRow(L"n:", c.minimum, c.maximum, 100, c.shown);
    if (c.typed) TypeInto(edit, c.typed);
    EXPECT_EQ(c.expected, edit->GetIntValue()) << (c.typed ? c.typed : L"(unedited)");
  }
}

struct RealCase {
  const wchar_t* typed;  // null: left as shown
  double expected;
};

TEST_F(PropertyFormTest, RealSpinEditsParseWithTheMinimumAsDefaultClamped) {
  const RealCase cases[] = {
      {L"2,5", 2.5}, {L"1e30", 1e25}, {L"-1e30", -1e25}, {L"abc", -1e25}, {L"0.1", 0.1}, {nullptr, 0.125},
  };
  for (const RealCase& c : cases) {
    CBEPropertyForm* one = OpenPropertyForm(L"Числа", 200, 170);
    ASSERT_NE(nullptr, one);
    BePropertyFormScope own(one);
    CKestSpinEdit* edit = one->AddRealRow(L"x:", -1e25, 1e25, 0.125);
    if (c.typed) TypeInto(edit, c.typed);
    EXPECT_DOUBLE_EQ(c.expected, edit->GetValue()) << (c.typed ? c.typed : L"(unedited)");
  }
}

struct TextCase {
  const wchar_t* text;
  double real;     // ParseDouble, default 0
  int whole;       // ParseInt, default 0
  unsigned mask;   // ParseMaskText
};

TEST_F(PropertyFormTest, EditsReadNumbersByTheFoundationRules) {
  const TextCase cases[] = {
      {L"2,5", 2.5, 2, 2},          {L"abc", 0, 0, 0},         {L"-7x", -7, -7, static_cast<unsigned>(-7)},
      {L"1 000", 1000, 1, 1},       {L"", 0, 0, 0},            {L"0x00FF", 0, 0, 255},
      {L"0xFFFFF", 0, 0, 0xFFFFFu}, {L"0X10", 10, 0, 0},       {L"0xfg", 0, 0, 0},
      {L"99999999999", 99999999999.0, 0, 0}, {L"0x123456789", 123456789, 0, 0x23456789u},
  };
  for (const TextCase& c : cases) {
    EXPECT_DOUBLE_EQ(c.real, ParseDouble(c.text, 0.0, nullptr)) << c.text;
    EXPECT_EQ(c.whole, ParseInt(c.text, 0, nullptr)) << c.text;
    EXPECT_EQ(c.mask, ParseMaskText(c.text)) << c.text;
  }
}

TEST_F(PropertyFormTest, TheTypePickerAnswersOnlyANewType) {
  // Opens with the caption, its size, the list of the codes and the current
  // one selected, focused.
  int32_t type = kBeSignalShort;
  bool answer = Drive([&type] { return ShowDataTypeDialog(L"Модуль", &type, kBeSignalChar, kBeSignalDouble); },
                      [](CBEPropertyForm* form) {
                        dialogtest::ExpectFrame(form, L"Модуль", 260, 120, {L"Тип данных:"});
                        CKestComboBox* list = dialogtest::List(form, 0);
                        ASSERT_NE(nullptr, list);
                        EXPECT_EQ(L"short", dialogtest::Selected(list));
                        EXPECT_EQ(5, list->GetCount());
                        EXPECT_EQ(list->GetHandle(), GetFocus());
                        EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_type_picker.bmp"));
                        list->SetSelectedIndex(3);
                      },
                      Close::kOk);
  EXPECT_TRUE(answer);
  EXPECT_EQ(kBeSignalFloat, type);
  // "OK" on the same type.
  EXPECT_FALSE(Drive([&type] { return ShowDataTypeDialog(L"Модуль", &type, kBeSignalChar, kBeSignalDouble); },
                     nullptr, Close::kOk));
  EXPECT_EQ(kBeSignalFloat, type);
  // Every way out but "OK" answers false after a change.
  for (Close close : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
    EXPECT_FALSE(Drive([&type] { return ShowDataTypeDialog(L"Модуль", &type, kBeSignalChar, kBeSignalDouble); },
                       [](CBEPropertyForm* form) { dialogtest::List(form, 0)->SetSelectedIndex(0); }, close));
    EXPECT_EQ(kBeSignalFloat, type);
  }
  // Nothing is shown for a range the wrong way round or no argument.
  int before = LiveForms.count;
  EXPECT_FALSE(ShowDataTypeDialog(L"x", &type, kBeSignalDouble, kBeSignalChar));
  EXPECT_FALSE(ShowDataTypeDialog(L"x", nullptr, kBeSignalChar, kBeSignalDouble));
  EXPECT_EQ(before, LiveForms.count);
  EXPECT_EQ(kBeSignalFloat, type);
}

}  // namespace
