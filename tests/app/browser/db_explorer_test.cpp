// The model chooser "Выбор модели": layout, the table list, filling the
// model list and the parameter rows, options and formulas, the results of
// the modal loop, the view-only form, broken tables and pictures, and the
// model viewer hook of the components.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "app/browser/browser_fixture.h"
#include "app/browser/db_explorer.h"
#include "app/shell/velkboard_host.h"
#include "foundation/buffers.h"
#include "kestui/containers/kest_h_splitter.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"
#include "scheme/model/block.h"
#include "support/compdb_form_checks.h"

namespace {

using browsertest::Children;
using browsertest::RectIn;
using browsertest::WindowText;

const wchar_t kPartsTable[] =
    L"Детали\n"
    L"Модель:100\tКорпус:80\tЦена:60\t:0\tСкрытая:0\tВес:-5\tКартинка:0\n"
    L"model\tcase\tprice\tblank\thidden\tmass\timage\n"
    L"\t\t\t\t\t\t\n"
    L"A1\t?1:DIP;SOIC;QFN\t!1:10;12.5;7\tx\th1\t2\twide.bmp\n"
    L"B2\t?1:DIP\t4 / !1:0\ty\th2\t3\tmissing.png\n"
    L"C3\t?1:раз;два\t(2 + 3) * !1:1;2\tz\th3\t5\tbroken.png\n";

const wchar_t kMoreTable[] =
    L"Ещё таблица\n"
    L"Модель:120\tЦена:70\n"
    L"model\tprice\n"
    L"\t\n"
    L"M1\t5\n"
    L"M2\t!1:3\n";

class ExplorerTest : public apptest::WindowsTest {
protected:
  void SetUp() override {
    WindowsTest::SetUp();
    db.WriteTable(L"parts", kPartsTable);
    db.WriteTable(L"more", kMoreTable);
    db.WriteFile(L"empty.txt", "");
    db.WritePicture(L"wide.bmp", 40, 20, RGB(255, 0, 0));
    db.WriteFile(L"images\\broken.png", "\x89PNG\r\n\x1a\n not a picture at all");
  }

  // A shown explorer, its layout settled.
  static CDBExplorer* Open(const wchar_t* tables, const char* model = nullptr,
                           const char* options = nullptr) {
    CDBExplorer* explorer = new CDBExplorer(nullptr, tables, model, options);
    EXPECT_NE(nullptr, explorer->GetHandle());
    explorer->Show(false);
    velktest::FlushEvents();
    return explorer;
  }

  // What a click on a type does: the selection, then the list box's command.
  static void ClickType(CDBExplorer* explorer, int index) {
    explorer->GetTypeList()->SetSelectedIndex(index);
    SendMessageW(explorer->GetHandle(), WM_COMMAND, 0,
                 reinterpret_cast<LPARAM>(explorer->GetTypeList()->GetHandle()));
    velktest::FlushEvents();
  }

  // Selects a model as the mouse would; the list view reports the change.
  static void SelectRow(CDBExplorer* explorer, int row) {
    velktest::SelectListViewRow(explorer->GetModelList()->GetHandle(), row);
  }

