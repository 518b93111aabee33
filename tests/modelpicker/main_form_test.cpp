// The form "Выбор модели": layout, filling from the sample database,
// parameters, options, sorting, preselection and the preview.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "kestui/containers/kest_h_splitter.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"
#include "modelpicker/script_export.h"
#include "picker_fixture.h"
#include "support/compdb_form_checks.h"

namespace {

using pickertest::Ansi;
using pickertest::ExeFolder;
using pickertest::LoadNamedTables;
using pickertest::PickerFormTest;
using pickertest::TestDatabase;

using velktest::Children;
using velktest::RectIn;

class PickerSampleTest : public PickerFormTest {
protected:
  void SetUp() override {
    PickerFormTest::SetUp();
    InitDatabasePathsFrom(ExeFolder());
    ParseCommandLine(L"servo;resisters;batteries;нет_такой", &state);
    LoadTables(&state);
  }
  PickerState state;
};

TEST_F(PickerSampleTest, Layout) {
  CMainForm* form = OpenForm(&state);
  HWND window = form->GetHandle();
  velktest::ExpectChooserFrame(window, 1020);

  // The form: left panel, vertical splitter, right panel.
  HWND left = nullptr, right = nullptr;
  ASSERT_NO_FATAL_FAILURE(velktest::ExpectChooserPanels(window, &left, &right));

  // Left: header, type list (150 high), splitter, header, model list.
  std::vector<HWND> inLeft = Children(left);
  ASSERT_EQ(5u, inLeft.size());
  EXPECT_EQ(L"Тип", WindowText(inLeft[0]));
  EXPECT_EQ(form->GetTypeList()->GetHandle(), inLeft[1]);
  EXPECT_NE(nullptr, dynamic_cast<CKestHSplitter*>(GetControlFromHandle(inLeft[2])));
  EXPECT_EQ(L"Модель", WindowText(inLeft[3]));
  EXPECT_EQ(form->GetModelList()->GetHandle(), inLeft[4]);
  RECT h1 = RectIn(left, inLeft[0]), types = RectIn(left, inLeft[1]);
  RECT split = RectIn(left, inLeft[2]), h2 = RectIn(left, inLeft[3]);
  EXPECT_EQ(20, h1.bottom - h1.top);
  EXPECT_EQ(h1.bottom, types.top);
  // 150 pixels asked for the list; the system list box keeps to whole rows,
  // so it may come out up to one row lower.
  int rowHeight = static_cast<int>(SendMessageW(inLeft[1], LB_GETITEMHEIGHT, 0, 0));
  EXPECT_LE(types.bottom - types.top, 150);
  EXPECT_GT(types.bottom - types.top, 150 - rowHeight);
  EXPECT_LE(types.bottom, split.top);
  EXPECT_LE(split.top - types.top, 150);
  EXPECT_EQ(split.bottom, h2.top);
  EXPECT_EQ(20, h2.bottom - h2.top);
  EXPECT_FALSE(GetWindowLongW(inLeft[1], GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  // The model list waits, hidden, for a type.
  EXPECT_FALSE(IsWindowVisible(inLeft[4]));
  LONG listStyle = GetWindowLongW(inLeft[4], GWL_STYLE);
  EXPECT_EQ(LVS_REPORT, listStyle & LVS_TYPEMASK);
  EXPECT_TRUE(listStyle & LVS_SINGLESEL);
  EXPECT_TRUE(listStyle & LVS_SHOWSELALWAYS);
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(inLeft[4]) & LVS_EX_FULLROWSELECT);

  // Headers: white bold Verdana on grey, centred.
  for (HWND header : {inLeft[0], inLeft[3]}) velktest::ExpectHeadingBar(header);

  // Right: header, preview (120 high), splitter, bottom panel, parameters.
  std::vector<HWND> inRight = Children(right);
  ASSERT_EQ(5u, inRight.size());
  EXPECT_EQ(L"Параметры", WindowText(inRight[0]));
  EXPECT_EQ(form->GetPreview()->GetHandle(), inRight[1]);
  EXPECT_NE(nullptr, dynamic_cast<CKestHSplitter*>(GetControlFromHandle(inRight[2])));
  EXPECT_EQ(form->GetParameterPanel()->GetHandle(), inRight[4]);
  RECT rh = RectIn(right, inRight[0]), preview = RectIn(right, inRight[1]);
  RECT rs = RectIn(right, inRight[2]), bottom = RectIn(right, inRight[3]);
  RECT params = RectIn(right, inRight[4]);
  EXPECT_EQ(20, rh.bottom - rh.top);
  EXPECT_EQ(rh.bottom, preview.top);
  EXPECT_EQ(120, preview.bottom - preview.top);
  EXPECT_EQ(preview.bottom, rs.top);
  EXPECT_EQ(45, bottom.bottom - bottom.top);
  EXPECT_EQ(rs.bottom, params.top);
  EXPECT_EQ(bottom.top, params.bottom);
  EXPECT_TRUE(GetWindowLongW(inRight[4], GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(0, static_cast<CKestPanel*>(GetControlFromHandle(inRight[3]))->GetBevel());

  // The button: default, id 1001, 100 x 25, closes nothing by itself.
  HWND button = form->GetChooseButton()->GetHandle();
  EXPECT_EQ(inRight[3], GetParent(button));
  EXPECT_EQ(L"Выбрать", WindowText(button));
  EXPECT_EQ(kPickerChooseButtonId, GetDlgCtrlID(button));
  EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK);
  RECT b = RectIn(inRight[3], button);
  EXPECT_EQ(100, b.right - b.left);
  EXPECT_EQ(25, b.bottom - b.top);
  EXPECT_EQ(0, form->GetChooseButton()->GetModalResult());
}

TEST_F(PickerSampleTest, OpensEmptyWithoutAModel) {
  CMainForm* form = OpenForm(&state);
  CKestListBox* types = form->GetTypeList();
  ASSERT_EQ(4, types->GetCount());
  const wchar_t* captions[] = {L"Сервоприводы", L"Резисторы постоянные", L"Аккумуляторы",
                               L"Ошибка таблицы"};
  for (int i = 0; i < 4; ++i) {
    wchar_t* text = types->CopyItemText(i);
    EXPECT_EQ(std::wstring(captions[i]), text ? text : L"");
    FreeBuffer(text);
  }
  EXPECT_EQ(-1, types->GetSelectedIndex());
  EXPECT_FALSE(IsWindowVisible(form->GetModelList()->GetHandle()));
  EXPECT_TRUE(form->GetParameterRows().empty());
  EXPECT_EQ(nullptr, GetWindow(form->GetParameterPanel()->GetHandle(), GW_CHILD));
  EXPECT_EQ(nullptr, form->GetSelectedRecord());
}

TEST_F(PickerSampleTest, FillsTheModelListOfTheClickedType) {
  CMainForm* form = OpenForm(&state);
  HWND list = form->GetModelList()->GetHandle();
  HWND header = ListView_GetHeader(list);

  ClickType(form, 0);
  EXPECT_TRUE(IsWindowVisible(list));
  // Column 0 and the columns with a width: "Класс" and "Картинка" are 0.
  ASSERT_EQ(9, Header_GetItemCount(header));
  const wchar_t* servoColumns[] = {L"Модель", L"Производитель", L"Момент, кг*см",
                                   L"Скорость, с/60°", L"Напряжение, В", L"Редуктор",
                                   L"Масса, г", L"Цена, руб.", L"Описание"};
  const int servoWidths[] = {120, 110, 100, 110, 100, 150, 70, 90, 220};
  for (int c = 0; c < 9; ++c) {
    wchar_t text[64] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = text;
    column.cchTextMax = 64;
    ASSERT_TRUE(ListView_GetColumn(list, c, &column));
    EXPECT_STREQ(servoColumns[c], text);
    EXPECT_EQ(servoWidths[c], column.cx);
    EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK);
  }
  ASSERT_EQ(4, ListView_GetItemCount(list));
  for (int r = 0; r < 4; ++r) EXPECT_EQ(static_cast<LPARAM>(r), form->GetModelList()->GetItemData(r));
  EXPECT_EQ(L"SG90", RowText(form, 0, 0));
  EXPECT_EQ(L"пластик", RowText(form, 0, 5));  // the option's first choice
  EXPECT_EQ(L"180.00", RowText(form, 0, 7));   // a price formula
  EXPECT_EQ(L"Микро, \"9 г\"", RowText(form, 0, 8));
  EXPECT_EQ(L"1320.00", RowText(form, 2, 7));  // (1000 + 100) * 1.2
  EXPECT_EQ(-1, ListView_GetNextItem(list, -1, LVNI_SELECTED));

  // Another type: the columns and rows are replaced.
  ClickType(form, 1);
  ASSERT_EQ(6, Header_GetItemCount(header));
  ASSERT_EQ(4, ListView_GetItemCount(list));
  EXPECT_EQ(L"МЛТ-0,25 2,4 кОм", RowText(form, 0, 0));
  EXPECT_EQ(L"кОм", RowText(form, 0, 2));  // the column's own choices
  EXPECT_EQ(L"МОм", RowText(form, 2, 2));
  EXPECT_EQ(L"0.50", RowText(form, 0, 5));  // option 1 at its first choice

  // Arrow keys move the selection without a click: the key's release
  // refills the list.
  form->GetTypeList()->SetSelectedIndex(0);
  SendMessageW(form->GetHandle(), WM_KEST_KEYUP, VK_UP,
               reinterpret_cast<LPARAM>(form->GetTypeList()->GetHandle()));
  EXPECT_EQ(9, Header_GetItemCount(header));
  EXPECT_EQ(L"SG90", RowText(form, 0, 0));

  // A table that could not be read: no columns but the first, no rows.
  ClickType(form, 3);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(0, ListView_GetItemCount(list));
  EXPECT_EQ(nullptr, form->GetSelectedRecord());
}

TEST_F(PickerSampleTest, SelectingAModelBuildsItsParameters) {
  CMainForm* form = OpenForm(&state);
  ClickType(form, 0);
  SelectRow(form, 0);
  CompDbRecord* record = form->GetSelectedRecord();
  ASSERT_EQ(state.GetTable(0)->GetRecord(0), record);

  const auto& rows = form->GetParameterRows();
  // Every column, hidden ones too: the 11 the picker shows or exports and
  // the 9 hidden ones the servo component reads.
  ASSERT_EQ(20u, rows.size());
  HWND panel = form->GetParameterPanel()->GetHandle();
  EXPECT_EQ(40u, Children(panel).size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    // Label and value in place; a read-only value an edit 21 high on the
    // button-face colour, with a sunken edge.
    velktest::ExpectParameterRowPlace(panel, rows[i], static_cast<int>(i));
    if (rows[i].edit) {
      EXPECT_TRUE(GetWindowLongW(rows[i].edit->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    }
  }
  EXPECT_EQ(L"Модель:", WindowText(rows[0].label->GetHandle()));
  EXPECT_EQ(L"SG90", ValueText(rows[0]));
  EXPECT_EQ(L"Картинка:", WindowText(rows[10].label->GetHandle()));
  EXPECT_EQ(L"sg90.png", ValueText(rows[10]));
  EXPECT_EQ(L"Угол, град:", WindowText(rows[16].label->GetHandle()));
  EXPECT_EQ(L"90", ValueText(rows[16]));
  EXPECT_EQ(L"180.00", ValueText(rows[7]));

  // The gear column is an option: a drop-down list with its choices.
  ASSERT_NE(nullptr, rows[5].combo);
  EXPECT_EQ(nullptr, rows[5].edit);
  EXPECT_EQ(kCompDbOptionComboId, GetDlgCtrlID(rows[5].combo->GetHandle()));
  EXPECT_EQ(2, rows[5].combo->GetOptionKey());
  ASSERT_EQ(2, rows[5].combo->GetCount());
  EXPECT_EQ(0, rows[5].combo->GetSelectedIndex());
  EXPECT_EQ(L"пластик", ValueText(rows[5]));
  EXPECT_EQ(1, rows[5].combo->GetItemData(1));

  // The picture of the model is loaded; the scroll range covers the rows.
  ASSERT_NE(nullptr, form->GetPicture());
  EXPECT_GE(form->GetParameterPanel()->GetVertRange(), 4 + 25 * 10 + 21);

  // A model without a picture, and one whose picture file is missing.
  SelectRow(form, 3);
  EXPECT_EQ(state.GetTable(0)->GetRecord(3), form->GetSelectedRecord());
  EXPECT_EQ(nullptr, form->GetPicture());
  EXPECT_EQ(L"HS-422", ValueText(form->GetParameterRows()[0]));
  ClickType(form, 2);
  EXPECT_TRUE(form->GetParameterRows().empty());
  SelectRow(form, 2);
  EXPECT_EQ(Ansi(L"СА-12-7"), form->GetSelectedRecord()->GetCell(0));
  EXPECT_EQ(nullptr, form->GetPicture());
  EXPECT_EQ(14u, form->GetParameterRows().size());
}

TEST_F(PickerSampleTest, AnOptionChangeUpdatesFormulasAndTheOptionsLine) {
  CMainForm* form = OpenForm(&state);
  ClickType(form, 0);
  SelectRow(form, 0);
  const auto& rows = form->GetParameterRows();
  ASSERT_NE(nullptr, rows[5].combo);
  HWND combo = rows[5].combo->GetHandle();
  HWND priceEdit = rows[7].edit->GetHandle();
  HWND combosBefore = combo;

  SendMessageW(combo, CB_SETCURSEL, 1, 0);
  SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(kCompDbOptionComboId, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(combo));
  velktest::FlushEvents();
  EXPECT_EQ(L"320.00", WindowText(priceEdit));
  EXPECT_EQ(combosBefore, form->GetParameterRows()[5].combo->GetHandle());  // not rebuilt
  CompDbRecord* record = form->GetSelectedRecord();
  EXPECT_STREQ("2:1;", record->FormatOptions());
  std::string script = FormatScript(form->GetSelectedTable(), record);
  EXPECT_NE(std::string::npos, script.find("$.options = \"2:1;\"\n"));
  EXPECT_NE(std::string::npos, script.find("$.price = 320.000000\n"));

  // The choice stays with the record: selecting it again shows it.
  SelectRow(form, 1);
  SelectRow(form, 0);
  EXPECT_EQ(L"металл", ValueText(form->GetParameterRows()[5]));
  EXPECT_EQ(L"320.00", ValueText(form->GetParameterRows()[7]));
}

TEST_F(PickerSampleTest, SortingKeepsRowsAndExportTogether) {
  velktest::TempFolder folder;
  state.outputPath = folder.File(L"out.ms");
  CMainForm* form = OpenForm(&state);
  ClickType(form, 0);
  HWND list = form->GetModelList()->GetHandle();
  CompDbTable* table = state.GetTable(0);

  auto clickColumn = [&](int column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(GetParent(list), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    velktest::FlushEvents();
  };
  // Every row still shows its own record's texts.
  auto checkRows = [&]() {
    for (int r = 0; r < 4; ++r) {
      uint32_t data = form->GetModelList()->GetItemData(r);
      ASSERT_LT(data, 4u);
      CompDbRecord* record = table->GetRecord(static_cast<int>(data));
      EXPECT_EQ(pickertest::Ansi(RowText(form, r, 0).c_str()), record->GetCell(0));
      EXPECT_EQ(pickertest::Ansi(RowText(form, r, 2).c_str()), record->GetText(2));
    }
  };

  clickColumn(2);  // torque: "1.8" "11" "20" "3.3" as texts
  EXPECT_EQ(L"SG90", RowText(form, 0, 0));
  EXPECT_EQ(L"MG996R", RowText(form, 1, 0));
  EXPECT_EQ(L"DS3218", RowText(form, 2, 0));
  EXPECT_EQ(L"HS-422", RowText(form, 3, 0));
  checkRows();

  clickColumn(0);  // by name
  EXPECT_EQ(L"DS3218", RowText(form, 0, 0));
  EXPECT_EQ(L"HS-422", RowText(form, 1, 0));
  EXPECT_EQ(L"MG996R", RowText(form, 2, 0));
  EXPECT_EQ(L"SG90", RowText(form, 3, 0));
  checkRows();
  clickColumn(0);  // again: still ascending
  EXPECT_EQ(L"DS3218", RowText(form, 0, 0));

  SelectRow(form, 1);
  EXPECT_EQ(table->GetRecord(3), form->GetSelectedRecord());
  ASSERT_TRUE(form->ExportScript());
  std::vector<uint8_t> bytes = velktest::ReadWholeFile(state.outputPath);
  std::string script(bytes.begin(), bytes.end());
  EXPECT_NE(std::string::npos, script.find("$.maker = \"Hitec\"\r\n")) << script;
  EXPECT_NE(std::string::npos, script.find("$.torque = 3.300000\r\n")) << script;

  // The selection moves with its row when sorted again.
  clickColumn(1);  // maker: DSServo, Hitec, TowerPro, TowerPro
  EXPECT_EQ(1, ListView_GetNextItem(list, -1, LVNI_SELECTED));
  EXPECT_EQ(L"HS-422", RowText(form, 1, 0));
  EXPECT_EQ(table->GetRecord(3), form->GetSelectedRecord());
  checkRows();
}

TEST(PickerSort, ComparesTheFirst127Characters) {
  ModelSortKeys keys;
  keys.textByRecord = {L"b", L"a", std::wstring(127, L'x') + L"1", std::wstring(127, L'x') + L"2",
                       L"Б", L"А"};
  auto compare = [&](int a, int b) {
    return CompareModelItems(a, b, reinterpret_cast<LPARAM>(&keys));
  };
  EXPECT_GT(compare(0, 1), 0);
  EXPECT_LT(compare(1, 0), 0);
  EXPECT_EQ(0, compare(0, 0));
  EXPECT_EQ(0, compare(2, 3));  // they differ only after 127 characters
  EXPECT_GT(compare(4, 5), 0);  // code unit order
  EXPECT_LT(compare(1, 4), 0);
  EXPECT_EQ(0, compare(7, 99));  // no such record: both empty
}

// ---------------------------------------------------------------------------
// Preselection

class PickerPreselectTest : public PickerFormTest {
protected:
  void SetUp() override {
    PickerFormTest::SetUp();
    const wchar_t* head =
        L"Модель:100\tЦена:80\tКорпус:90\tКартинка:0\n"
        L"model\tprice:1\thousing:$\timage\n"
        L"\t\t\t\n";
    db.WriteTable(L"first", std::wstring(L"Первая\n") + head +
                                L"Общая\t!1:10;20;30\t?1:DIP;SOIC;QFN\t\n"
                                L"Своя\t5\t?1:DIP\t\n");
    db.WriteTable(L"second", std::wstring(L"Вторая\n") + head +
                                 L"Другая\t7\t?1:DIP\t\n"
                                 L"Общая\t!1:100;200;300\t?1:DIP;SOIC;QFN\t\n");
    LoadNamedTables(&state, {L"first", L"second"});
  }
  TestDatabase db;
  PickerState state;
};

TEST_F(PickerPreselectTest, TheLastMatchStaysSelectedWithItsOptions) {
  state.model = Ansi(L"Общая");
  state.options = "1:2;9:1;";  // key 9 is no key of the model
  CMainForm* form = OpenForm(&state);
  EXPECT_TRUE(form->IsReady());
  EXPECT_EQ(1, form->GetTypeList()->GetSelectedIndex());
  HWND list = form->GetModelList()->GetHandle();
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(1, ListView_GetNextItem(list, -1, LVNI_SELECTED));
  EXPECT_EQ(state.GetTable(1)->GetRecord(1), form->GetSelectedRecord());

  const auto& rows = form->GetParameterRows();
  ASSERT_EQ(4u, rows.size());
  EXPECT_EQ(L"Общая", ValueText(rows[0]));
  EXPECT_EQ(L"300.00", ValueText(rows[1]));
  EXPECT_EQ(L"QFN", ValueText(rows[2]));
  EXPECT_STREQ("1:2;", form->GetSelectedRecord()->FormatOptions());
  // Every match took the options.
  EXPECT_STREQ("1:2;", state.GetTable(0)->GetRecord(0)->FormatOptions());
  EXPECT_STREQ("1:0;", state.GetTable(0)->GetRecord(1)->FormatOptions());
}

TEST_F(PickerPreselectTest, TheModelMustMatchExactly) {
  for (const wchar_t* model : {L"общая", L"Общая ", L"Нет"}) {
    SCOPED_TRACE(Ansi(model));
    state.model = Ansi(model);
    CMainForm* form = OpenForm(&state);
    EXPECT_EQ(-1, form->GetTypeList()->GetSelectedIndex());
    EXPECT_FALSE(IsWindowVisible(form->GetModelList()->GetHandle()));
    EXPECT_EQ(nullptr, form->GetSelectedRecord());
    EXPECT_TRUE(form->GetParameterRows().empty());
    ClearForms();
  }
}

TEST_F(PickerPreselectTest, WithoutOptionsTheRecordKeepsItsChoices) {
  state.model = Ansi(L"Своя");
  CMainForm* form = OpenForm(&state);
  EXPECT_EQ(0, form->GetTypeList()->GetSelectedIndex());
  EXPECT_EQ(state.GetTable(0)->GetRecord(1), form->GetSelectedRecord());
  EXPECT_EQ(L"DIP", ValueText(form->GetParameterRows()[2]));
}

// ---------------------------------------------------------------------------
// The preview

TEST(PickerPreview, FittedRectangle) {
  struct Case {
    int areaWidth, areaHeight, width, height;
    RECT expected;
  };
  const Case cases[] = {
      {320, 120, 200, 100, {40, 0, 280, 120}},   // 2:1 limited by the height
      {320, 120, 100, 200, {130, 0, 190, 120}},  // 1:2
      {320, 120, 400, 100, {0, 20, 320, 100}},   // 4:1 limited by the width
      {320, 120, 1, 1, {100, 0, 220, 120}},
      {320, 120, 0, 10, {0, 0, 0, 0}},
      {320, 120, 10, 0, {0, 0, 0, 0}},
      {0, 120, 10, 10, {0, 0, 0, 0}},
      {30000, 30000, 100000, 1, {0, 15000, 30000, 15000}},  // no overflow, nothing to draw
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.areaWidth << "x" << c.areaHeight << " " << c.width << "x"
                                    << c.height);
    RECT r = FitPreviewRect(c.areaWidth, c.areaHeight, c.width, c.height);
    EXPECT_EQ(c.expected.left, r.left);
    EXPECT_EQ(c.expected.top, r.top);
    EXPECT_EQ(c.expected.right, r.right);
    EXPECT_EQ(c.expected.bottom, r.bottom);
  }
}

class PickerPreviewTest : public PickerFormTest {
protected:
  void SetUp() override {
    PickerFormTest::SetUp();
    // A red picture twice as wide as high, with a one-pixel blue border
    // column at its left so the edge can be found.
    CKestImage picture;
    ASSERT_TRUE(picture.Create(200, 100, 24));
    HDC dc = picture.GetDC();
    RECT all = {0, 0, 200, 100};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    DeleteObject(red);
    picture.ReleaseDC();
    ASSERT_TRUE(SUCCEEDED(picture.Save((db.ImagesFolder() + L"wide.bmp").c_str())));
    db.WriteTable(L"t", L"T\nModel:100\tImage:0\nmodel\timage\n\t\n"
                        L"Wide\twide.bmp\nMissing\tnone.png\nNone\t\n");
    LoadNamedTables(&state, {L"t"});
  }

  // Colour of the preview at a client point, as drawn on screen.
  static COLORREF PixelAt(CMainForm* form, int x, int y) {
    return velktest::ScreenPixel(form->GetPreview()->GetHandle(), x, y);
  }

  TestDatabase db;
  PickerState state;
};

TEST_F(PickerPreviewTest, DrawsThePictureFittedOnWhite) {
  CMainForm* form = OpenForm(&state);
  HWND preview = form->GetPreview()->GetHandle();
  ClickType(form, 0);
  SelectRow(form, 0);
  ASSERT_NE(nullptr, form->GetPicture());
  // Give the preview the size of the case: 320 x 120.
  SetWindowPos(preview, nullptr, 0, 0, 320, 120, SWP_NOMOVE | SWP_NOZORDER);
  form->PaintPreview();
  EXPECT_EQ(RGB(255, 255, 255), PixelAt(form, 39, 60));
  EXPECT_EQ(RGB(255, 0, 0), PixelAt(form, 41, 60));
  EXPECT_EQ(RGB(255, 0, 0), PixelAt(form, 160, 0));
  EXPECT_EQ(RGB(255, 0, 0), PixelAt(form, 278, 119));
  EXPECT_EQ(RGB(255, 255, 255), PixelAt(form, 281, 60));

  // A missing picture file, and no picture at all: white.
  for (int row : {1, 2}) {
    SelectRow(form, row);
    EXPECT_EQ(nullptr, form->GetPicture());
    form->PaintPreview();
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(form, 160, 60));
  }
}

}  // namespace
