// The scan-sector block's dialog ("Построитель") on a real form: the scan
// parameters in centimetres and degrees, the slice list with its colour
// marks, adding (where the last slice ends), editing, deleting and clearing
// slices, and "OK" writing the parameters and slices back while "Отмена"
// changes nothing.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "blocks/dialogs/dialog_driver.h"
#include "blocks/dialogs/modal_steps.h"
#include "blocks/dialogs/scan_sector/scan_sector_dialog.h"
#include "blocks/dialogs/scan_sector/scan_slice_editor.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"

namespace {

using dialogtest::DialogTest;
using dialogtest::ModalSteps;
using dialogtest::On;
using dialogtest::Press;

class ScanSectorDialogTest : public DialogTest {
protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_TRUE(bench.library.Offer(kBeScanSectorClassId, L"Построитель карты видимой области по стереозрению"));
    sector = bench.Create<CBEScanSector>(kBeScanSectorClassId);
    ASSERT_NE(nullptr, sector);
  }
  CBEScanSectorDialog* Open() {
    auto* dialog = new CBEScanSectorDialog(sector);
    EXPECT_TRUE(dialog->Build());
    dialog->Show(false);
    velktest::FlushEvents();
    return dialog;
  }
  void Command(CBEScanSectorDialog* dialog, UINT id) { SendMessageW(dialog->GetHandle(), WM_COMMAND, id, 0); }
  void CommandWith(CBEScanSectorDialog* dialog, UINT id, std::vector<dialogtest::ModalStep> steps) {
    ModalSteps::Run(
        [&] {
          Command(dialog, id);
          return true;
        },
        std::move(steps));
  }
  // Adds a slice and leaves its editor with "Отмена".
  void AddCancelled(CBEScanSectorDialog* dialog) {
    CommandWith(dialog, kScanSectorCmdAdd,
                {On<CScanSliceEditor>([](CScanSliceEditor* editor) { Press(editor->GetCancelButton()); })});
  }

  blocktest::Bench bench;
  CBEScanSector* sector = nullptr;
};

std::wstring Cell(CKestListView* list, int row, int column) {
  wchar_t text[64];
  return list->GetItemText(row, column, text, 64);
}

// Caption, yMin, yMax and mark of every row.
std::vector<std::wstring> Rows(CKestListView* list) {
  std::vector<std::wstring> rows;
  for (int row = 0; row < list->GetItemCount(); ++row)
    rows.push_back(Cell(list, row, 0) + L"|" + Cell(list, row, 1) + L"|" + Cell(list, row, 2) + L"|" +
                   std::to_wstring(list->GetItemImage(row)));
  return rows;
}

void Select(CKestListView* list, int row) {
  list->FocusItem(row);
  velktest::FlushEvents();
}