  // Picks a choice in an option combo and reports it as the combo would.
  static void Choose(CDBExplorer* explorer, COptionCombo* combo, int index,
                     int code = CBN_SELENDOK) {
    SendMessageW(combo->GetHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(explorer->GetHandle(), WM_COMMAND, MAKEWPARAM(kCompDbOptionComboId, code),
                 reinterpret_cast<LPARAM>(combo->GetHandle()));
    velktest::FlushEvents();
  }

  static std::wstring ItemText(CDBExplorer* explorer, int row, int column) {
    std::vector<wchar_t> buffer(2048);
    explorer->GetModelList()->GetItemText(row, column, buffer.data(),
                                          static_cast<int>(buffer.size()));
    return buffer.data();
  }

  static std::wstring TypeText(CDBExplorer* explorer, int index) {
    wchar_t* text = explorer->GetTypeList()->CopyItemText(index);
    std::wstring result = text ? text : L"";
    FreeBuffer(text);
    return result;
  }

  static std::wstring ValueText(const CompDbParameterRow& row) {
    return velktest::ParameterValueText(row);
  }

  static int ListColumnCount(CDBExplorer* explorer) {
    return Header_GetItemCount(ListView_GetHeader(explorer->GetModelList()->GetHandle()));
  }

  static std::wstring ColumnHeading(CDBExplorer* explorer, int column, int* width) {
    wchar_t text[256] = {};
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    info.pszText = text;
    info.cchTextMax = 256;
    EXPECT_TRUE(ListView_GetColumn(explorer->GetModelList()->GetHandle(), column, &info));
    if (width) *width = info.cx;
    EXPECT_EQ(LVCFMT_LEFT, info.fmt & LVCFMT_JUSTIFYMASK);
    return text;
  }

  browsertest::TestDatabase db;
};

TEST_F(ExplorerTest, Layout) {
  CDBExplorer* explorer = Open(L"parts;more");
  HWND window = explorer->GetHandle();
  velktest::ExpectChooserFrame(window, 1024);
  EXPECT_EQ(nullptr, GetMenu(window));

  // The form: left panel, vertical splitter, right panel.
  HWND left = nullptr, right = nullptr;
  ASSERT_NO_FATAL_FAILURE(velktest::ExpectChooserPanels(window, &left, &right));
  auto* leftPanel = static_cast<CKestPanel*>(GetControlFromHandle(left));

  // Left: "Тип", the type list (150 high), a splitter, "Модель", the
  // model list filling the rest.
  std::vector<HWND> inLeft = Children(left);
  ASSERT_EQ(5u, inLeft.size());
  EXPECT_EQ(L"Тип", WindowText(inLeft[0]));
  EXPECT_EQ(explorer->GetTypeList()->GetHandle(), inLeft[1]);
  EXPECT_NE(nullptr, dynamic_cast<CKestHSplitter*>(GetControlFromHandle(inLeft[2])));
  EXPECT_EQ(L"Модель", WindowText(inLeft[3]));
  EXPECT_EQ(explorer->GetModelList()->GetHandle(), inLeft[4]);
  RECT leftClient;
  GetClientRect(left, &leftClient);
  RECT h1 = RectIn(left, inLeft[0]), types = RectIn(left, inLeft[1]);
  RECT split = RectIn(left, inLeft[2]), h2 = RectIn(left, inLeft[3]);
  RECT models = RectIn(left, inLeft[4]);
  int border = leftPanel->GetBorderWidth();
  EXPECT_EQ(border, h1.top);
  EXPECT_EQ(border, h1.left);
  EXPECT_EQ(leftClient.right - border, h1.right);
  EXPECT_EQ(20, h1.bottom - h1.top);
  EXPECT_EQ(h1.bottom, types.top);
  // 150 asked for; the system list box keeps to whole rows.
  int rowHeight = static_cast<int>(SendMessageW(inLeft[1], LB_GETITEMHEIGHT, 0, 0));
  EXPECT_LE(types.bottom - types.top, 150);
  EXPECT_GT(types.bottom - types.top, 150 - rowHeight);
  EXPECT_EQ(types.bottom, split.top);
  EXPECT_EQ(split.bottom, h2.top);
  EXPECT_EQ(20, h2.bottom - h2.top);
  EXPECT_EQ(h2.bottom, models.top);
  EXPECT_EQ(leftClient.bottom - border, models.bottom);
  EXPECT_EQ(border, models.left);
  EXPECT_EQ(leftClient.right - border, models.right);
  EXPECT_FALSE(GetWindowLongW(inLeft[1], GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  LONG listStyle = GetWindowLongW(inLeft[4], GWL_STYLE);
  EXPECT_EQ(LVS_REPORT, listStyle & LVS_TYPEMASK);
  EXPECT_TRUE(listStyle & LVS_SINGLESEL);
  EXPECT_TRUE(listStyle & LVS_SHOWSELALWAYS);
  EXPECT_TRUE(listStyle & WS_TABSTOP);
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(inLeft[4]) & LVS_EX_FULLROWSELECT);

  // Right: "Параметры", the preview (120 high), a splitter, the button
  // panel (45 high) at the bottom, the parameter box between.
  std::vector<HWND> inRight = Children(right);
  ASSERT_EQ(5u, inRight.size());
  EXPECT_EQ(L"Параметры", WindowText(inRight[0]));
  EXPECT_EQ(explorer->GetPreview()->GetHandle(), inRight[1]);
  EXPECT_NE(nullptr, dynamic_cast<CKestHSplitter*>(GetControlFromHandle(inRight[2])));
  EXPECT_EQ(explorer->GetParameterBox()->GetHandle(), inRight[4]);
  RECT rightClient;
  GetClientRect(right, &rightClient);
  RECT rh = RectIn(right, inRight[0]), preview = RectIn(right, inRight[1]);
  RECT rs = RectIn(right, inRight[2]), bottom = RectIn(right, inRight[3]);
  RECT params = RectIn(right, inRight[4]);
  EXPECT_EQ(border, rh.top);
  EXPECT_EQ(20, rh.bottom - rh.top);
  EXPECT_EQ(rh.bottom, preview.top);
  EXPECT_EQ(120, preview.bottom - preview.top);
  EXPECT_EQ(rightClient.right - 2 * border, preview.right - preview.left);
  EXPECT_EQ(preview.bottom, rs.top);
  EXPECT_EQ(45, bottom.bottom - bottom.top);
  EXPECT_EQ(rightClient.bottom - border, bottom.bottom);
  EXPECT_EQ(0, static_cast<CKestPanel*>(GetControlFromHandle(inRight[3]))->GetBevel());
  EXPECT_EQ(rs.bottom, params.top);
  EXPECT_EQ(bottom.top, params.bottom);
  EXPECT_TRUE(GetWindowLongW(inRight[4], GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  // Headers: white bold Verdana on grey, centred.
  for (HWND header : {inLeft[0], inLeft[3], inRight[0]}) velktest::ExpectHeadingBar(header);

  // The buttons side by side: "Выбрать" (default, 1000), then "Отмена".
  std::vector<HWND> buttons = Children(inRight[3]);
  ASSERT_EQ(2u, buttons.size());
  EXPECT_EQ(L"Выбрать", WindowText(buttons[0]));
  EXPECT_EQ(L"Отмена", WindowText(buttons[1]));
  EXPECT_EQ(kVelkExplorerChooseId, GetDlgCtrlID(buttons[0]));
  EXPECT_EQ(kVelkExplorerCancelId, GetDlgCtrlID(buttons[1]));
  EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongW(buttons[0], GWL_STYLE) & 0x0F);
  EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongW(buttons[1], GWL_STYLE) & 0x0F);
  EXPECT_EQ(1, explorer->GetChooseButton()->GetModalResult());
  EXPECT_EQ(2, explorer->GetCancelButton()->GetModalResult());
  RECT choose = RectIn(inRight[3], buttons[0]), cancel = RectIn(inRight[3], buttons[1]);
  for (const RECT& b : {choose, cancel}) {
    EXPECT_EQ(100, b.right - b.left);
    EXPECT_EQ(25, b.bottom - b.top);
  }
  EXPECT_EQ(choose.top, cancel.top);
  EXPECT_LT(choose.right, cancel.left);
}

TEST_F(ExplorerTest, TableListsAndTheirCaptions) {
  struct Case {
    const wchar_t* list;
    std::vector<std::wstring> names;
    std::vector<std::wstring> captions;
  };
  const std::wstring error = L"Ошибка таблицы";
  const Case cases[] = {
      {L"parts;more", {L"parts", L"more"}, {L"Детали", L"Ещё таблица"}},
      {L"parts; more", {L"parts", L"more"}, {L"Детали", L"Ещё таблица"}},
      {L"  parts;\t more", {L"parts", L"more"}, {L"Детали", L"Ещё таблица"}},
      {L"parts;;more", {L"parts", L"", L"more"}, {L"Детали", error, L"Ещё таблица"}},
      {L"parts;more;", {L"parts", L"more"}, {L"Детали", L"Ещё таблица"}},
      {L"nosuch;empty;parts", {L"nosuch", L"empty", L"parts"}, {error, error, L"Детали"}},
      {L"", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "list #" << (&c - cases));
    CDBExplorer* explorer = Open(c.list);
    ASSERT_EQ(static_cast<int>(c.names.size()), explorer->GetTableCount());
    ASSERT_EQ(static_cast<int>(c.names.size()), explorer->GetTypeList()->GetCount());
    for (size_t i = 0; i < c.names.size(); ++i) {
      EXPECT_EQ(c.names[i], explorer->GetTable(static_cast<int>(i))->GetName());
      EXPECT_EQ(c.captions[i], TypeText(explorer, static_cast<int>(i)));
    }
    velktest::CloseAllLiveForms();
  }
}

TEST_F(ExplorerTest, OpensOnTheFirstRowOfTheFirstTable) {
  CDBExplorer* explorer = Open(L"parts;more");
  EXPECT_FALSE(explorer->IsViewOnly());
  EXPECT_EQ(0, explorer->GetTypeList()->GetSelectedIndex());
  HWND list = explorer->GetModelList()->GetHandle();
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(0, explorer->GetModelList()->GetSelectedIndex());
  EXPECT_EQ(explorer->GetTable(0)->GetRecord(0), explorer->GetSelectedRow());

  // Columns: the first and those wider than 0, headed by their names.
  ASSERT_EQ(3, ListColumnCount(explorer));
  const struct {
    const wchar_t* heading;
    int width;
  } columns[] = {{L"Модель", 100}, {L"Корпус", 80}, {L"Цена", 60}};
  for (int c = 0; c < 3; ++c) {
    int width = 0;
    EXPECT_EQ(columns[c].heading, ColumnHeading(explorer, c, &width));
    EXPECT_EQ(columns[c].width, width);
  }
  // Rows: the display texts, the options at their first choice.
  ASSERT_EQ(3, ListView_GetItemCount(list));
  const wchar_t* rows[3][3] = {
      {L"A1", L"DIP", L"10.00"}, {L"B2", L"DIP", L"0.00"}, {L"C3", L"раз", L"5.00"}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(rows[r][c], ItemText(explorer, r, c)) << r << c;
  }
}

TEST_F(ExplorerTest, ChoosingARowFillsTheParameterRows) {
  CDBExplorer* explorer = Open(L"parts;more");
  SelectRow(explorer, 0);
  const auto& rows = explorer->GetParameterRows();
  // Every column with a name, the hidden ones too; the nameless one not.
  ASSERT_EQ(6u, rows.size());
  HWND box = explorer->GetParameterBox()->GetHandle();
  EXPECT_EQ(12u, Children(box).size());
  const struct {
    int column;
    const wchar_t* label;
    const wchar_t* value;
    bool option;
  } expected[] = {
      {0, L"Модель:", L"A1", false},    {1, L"Корпус:", L"DIP", true},
      {2, L"Цена:", L"10.00", false},   {4, L"Скрытая:", L"h1", false},
      {5, L"Вес:", L"2", false},        {6, L"Картинка:", L"wide.bmp", false},
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i].column, rows[i].column);
    EXPECT_EQ(expected[i].label, WindowText(rows[i].label->GetHandle()));
    EXPECT_EQ(expected[i].value, ValueText(rows[i]));
    // Label and value in place; a read-only value an edit 21 high on the
    // button-face colour.
    velktest::ExpectParameterRowPlace(box, rows[i], static_cast<int>(i));
    if (expected[i].option) {
      ASSERT_NE(nullptr, rows[i].combo);
      HWND value = rows[i].combo->GetHandle();
      EXPECT_EQ(nullptr, rows[i].edit);
      EXPECT_EQ(kCompDbOptionComboId, GetDlgCtrlID(value));
      EXPECT_EQ(CBS_DROPDOWNLIST, GetWindowLongW(value, GWL_STYLE) & 3);
      EXPECT_EQ(1, rows[i].combo->GetOptionKey());
    } else {
      ASSERT_NE(nullptr, rows[i].edit);
      EXPECT_EQ(nullptr, rows[i].combo);
      EXPECT_EQ(0, GetDlgCtrlID(rows[i].edit->GetHandle()));
    }
  }
  // The option combo holds the cell's choices, item data = index.
  COptionCombo* combo = rows[1].combo;
  ASSERT_EQ(3, combo->GetCount());
  for (int n = 0; n < 3; ++n) EXPECT_EQ(static_cast<LPARAM>(n), combo->GetItemData(n));
  EXPECT_EQ(0, combo->GetSelectedIndex());
  EXPECT_GE(explorer->GetParameterBox()->GetVertRange(), 4 + 25 * 5 + 21);

