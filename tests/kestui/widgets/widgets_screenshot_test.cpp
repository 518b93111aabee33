// A picture of the widgets that no program form uses, in one form: a string
// grid with a merged header and an open cell editor, a rich edit, a date
// picker, two sliders and a percentage bar.
#include <windows.h>

#include <string>
#include <vector>

#include "kestui/forms_test_util.h"
#include "kestui/kest_test_widgets.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/lists/kest_combo_box.h"
#include "kestui/widgets/kest_date_picker.h"
#include "kestui/widgets/kest_percent_bar.h"
#include "kestui/widgets/kest_rich_edit.h"
#include "kestui/widgets/kest_slider.h"
#include "kestui/widgets/kest_string_grid.h"

using namespace formtest;

namespace {

std::wstring ScreenshotFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  std::wstring bin = exe.substr(0, exe.find_last_of(L"\\/"));
  return bin.substr(0, bin.find_last_of(L"\\/") + 1) + L"screenshots\\";
}

// A pixel of a window's client point in a saved bottom-up 24-bit BMP of the
// whole window.
COLORREF PixelIn(const std::vector<uint8_t>& bmp, HWND window, HWND inner, int x, int y) {
  RECT wr;
  GetWindowRect(window, &wr);
  POINT p = {x, y};
  ClientToScreen(inner, &p);
  int bx = p.x - wr.left, by = p.y - wr.top;
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (bmp.size() < 54 || bx < 0 || by < 0 || bx >= w || by >= h) return CLR_INVALID;
  size_t stride = ((w * 24 + 31) / 32) * 4;
  size_t at = 54 + (h - 1 - by) * stride + bx * 3;
  if (at + 3 > bmp.size()) return CLR_INVALID;
  return RGB(bmp[at + 2], bmp[at + 1], bmp[at]);
}

using WidgetsScreenshotTest = FormsTest;

TEST_F(WidgetsScreenshotTest, OneOfEachWidget) {
  Form* form = MakeForm(40, 40, 660, 430, nullptr, true);
  ASSERT_NE(nullptr, form->GetHandle());
  form->SetCaption(L"Виджеты Kest");
  const COLORREF formColor = RGB(212, 220, 232);
  form->SetBackColor(formColor);

  auto* grid = new CKestStringGrid(form, 1, KestPos(10, 10), 400, 200, 4, 8, 2);
  grid->SetColumnWidth(0, 70);
  grid->SetColumnWidth(1, 110);
  grid->SetColumnWidth(2, 90);
  grid->SetColumnWidth(3, 80);
  // Two header rows: "Элемент" and "Есть" span both, "Параметры" two columns.
  grid->SetCellSpan(0, 0, 1, 2);
  grid->SetCellSpan(1, 0, 2, 1);
  grid->SetCellSpan(3, 0, 1, 2);
  grid->SetCellText(0, 0, L"Элемент");
  grid->SetCellText(1, 0, L"Параметры");
  grid->SetCellText(3, 0, L"Есть");
  grid->SetCellText(1, 1, L"Модель");
  grid->SetCellText(2, 1, L"Номинал");
  for (int c = 0; c < 4; ++c) grid->SetColumnAlignment(c, KestGridAlignCenter);
  grid->SetColumnAlignment(2, KestGridAlignRight);
  grid->SetColumnEditor(1, KestGridEditorList, L"CF-25\nMF-25\nSMD 0805");
  grid->SetColumnEditor(3, KestGridEditorCheckBox, nullptr);
  const wchar_t* rows[][4] = {{L"R1", L"CF-25", L"10 кОм", L"1"}, {L"R2", L"MF-25", L"4,7 кОм", L"0"},
                              {L"C1", L"К10-17", L"100 нФ", L"1"}, {L"C2", L"К50-35", L"47 мкФ", L"1"},
                              {L"VD1", L"1N4148", L"—", L"0"},     {L"Q1", L"КТ315Б", L"—", L"1"}};
  for (int r = 0; r < 6; ++r) {
    for (int c = 0; c < 4; ++c) grid->SetCellText(c, r + 2, rows[r][c]);
  }
  grid->SetEditing(true);

  auto* rich = new CKestRichEdit(form, 2, KestPos(420, 10), 220, 200, false, true, true);
  rich->SetText(L"Схема робота «Велк-5»\r\nПлата управления: AVR, "
                L"драйвер L6205, датчики URM37.");
  rich->SetBackColor(RGB(255, 253, 240));

  auto* picker = new CKestDatePicker(form, 3, KestPos(10, 225), 160, 24);
  SYSTEMTIME day = {};
  day.wYear = 2026;
  day.wMonth = 12;
  day.wDay = 10;
  picker->SetDateTime(day);

  auto* slider = new CKestSlider(form, 4, KestPos(190, 222), 229, 32, false, false, 0, 10, 1);
  slider->SetSelection(2, 5);
  slider->SetValue(7);
  auto* vertical = new CKestSlider(form, 5, KestPos(600, 222), 32, 150, true, true, 0, 100, 10);
  vertical->SetValue(30);

  auto* bar = new CKestPercentBar(form, 6, KestPos(10, 270), 409, 22, 0, 250);
  bar->SetPosition(100);

  form->Show(false);
  kesttest::ActivateWindow(form->GetHandle());
  velktest::FlushEvents();
  // An open editor in the model column of the current row.
  grid->SelectCell(1, 3, false);
  ASSERT_TRUE(grid->BeginEdit());
  velktest::FlushEvents();
  RedrawWindow(form->GetHandle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  velktest::FlushEvents();

  std::wstring folder = ScreenshotFolder();
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring path = folder + L"kest_widgets.bmp";
  ASSERT_TRUE(velktest::SaveWindowBitmap(form->GetHandle(), path));
  std::vector<uint8_t> bmp = velktest::ReadWholeFile(path);

  HWND w = form->GetHandle();
  // The form's own colour between the widgets; the grid's header and
  // selected cells; the inverted start of the percentage bar.
  EXPECT_EQ(formColor, PixelIn(bmp, w, w, 415, 215));
  RECT cell;
  grid->GetCellRect(0, 1, &cell);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelIn(bmp, w, grid->GetHandle(), cell.left + 3, cell.top + 3));
  grid->GetCellRect(3, 0, &cell);
  EXPECT_EQ(Describe(270, 0, 350, 40), Describe(cell));  // over both header rows
  grid->GetCellRect(2, 4, &cell);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), PixelIn(bmp, w, grid->GetHandle(), cell.left + 2, cell.top + 2));
  // The editor shows the cell's entry.
  auto* combo = dynamic_cast<CKestComboBox*>(grid->GetEditor());
  ASSERT_NE(nullptr, combo);
  EXPECT_EQ(1, combo->GetSelectedIndex());
  EXPECT_EQ(RGB(255 - 212, 255 - 220, 255 - 232), PixelIn(bmp, w, bar->GetHandle(), 3, 3));
  EXPECT_EQ(RGB(255, 253, 240), PixelIn(bmp, w, rich->GetHandle(), 200, 180));
  EXPECT_EQ(RGB(255, 255, 255), PixelIn(bmp, w, slider->GetHandle(), slider->PixelOf(3), 9));
}

}  // namespace