bool MenuItemEnabled(CKestPopupMenu* menu, int position) {
  return !(GetMenuState(menu->GetHandle(), position, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(ScanSectorDialogTest, OpensAsBuilderWithTheBlocksValues) {
  sector->SetCaption(L"Мой сектор");
  CBEScanSectorDialog* dialog = Open();
  HWND window = dialog->GetHandle();
  EXPECT_EQ(L"Построитель", velktest::WindowText(window));
  EXPECT_EQ(MainKestForm->GetHandle(), GetWindow(window, GW_OWNER));
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(500, rect.right - rect.left);
  EXPECT_EQ(400, rect.bottom - rect.top);
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_MINIMIZEBOX);
  EXPECT_NEAR(12.5, dialog->GetEdit(CBEScanSectorDialog::kZMin)->GetValue(), 1e-4);
  EXPECT_NEAR(300, dialog->GetEdit(CBEScanSectorDialog::kZMax)->GetValue(), 1e-4);
  EXPECT_NEAR(6.25, dialog->GetEdit(CBEScanSectorDialog::kD)->GetValue(), 1e-4);
  EXPECT_NEAR(45, dialog->GetEdit(CBEScanSectorDialog::kAngle)->GetValue(), 1e-4);
  struct Range {
    CBEScanSectorDialog::Edit edit;
    double minimum, maximum, step;
  };
  const Range ranges[] = {{CBEScanSectorDialog::kZMin, 0.01, 10000, 1},
                          {CBEScanSectorDialog::kZMax, 0.01, 10000, 1},
                          {CBEScanSectorDialog::kD, 0.01, 10000, 0.25},
                          {CBEScanSectorDialog::kAngle, 0.1, 175, 0.1}};
  for (const Range& r : ranges) {
    CKestSpinEdit* edit = dialog->GetEdit(r.edit);
    EXPECT_EQ(r.minimum, edit->GetMinimum()) << r.edit;
    EXPECT_EQ(r.maximum, edit->GetMaximum()) << r.edit;
    EXPECT_EQ(r.step, edit->GetStep()) << r.edit;
    EXPECT_EQ(150, edit->GetWidth()) << r.edit;
  }
  HWND list = dialog->GetSlices()->GetHandle();
  EXPECT_EQ(150, ListView_GetColumnWidth(list, 0));
  EXPECT_EQ(150, ListView_GetColumnWidth(list, 1));
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT;
  ASSERT_TRUE(ListView_GetColumn(list, 1, &column));
  EXPECT_EQ(LVCFMT_CENTER, column.fmt & LVCFMT_JUSTIFYMASK) << "the heights centred";
  CKestPopupMenu* menu = dialog->GetMenu();
  EXPECT_EQ(static_cast<int>(kScanSectorCmdEdit), menu->FindShortcut(VK_F2, 0));
  EXPECT_EQ(static_cast<int>(kScanSectorCmdAdd), menu->FindShortcut(VK_INSERT, 0));
  EXPECT_EQ(static_cast<int>(kScanSectorCmdDelete), menu->FindShortcut(VK_DELETE, 0));
  EXPECT_EQ(static_cast<int>(kScanSectorCmdClear), CKestMenu::GetItemId(menu->GetHandle(), 5));
  // The default slice, with the red mark.
  EXPECT_EQ((std::vector<std::wstring>{L"Срез 1|-30.0|60.0|0"}), Rows(dialog->GetSlices()));
  EXPECT_FALSE(dialog->GetDeleteButton()->IsEnabled());
  EXPECT_TRUE(dialog->GetAddButton()->IsEnabled());
  EXPECT_TRUE(GetWindowLongW(dialog->GetOkButton()->GetHandle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
  Select(dialog->GetSlices(), 0);
  EXPECT_TRUE(dialog->GetDeleteButton()->IsEnabled());
  EXPECT_TRUE(MenuItemEnabled(dialog->GetMenu(), 0));
  EXPECT_TRUE(MenuItemEnabled(dialog->GetMenu(), 3));
  EXPECT_TRUE(velktest::SaveScreenshot(window, L"dialogs_scan_sector.bmp"));
  dialog->GetSlices()->SelectItem(0, false);
  velktest::FlushEvents();
  EXPECT_FALSE(dialog->GetDeleteButton()->IsEnabled());
  EXPECT_FALSE(MenuItemEnabled(dialog->GetMenu(), 0));
  EXPECT_FALSE(MenuItemEnabled(dialog->GetMenu(), 3));
  EXPECT_TRUE(MenuItemEnabled(dialog->GetMenu(), 2));
}

TEST_F(ScanSectorDialogTest, TheColourMarksAreSquaresOnATransparentWhite) {
  CBEScanSectorDialog* dialog = Open();
  CKestImageList* marks = dialog->GetSlices()->GetImageList();
  ASSERT_NE(nullptr, marks);
  ASSERT_EQ(8, marks->GetCount());
  const COLORREF colours[8] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),   RGB(204, 0, 204),
                               RGB(0, 204, 255), RGB(255, 102, 0), RGB(0, 255, 102), RGB(0, 0, 0)};
  HDC screen = GetDC(nullptr);
  CKestOwnedDC dc(CreateCompatibleDC(screen));
  CKestOwnedBitmap bitmap(CreateCompatibleBitmap(screen, 16, 16));
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc.Get(), bitmap.Get());
  CKestOwnedBrush grey(CreateSolidBrush(RGB(50, 60, 70)));
  for (int i = 0; i < 8; ++i) {
    RECT all = {0, 0, 16, 16};
    FillRect(dc.Get(), &all, grey.Get());
    ASSERT_TRUE(ImageList_Draw(marks->GetHandle(), i, dc.Get(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(colours[i], GetPixel(dc.Get(), 2, 2)) << i;
    EXPECT_EQ(colours[i], GetPixel(dc.Get(), 13, 13)) << i;
    EXPECT_EQ(RGB(50, 60, 70), GetPixel(dc.Get(), 1, 8)) << i << ": white is transparent";
    EXPECT_EQ(RGB(50, 60, 70), GetPixel(dc.Get(), 14, 14)) << i;
    EXPECT_EQ(colours[i], ScanSliceMarkColour(i + 8));
  }
  SelectObject(dc.Get(), old);
}

TEST_F(ScanSectorDialogTest, ANewSliceStartsWhereTheLastEndsAndOpensItsEditor) {
  CBEScanSectorDialog* dialog = Open();
  bool seen = false;
  CommandWith(dialog, kScanSectorCmdAdd, {On<CScanSliceEditor>([&](CScanSliceEditor* editor) {
                seen = true;
                EXPECT_EQ(L"Срез 2", velktest::WindowText(editor->GetHandle()));
                EXPECT_EQ(dialog->GetHandle(), GetWindow(editor->GetHandle(), GW_OWNER));
                RECT rect;
                GetWindowRect(editor->GetHandle(), &rect);
                EXPECT_EQ(250, rect.right - rect.left);
                EXPECT_EQ(150, rect.bottom - rect.top);
                EXPECT_DOUBLE_EQ(60, editor->GetYMin()->GetValue());
                EXPECT_DOUBLE_EQ(120, editor->GetYMax()->GetValue());
                EXPECT_TRUE(velktest::SaveScreenshot(editor->GetHandle(), L"dialogs_scan_slice.bmp"));
                Press(editor->GetCancelButton());
              })});
  EXPECT_TRUE(seen);
  EXPECT_EQ((std::vector<std::wstring>{L"Срез 1|-30.0|60.0|0", L"Срез 2|60.0|120.0|1"}), Rows(dialog->GetSlices()));
  EXPECT_EQ(1, dialog->GetSlices()->GetSelectedIndex());

  velktest::DialogAnswerer answerer(IDYES);
  Command(dialog, kScanSectorCmdClear);
  ASSERT_EQ(1, answerer.Count());
  EXPECT_EQ(L"Очистить все", answerer.Captions()[0]);
  EXPECT_EQ(L"Вы уверены, что хотите очистить список срезов?", answerer.Texts()[0]);
  EXPECT_EQ(0, dialog->GetSlices()->GetItemCount());
  AddCancelled(dialog);
  EXPECT_EQ((std::vector<std::wstring>{L"Срез 1|-20.0|40.0|0"}), Rows(dialog->GetSlices()));
}

TEST_F(ScanSectorDialogTest, DeletingKeepsTheOtherCaptionsAndMarks) {
  CBEScanSectorDialog* dialog = Open();
  AddCancelled(dialog);
  AddCancelled(dialog);
  CKestListView* slices = dialog->GetSlices();
  ASSERT_EQ(3, slices->GetItemCount());
  Select(slices, 0);
  Command(dialog, kScanSectorCmdDelete);
  EXPECT_EQ((std::vector<std::wstring>{L"Срез 2|60.0|120.0|1", L"Срез 3|120.0|180.0|2"}), Rows(slices));
  EXPECT_FALSE(dialog->GetDeleteButton()->IsEnabled());
  Command(dialog, kScanSectorCmdDelete);  // nothing selected: nothing goes
  EXPECT_EQ(2, slices->GetItemCount());
  AddCancelled(dialog);
  EXPECT_EQ(L"Срез 3|180.0|240.0|2", Rows(slices)[2]) << "numbered and marked by the row count";
  // Clearing answered No keeps every row.
  velktest::DialogAnswerer answerer(IDNO);
  Command(dialog, kScanSectorCmdClear);
  EXPECT_EQ(3, slices->GetItemCount());
}

TEST_F(ScanSectorDialogTest, TheSliceEditorWritesBothHeightsWithOneDecimal) {
  CBEScanSectorDialog* dialog = Open();
  CKestListView* slices = dialog->GetSlices();
  Select(slices, 0);
  // A double click on the row opens the editor and is answered 1.
  NMITEMACTIVATE click = {};
  click.hdr.hwndFrom = slices->GetHandle();
  click.hdr.code = static_cast<UINT>(NM_DBLCLK);
  click.iItem = 0;
  LRESULT answer = 0;
  ModalSteps::Run(
      [&] {
        answer = SendMessageW(dialog->GetHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
        return true;
      },
      {On<CScanSliceEditor>([](CScanSliceEditor* editor) {
        EXPECT_EQ(L"Срез 1", velktest::WindowText(editor->GetHandle()));
        EXPECT_DOUBLE_EQ(-30, editor->GetYMin()->GetValue());
        editor->GetYMin()->SetValue(12.34);
        editor->GetYMax()->SetValue(-5);  // below yMin: kept
        Press(editor->GetOkButton());
      })});
  EXPECT_EQ(1, answer);
  EXPECT_EQ((std::vector<std::wstring>{L"Срез 1|12.3|-5.0|0"}), Rows(slices));
}

TEST_F(ScanSectorDialogTest, OkWritesTheParametersAndTheSlices) {
  bool answer = ModalSteps::Run([&] { return sector->ShowProperties(); },
                                {On<CBEScanSectorDialog>([](CBEScanSectorDialog* dialog) {
                                   dialog->GetEdit(CBEScanSectorDialog::kZMin)->SetValue(20);
                                   dialog->GetEdit(CBEScanSectorDialog::kZMax)->SetValue(450);
                                   dialog->GetEdit(CBEScanSectorDialog::kD)->SetValue(6.25);
                                   dialog->GetEdit(CBEScanSectorDialog::kAngle)->SetValue(45);
                                   PostMessageW(dialog->GetHandle(), WM_COMMAND, kScanSectorCmdAdd, 0);
                                 }),
                                 On<CScanSliceEditor>([](CScanSliceEditor* editor) {
                                   editor->GetYMax()->SetValue(75.5);
                                   Press(editor->GetOkButton());
                                 }),
                                 On<CBEScanSectorDialog>([](CBEScanSectorDialog* dialog) {
                                   dialog->GetSlices()->SetItemText(0, CBEScanSectorDialog::kYMin, L"x");
                                   Press(dialog->GetOkButton());
                                 })});
  EXPECT_TRUE(answer);
  const ScanSectorModel& model = sector->model;
  EXPECT_EQ(0.2f, model.zMin);
  EXPECT_EQ(4.5f, model.zMax);
  EXPECT_EQ(0.0625f, model.D);
  EXPECT_EQ(0.7853982f, model.viewAngle);
  ASSERT_EQ(2, model.sliceCount);
  EXPECT_EQ(0.0f, model.slices[0].yMin) << "a text that does not parse reads as 0";
  EXPECT_EQ(0.6f, model.slices[0].yMax);
  EXPECT_EQ(0.6f, model.slices[1].yMin);
  EXPECT_EQ(0.755f, model.slices[1].yMax);
}

TEST_F(ScanSectorDialogTest, ClearingAndOkWritesNoSlices) {
  velktest::DialogAnswerer answerer(IDYES);
  bool answer = ModalSteps::Run([&] { return sector->ShowProperties(); },
                                {On<CBEScanSectorDialog>([](CBEScanSectorDialog* dialog) {
                                  SendMessageW(dialog->GetHandle(), WM_COMMAND, kScanSectorCmdClear, 0);
                                  Press(dialog->GetOkButton());
                                })});
  EXPECT_TRUE(answer);
  EXPECT_EQ(0, sector->model.sliceCount);
}

TEST_F(ScanSectorDialogTest, CancelEscapeAndTheCloseBoxWriteNothing) {
  std::vector<uint8_t> before = blocktest::RecordBytes(sector);
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    velktest::DialogAnswerer answerer(IDYES);
    bool answer = ModalSteps::Run([&] { return sector->ShowProperties(); },
                                  {On<CBEScanSectorDialog>([way](CBEScanSectorDialog* dialog) {
                                    dialog->GetEdit(CBEScanSectorDialog::kD)->SetValue(9);
                                    SendMessageW(dialog->GetHandle(), WM_COMMAND, kScanSectorCmdClear, 0);
                                    if (way == 0) Press(dialog->GetCancelButton());
                                    if (way == 1) PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                                    if (way == 2) PostMessageW(dialog->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                                  })});
    EXPECT_FALSE(answer);
    EXPECT_EQ(before, blocktest::RecordBytes(sector));
  }
}

}  // namespace