  // Another row replaces the rows; another type empties them until a row
  // of it is chosen.
  SelectRow(explorer, 2);
  EXPECT_EQ(explorer->GetTable(0)->GetRecord(2), explorer->GetSelectedRow());
  EXPECT_EQ(L"C3", ValueText(explorer->GetParameterRows()[0]));
  EXPECT_EQ(L"раз", ValueText(explorer->GetParameterRows()[1]));
  ClickType(explorer, 1);
  EXPECT_EQ(nullptr, explorer->GetSelectedRow());
  EXPECT_TRUE(explorer->GetParameterRows().empty());
  EXPECT_TRUE(Children(box).empty());
  ASSERT_EQ(2, ListColumnCount(explorer));
  ASSERT_EQ(2, ListView_GetItemCount(explorer->GetModelList()->GetHandle()));
  EXPECT_EQ(L"5", ItemText(explorer, 0, 1));
  EXPECT_EQ(L"0.00", ItemText(explorer, 1, 1));
  SelectRow(explorer, 1);
  EXPECT_EQ(explorer->GetTable(1)->GetRecord(1), explorer->GetSelectedRow());
  ASSERT_EQ(2u, explorer->GetParameterRows().size());
  EXPECT_EQ(L"0.00", ValueText(explorer->GetParameterRows()[1]));

  // The arrow keys change the type without a click.
  explorer->GetTypeList()->SetSelectedIndex(0);
  SendMessageW(explorer->GetHandle(), WM_KEST_KEYUP, VK_UP,
               reinterpret_cast<LPARAM>(explorer->GetTypeList()->GetHandle()));
  velktest::FlushEvents();
  EXPECT_EQ(3, ListView_GetItemCount(explorer->GetModelList()->GetHandle()));
}

TEST_F(ExplorerTest, AnOptionChoiceChangesTheFormulaCells) {
  CDBExplorer* explorer = Open(L"parts");
  const auto& rows = explorer->GetParameterRows();
  ASSERT_EQ(6u, rows.size());
  HWND price = rows[2].edit->GetHandle();
  HWND comboWindow = rows[1].combo->GetHandle();
  CompDbRecord* record = explorer->GetSelectedRow();
  ASSERT_NE(nullptr, record);

  // Each report of a new choice: confirmed, changed, edited.
  const struct {
    int code;
    int choice;
    const wchar_t* price;
    const char* options;
  } steps[] = {
      {CBN_SELENDOK, 1, L"12.50", "1:1;"},
      {CBN_SELCHANGE, 2, L"7.00", "1:2;"},
      {CBN_EDITCHANGE, 0, L"10.00", "1:0;"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.code);
    Choose(explorer, explorer->GetParameterRows()[1].combo, step.choice, step.code);
    EXPECT_EQ(step.price, WindowText(price));
    EXPECT_STREQ(step.options, record->FormatOptions());
  }
  // Other combo notifications change nothing.
  Choose(explorer, explorer->GetParameterRows()[1].combo, 2, CBN_DROPDOWN);
  EXPECT_EQ(L"10.00", WindowText(price));
  EXPECT_STREQ("1:0;", record->FormatOptions());
  // The rows were not rebuilt.
  EXPECT_EQ(comboWindow, explorer->GetParameterRows()[1].combo->GetHandle());

  // The choice stays with the explorer's copy of the row.
  Choose(explorer, explorer->GetParameterRows()[1].combo, 1);
  SelectRow(explorer, 1);
  SelectRow(explorer, 0);
  EXPECT_EQ(L"SOIC", ValueText(explorer->GetParameterRows()[1]));
  EXPECT_EQ(L"12.50", ValueText(explorer->GetParameterRows()[2]));

  // A division by zero in a formula shows 0.
  SelectRow(explorer, 1);
  EXPECT_EQ(L"0.00", ValueText(explorer->GetParameterRows()[2]));
}

TEST_F(ExplorerTest, TheModalResults) {
  struct Case {
    const char* name;
    int row;
    void (*close)(CDBExplorer*);
    int result;
    bool chosen;
  };
  const Case cases[] = {
      {"Выбрать", 2,
       [](CDBExplorer* e) { PostMessageW(e->GetChooseButton()->GetHandle(), BM_CLICK, 0, 0); }, 1,
       true},
      {"Enter", 1,
       [](CDBExplorer* e) {
         HWND list = e->GetModelList()->GetHandle();
         SetFocus(list);
         PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
       },
       1, true},
      {"Отмена", 2,
       [](CDBExplorer* e) { PostMessageW(e->GetCancelButton()->GetHandle(), BM_CLICK, 0, 0); }, 2,
       false},
      {"Esc", 0, [](CDBExplorer* e) { PostMessageW(e->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0); }, 2,
       false},
      {"close box", 0,
       [](CDBExplorer* e) { PostMessageW(e->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CDBExplorer* explorer = new CDBExplorer(nullptr, L"parts;more", nullptr, nullptr);
    SelectRow(explorer, c.row);
    CompDbRecord* row = explorer->GetTable(0)->GetRecord(c.row);
    ASSERT_EQ(row, explorer->GetSelectedRow());
    browsertest::LoopProbe probe([&] { c.close(explorer); });
    probe.Post();
    EXPECT_EQ(c.result, explorer->ShowModal(false));
    EXPECT_TRUE(probe.Ran());
    EXPECT_EQ(c.chosen ? row : nullptr, explorer->GetSelectedRow());
    delete explorer;
    velktest::FlushEvents();
    EXPECT_EQ(0, LiveForms.count);
  }
}

TEST_F(ExplorerTest, AGivenModelOpensViewOnlyAndPreselected) {
  CDBExplorer* explorer = Open(L"more;parts", "C3", "7:1;1:1;");
  EXPECT_TRUE(explorer->IsViewOnly());
  EXPECT_EQ(nullptr, explorer->GetChooseButton());
  HWND buttons = GetParent(explorer->GetCancelButton()->GetHandle());
  ASSERT_EQ(1u, Children(buttons).size());
  EXPECT_EQ(L"Отмена", WindowText(Children(buttons)[0]));
  EXPECT_EQ(nullptr, FindWindowExW(buttons, nullptr, L"BUTTON", L"Выбрать"));

  EXPECT_EQ(1, explorer->GetTypeList()->GetSelectedIndex());
  EXPECT_EQ(2, explorer->GetModelList()->GetSelectedIndex());
  CompDbRecord* row = explorer->GetSelectedRow();
  ASSERT_EQ(explorer->GetTable(1)->GetRecord(2), row);
  // The given options are set (the unknown key 7 is skipped).
  EXPECT_STREQ("1:1;", row->FormatOptions());
  const auto& rows = explorer->GetParameterRows();
  ASSERT_EQ(6u, rows.size());
  EXPECT_EQ(1, rows[1].combo->GetSelectedIndex());
  EXPECT_EQ(L"два", ValueText(rows[1]));
  EXPECT_EQ(L"10.00", ValueText(rows[2]));
  EXPECT_EQ(L"два", ItemText(explorer, 2, 1));
  // A change follows in the price, in the explorer's copy only.
  Choose(explorer, rows[1].combo, 0);
  EXPECT_EQ(L"5.00", ValueText(explorer->GetParameterRows()[2]));
  CompDbTable fresh(L"parts");
  ASSERT_TRUE(fresh.Load());
  EXPECT_STREQ("1:0;", fresh.GetRecord(2)->FormatOptions());
  EXPECT_NE(fresh.GetRecord(2), row);
}

TEST_F(ExplorerTest, TheLastMatchOfAModelStaysSelected) {
  CDBExplorer* explorer = Open(L"more;parts;more", "M2", nullptr);
  EXPECT_EQ(2, explorer->GetTypeList()->GetSelectedIndex());
  EXPECT_EQ(1, explorer->GetModelList()->GetSelectedIndex());
  EXPECT_EQ(explorer->GetTable(2)->GetRecord(1), explorer->GetSelectedRow());
}

TEST_F(ExplorerTest, AModelThatIsNotFoundSelectsNothing) {
  CDBExplorer* explorer = Open(L"parts;more", "Z9", "1:1;");
  EXPECT_TRUE(explorer->IsViewOnly());
  EXPECT_EQ(-1, explorer->GetTypeList()->GetSelectedIndex());
  EXPECT_FALSE(IsWindowVisible(explorer->GetModelList()->GetHandle()));
  EXPECT_EQ(nullptr, explorer->GetSelectedRow());
  EXPECT_TRUE(explorer->GetParameterRows().empty());
  EXPECT_EQ(nullptr, explorer->GetPreviewImage());
  // The type list still works.
  ClickType(explorer, 1);
  EXPECT_TRUE(IsWindowVisible(explorer->GetModelList()->GetHandle()));
  EXPECT_EQ(2, ListView_GetItemCount(explorer->GetModelList()->GetHandle()));
}

TEST_F(ExplorerTest, BrokenTablesStayListedAndTheOthersWork) {
  CDBExplorer* explorer = Open(L"nosuch;empty;parts");
  // The first table failed: an empty list, no row.
  EXPECT_EQ(0, explorer->GetTypeList()->GetSelectedIndex());
  EXPECT_EQ(0, ListView_GetItemCount(explorer->GetModelList()->GetHandle()));
  EXPECT_EQ(0, ListColumnCount(explorer));
  EXPECT_EQ(nullptr, explorer->GetSelectedRow());
  EXPECT_TRUE(explorer->GetParameterRows().empty());
  ClickType(explorer, 2);
  SelectRow(explorer, 2);
  EXPECT_EQ(explorer->GetTable(2)->GetRecord(2), explorer->GetSelectedRow());
  EXPECT_EQ(6u, explorer->GetParameterRows().size());
  ClickType(explorer, 1);
  EXPECT_EQ(nullptr, explorer->GetSelectedRow());
  EXPECT_EQ(0, ListColumnCount(explorer));
}

TEST_F(ExplorerTest, LongTextsAreShownWhole) {
  std::wstring caption(300, L'Ж');
  std::wstring heading(300, L'Ю');
  std::wstring cell(700, L'Щ');
  db.WriteTable(L"long", caption + L"\n" + heading + L":150\tЦена:60\nmodel\tprice\n\t\n" + cell +
                             L"\t1\n");
  CDBExplorer* explorer = Open(L"long");
  EXPECT_EQ(caption, TypeText(explorer, 0));
  EXPECT_EQ(cell, ItemText(explorer, 0, 0));
  ASSERT_EQ(2u, explorer->GetParameterRows().size());
  EXPECT_EQ(heading + L":", WindowText(explorer->GetParameterRows()[0].label->GetHandle()));
  EXPECT_EQ(cell, ValueText(explorer->GetParameterRows()[0]));
}

// Colour of the preview at a client point, as drawn on screen.
COLORREF PreviewPixel(CDBExplorer* explorer, int x, int y) {
  return velktest::ScreenPixel(explorer->GetPreview()->GetHandle(), x, y);
}

TEST_F(ExplorerTest, ThePreviewFitsThePictureAndStaysWhiteWithoutOne) {
  CDBExplorer* explorer = Open(L"parts");
  ASSERT_NE(nullptr, explorer->GetPreviewImage());
  EXPECT_EQ(40, explorer->GetPreviewImage()->GetWidth());
  HWND preview = explorer->GetPreview()->GetHandle();
  // In 320 x 120 a 40 x 20 picture is as high as the box: 240 x 120 at 40.
  SetWindowPos(preview, nullptr, 0, 0, 320, 120, SWP_NOMOVE | SWP_NOZORDER);
  explorer->PaintPreview();
  const struct {
    int x, y;
    COLORREF colour;
  } points[] = {{39, 60, RGB(255, 255, 255)}, {40, 60, RGB(255, 0, 0)},
                {160, 0, RGB(255, 0, 0)},     {279, 119, RGB(255, 0, 0)},
                {280, 60, RGB(255, 255, 255)}, {0, 0, RGB(255, 255, 255)}};
  for (const auto& p : points) EXPECT_EQ(p.colour, PreviewPixel(explorer, p.x, p.y)) << p.x;

  // A missing file and a file that is no picture leave it white.
  for (int row : {1, 2}) {
    SCOPED_TRACE(row);
    SelectRow(explorer, row);
    EXPECT_EQ(explorer->GetTable(0)->GetRecord(row), explorer->GetSelectedRow());
    EXPECT_EQ(nullptr, explorer->GetPreviewImage());
    explorer->PaintPreview();
    EXPECT_EQ(RGB(255, 255, 255), PreviewPixel(explorer, 160, 60));
  }
}

TEST_F(ExplorerTest, AComponentsEditShowsItsModelViewOnly) {
  CKestForm* main = new CKestForm;
  ASSERT_TRUE(main->Create(nullptr, L"Главное окно", KEST_POS_FLOW, 400, 300, nullptr, true, true,
                           true, true));
  main->Show(false);
  velktest::FlushEvents();
  // The program's own host sends a component's Edit to the browser.
  CVelkboardHost host;
  CSchemeHostScope hostScope(&host);

  struct Seen {
    HWND window = nullptr;
    HWND owner = nullptr;
    bool mainDisabled = false;
    bool hasChoose = true;
    std::wstring model;
    std::wstring choice;
  } seen;
  browsertest::LoopProbe probe([&] {
    seen.window = FindWindowW(KestMainClassName, L"Выбор модели");
    if (!seen.window) return;
    seen.owner = GetWindow(seen.window, GW_OWNER);
    seen.mainDisabled = !IsWindowEnabled(main->GetHandle());
    auto* explorer = dynamic_cast<CDBExplorer*>(GetControlFromHandle(seen.window));
    if (explorer) {
      seen.hasChoose = explorer->GetChooseButton() != nullptr;
      if (explorer->GetSelectedRow()) seen.model = AnsiToWide(explorer->GetSelectedRow()->GetCell(0));
      if (explorer->GetParameterRows().size() > 1)
        seen.choice = ValueText(explorer->GetParameterRows()[1]);
    }
    PostMessageW(seen.window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  CSCHBlock block;
  block.SetModel("A1");
  block.SetOptions("1:2;");
  block.SetTableName(L"parts");
  probe.Post();
  EXPECT_FALSE(block.Edit());

  EXPECT_TRUE(probe.Ran());
  ASSERT_NE(nullptr, seen.window);
  EXPECT_EQ(main->GetHandle(), seen.owner);
  EXPECT_TRUE(seen.mainDisabled);
  EXPECT_FALSE(seen.hasChoose);
  EXPECT_EQ(L"A1", seen.model);
  EXPECT_EQ(L"QFN", seen.choice);
  // The explorer is gone; the component is unchanged.
  EXPECT_FALSE(IsWindow(seen.window));
  EXPECT_EQ(1, LiveForms.count);
  EXPECT_TRUE(IsWindowEnabled(main->GetHandle()));
  EXPECT_STREQ("1:2;", block.options);
}

TEST_F(ExplorerTest, TheSampleDatabaseWithAScreenshot) {
  browsertest::DatabaseFolders folders(browsertest::SampleDatabaseFolder());
  CDBExplorer* explorer = Open(L"connectors;servo;resisters;batteries");
  ASSERT_EQ(4, explorer->GetTableCount());
  EXPECT_EQ(L"Разъёмы на плату", TypeText(explorer, 0));
  EXPECT_EQ(L"Сервоприводы", TypeText(explorer, 1));
  // Opened on "connectors" without a model: its first row, with a picture.
  CompDbRecord* first = explorer->GetTable(0)->GetRecord(0);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, explorer->GetSelectedRow());
  EXPECT_STREQ("PLS-6", first->GetCell(0));
  EXPECT_NE(nullptr, explorer->GetPreviewImage());

  RedrawWindow(explorer->GetHandle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  velktest::FlushEvents();
  EXPECT_TRUE(velktest::SaveScreenshot(explorer->GetHandle(), L"db_explorer.bmp"));

  // "Выбрать" returns that row.
  browsertest::LoopProbe probe(
      [&] { PostMessageW(explorer->GetChooseButton()->GetHandle(), BM_CLICK, 0, 0); });
  probe.Post();
  EXPECT_EQ(1, explorer->ShowModal(false));
  EXPECT_EQ(first, explorer->GetSelectedRow());
  delete explorer;
}

}  // namespace
