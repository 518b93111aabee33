// The picture dialog "Свойства изображения": its buttons, opening a good and
// a bad file, saving, clearing, copying and pasting through the clipboard,
// sizing the item, and the aspect-fit preview.
#include <gtest/gtest.h>

#include <string>

#include "blocks/panel/editor/ui_img_dlg.h"
#include "blocks/panel/items/velk_ui_image.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_canvas.h"
#include "modal_driver.h"
#include "panel_fixture.h"
#include "support/live_forms.h"
#include "support/test_support.h"

using namespace paneltest;

namespace {

// The path the fake file dialogs answer with (empty: cancelled), and the
// filter and extension they were given.
std::wstring chosenPath;
std::wstring givenFilter;
std::wstring givenExtension;

BOOL AnswerFileDialog(OPENFILENAMEW* info) {
  givenExtension = info->lpstrDefExt ? info->lpstrDefExt : L"";
  givenFilter.clear();
  for (const wchar_t* p = info->lpstrFilter; p && *p; p += wcslen(p) + 1) givenFilter += std::wstring(p) + L"|";
  if (chosenPath.empty() || chosenPath.size() + 1 > info->nMaxFile) return FALSE;
  wcscpy(info->lpstrFile, chosenPath.c_str());
  return TRUE;
}
const KestCommonDialogSeam kFileSeam = {AnswerFileDialog, AnswerFileDialog, nullptr, nullptr};

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

// Puts a w x h screen-compatible bitmap filled with colour on the clipboard.
bool PutBitmapOnClipboard(int w, int h, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all = {0, 0, w, h};
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!OpenClipboard(nullptr)) {
    DeleteObject(bitmap);
    return false;
  }
  EmptyClipboard();
  bool ok = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
  CloseClipboard();
  if (!ok) DeleteObject(bitmap);
  return ok;
}

class PictureDialogTest : public PanelTest {
protected:
  void SetUp() override {
    PanelTest::SetUp();
    SetCommonDialogSeam(&kFileSeam);
    chosenPath.clear();
    EmptyTheClipboard();
    image = static_cast<CVelkUIImage*>(CreatePanelItemByKind(&panel, L"Картинка"));
    image->x = 20;
    image->y = 30;
    dialog = new CUIImgDlg(nullptr, image);
  }
  void TearDown() override {
    velktest::CloseAllLiveForms();
    EmptyTheClipboard();
    SetCommonDialogSeam(nullptr);
    chosenPath.clear();
    PanelTest::TearDown();
  }
  bool Enabled(int command) const {
    CKestSpdBtn* button = dialog->GetButton(command);
    return button && button->IsEnabled();
  }
  // Which of Open, Save, Clear, Copy, Paste, 1:1 are enabled, as "OSCKP1"
  // with "-" for a disabled one.
  std::string ButtonStates() const {
    const int ids[] = {kUiImgDlgOpenId, kUiImgDlgSaveId, kUiImgDlgClearId, kUiImgDlgCopyId, kUiImgDlgPasteId, kUiImgDlgActualSizeId};
    const char letters[] = "OSCKP1";
    std::string states;
    for (int i = 0; i < 6; ++i) states += Enabled(ids[i]) ? letters[i] : '-';
    return states;
  }
  // A w x h 24-bit BMP in the folder, red at its top-left pixel.
  std::wstring WritePicture(const wchar_t* name, int w, int h) {
    CKestImage picture;
    EXPECT_TRUE(picture.Create(w, h, 24));
    picture.SetPixel(0, 0, RGB(255, 0, 0));
    std::wstring path = folder.File(name);
    EXPECT_TRUE(SUCCEEDED(picture.Save(path.c_str())));
    return path;
  }

  UiPanel panel{&probe.scheme};
  CVelkUIImage* image = nullptr;
  CUIImgDlg* dialog = nullptr;
  velktest::TempFolder folder;
};

}  // namespace

TEST_F(PictureDialogTest, TheFormHasItsCaptionSizeAndToolButtons) {
  ASSERT_NE(nullptr, dialog->GetHandle());
  wchar_t caption[64] = {};
  GetWindowTextW(dialog->GetHandle(), caption, 64);
  EXPECT_STREQ(L"Свойства изображения", caption);
  RECT r;
  GetWindowRect(dialog->GetHandle(), &r);
  EXPECT_EQ(300, r.right - r.left);
  EXPECT_EQ(300, r.bottom - r.top);
  LONG style = GetWindowLongW(dialog->GetHandle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  const wchar_t* hints[] = {L"Открыть", L"Сохранить", L"Очистить", L"Копировать в буфер обмена",
                            L"Вставить из буфера обмена", L"Размер 1:1"};
  const int ids[] = {kUiImgDlgOpenId, kUiImgDlgSaveId, kUiImgDlgClearId, kUiImgDlgCopyId, kUiImgDlgPasteId, kUiImgDlgActualSizeId};
  int lastLeft = -1;
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    CKestSpdBtn* button = dialog->GetButton(ids[i]);
    ASSERT_NE(nullptr, button);
    EXPECT_STREQ(hints[i], button->GetHint());
    EXPECT_EQ(ids[i], GetWindowLongW(button->GetHandle(), GWL_ID));
    EXPECT_EQ(25, button->GetWidth());
    EXPECT_EQ(25, button->GetHeight());
    EXPECT_GT(button->GetPosition().x, lastLeft);  // one after another
    lastLeft = button->GetPosition().x;
  }
}

TEST_F(PictureDialogTest, WithoutAPictureOnlyOpenAndAClipboardPasteAreEnabled) {
  EXPECT_EQ("O-----", ButtonStates());
  ASSERT_TRUE(PutBitmapOnClipboard(4, 4, RGB(1, 2, 3)));
  // Paste follows the clipboard each time the dialog is activated.
  SendMessageW(dialog->GetHandle(), WM_KEST_ENDLAYOUT, 0, 0);
  EXPECT_EQ("O---P-", ButtonStates());
}

TEST_F(PictureDialogTest, PastingABitmapSizesTheItemAndThePreviewFitsItsWidth) {
  ASSERT_TRUE(PutBitmapOnClipboard(200, 50, RGB(0, 128, 0)));
  dialog->PastePicture();
  ASSERT_FALSE(image->picture.IsNull());
  EXPECT_EQ(200, image->width);
  EXPECT_EQ(50, image->height);
  EXPECT_EQ(RGB(0, 128, 0), image->picture.GetPixel(199, 49));
  EXPECT_EQ("OSCKP1", ButtonStates());
  // In a 284 x 240 box: 284 x (50 x 284 / 200 = 71) at (0, (240 - 71) / 2 = 84).
  SetWindowPos(dialog->GetPreview()->GetHandle(), nullptr, 0, 0, 284, 240, SWP_NOMOVE | SWP_NOZORDER);
  RECT r = dialog->PreviewRect();
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(84, r.top);
  EXPECT_EQ(284, r.right);
  EXPECT_EQ(155, r.bottom);
  // A flat box: 100 wide would make it 25 high, too high for 10; so 10
  // high and 200 x 10 / 50 = 40 wide at ((100 - 40) / 2, 0).
  SetWindowPos(dialog->GetPreview()->GetHandle(), nullptr, 0, 0, 100, 10, SWP_NOMOVE | SWP_NOZORDER);
  r = dialog->PreviewRect();
  EXPECT_EQ(30, r.left);
  EXPECT_EQ(0, r.top);
  EXPECT_EQ(70, r.right);
  EXPECT_EQ(10, r.bottom);
}

TEST_F(PictureDialogTest, ThePreviewDrawsThePictureScaledAndCentred) {
  ASSERT_TRUE(PutBitmapOnClipboard(200, 50, RGB(200, 0, 0)));
  dialog->PastePicture();
  ShowWindow(dialog->GetHandle(), SW_SHOW);
  HWND box = dialog->GetPreview()->GetHandle();
  RECT client;
  GetClientRect(box, &client);
  RedrawWindow(dialog->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  velktest::FlushEvents();
  RECT r = dialog->PreviewRect();
  ASSERT_GT(r.bottom, r.top);
  EXPECT_EQ(client.right, r.right - r.left);
  HDC dc = GetDC(box);
  COLORREF inside = GetPixel(dc, client.right / 2, (r.top + r.bottom) / 2);
  COLORREF above = GetPixel(dc, client.right / 2, r.top / 2);
  ReleaseDC(box, dc);
  EXPECT_EQ(RGB(200, 0, 0), inside);
  EXPECT_NE(RGB(200, 0, 0), above);
  EXPECT_TRUE(velktest::SaveWindowBitmap(dialog->GetHandle(), PanelScreenshotPath(L"panel_picture_dialog.bmp")));
}

TEST_F(PictureDialogTest, OpeningAGoodFileLoadsItAndSizesTheItem) {
  chosenPath = WritePicture(L"good.bmp", 30, 20);
  dialog->OpenPicture();
  EXPECT_EQ(L"jpg", givenExtension);
  EXPECT_EQ(L"Поддерживаемые форматы|*.jpg;*.bmp;*.gif;*.png;*.tif;*.tiff|jpg-файлы|*.jpg|bmp-файлы|*.bmp|"
            L"gif-файлы|*.gif|tiff-файлы|*.tif;*.tiff|",
            givenFilter);
  ASSERT_FALSE(image->picture.IsNull());
  EXPECT_EQ(30, image->width);
  EXPECT_EQ(20, image->height);
  EXPECT_EQ(RGB(255, 0, 0), image->picture.GetPixel(0, 0));
  EXPECT_EQ("OSCK-1", ButtonStates());
  EXPECT_TRUE(host.texts.empty());
}

TEST_F(PictureDialogTest, AFileThatCannotBeOpenedShowsAnErrorAndKeepsThePictureAndSize) {
  chosenPath = WritePicture(L"good.bmp", 30, 20);
  dialog->OpenPicture();
  image->width = 77;
  ASSERT_TRUE(folder.WriteFile(L"bad.png", std::string("\x89PNG not a picture at all")));
  chosenPath = folder.File(L"bad.png");
  dialog->OpenPicture();
  ASSERT_EQ(1u, host.texts.size());
  EXPECT_EQ(L"Не удалось открыть файл!", host.texts[0]);
  EXPECT_EQ(L"Ошибка", host.captions[0]);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), host.flags[0]);
  EXPECT_EQ(30, image->picture.GetWidth());
  EXPECT_EQ(77, image->width);
  EXPECT_EQ(20, image->height);
  // A missing file as well; a cancelled dialog says nothing.
  chosenPath = folder.File(L"missing.jpg");
  dialog->OpenPicture();
  EXPECT_EQ(2u, host.texts.size());
  chosenPath.clear();
  dialog->OpenPicture();
  EXPECT_EQ(2u, host.texts.size());
  EXPECT_EQ(30, image->picture.GetWidth());
}

TEST_F(PictureDialogTest, SavingWritesTheFileOrReportsTheFailure) {
  chosenPath = WritePicture(L"good.bmp", 12, 9);
  dialog->OpenPicture();
  chosenPath = folder.File(L"saved.bmp");
  dialog->SavePicture();
  EXPECT_EQ(L"bmp", givenExtension);
  CKestImage saved;
  ASSERT_TRUE(SUCCEEDED(saved.Load(chosenPath.c_str())));
  EXPECT_EQ(12, saved.GetWidth());
  EXPECT_EQ(RGB(255, 0, 0), saved.GetPixel(0, 0));
  EXPECT_TRUE(host.texts.empty());
  chosenPath = folder.File(L"saved.xyz");
  dialog->SavePicture();
  ASSERT_EQ(1u, host.texts.size());
  EXPECT_EQ(L"Не удалось сохранить файл!", host.texts[0]);
  EXPECT_EQ(L"Ошибка", host.captions[0]);
}

TEST_F(PictureDialogTest, ClearingMakesACrossedBoxAndDisablesThePictureButtons) {
  ASSERT_TRUE(PutBitmapOnClipboard(40, 10, RGB(0, 0, 255)));
  dialog->PastePicture();
  EmptyTheClipboard();
  dialog->ClearPicture();
  EXPECT_TRUE(image->picture.IsNull());
  EXPECT_EQ("O-----", ButtonStates());
  EXPECT_EQ(40, image->width);  // the size stays
  Dib dib(100, 100, RGB(255, 255, 255));
  image->DrawBackground(dib.dc());
  EXPECT_EQ(RGB(0, 0, 0), dib.At(image->x, image->y + 5));
}

TEST_F(PictureDialogTest, CopyPutsThePictureOnTheClipboardAndOneToOneRestoresItsSize) {
  chosenPath = WritePicture(L"good.bmp", 16, 8);
  dialog->OpenPicture();
  dialog->CopyPicture();
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  ASSERT_TRUE(OpenClipboard(nullptr));
  BITMAP info = {};
  GetObjectW(GetClipboardData(CF_BITMAP), sizeof(info), &info);
  CloseClipboard();
  EXPECT_EQ(16, info.bmWidth);
  EXPECT_EQ(8, info.bmHeight);
  // The copy pastes into another item unchanged.
  auto* other = static_cast<CVelkUIImage*>(CreatePanelItemByKind(&panel, L"Картинка"));
  auto* second = new CUIImgDlg(nullptr, other);
  second->PastePicture();
  ASSERT_FALSE(other->picture.IsNull());
  EXPECT_EQ(16, other->width);
  EXPECT_EQ(RGB(255, 0, 0), other->picture.GetPixel(0, 0));
  EXPECT_EQ(RGB(0, 0, 0), other->picture.GetPixel(1, 0));
  // 1:1 after the user resized the item.
  image->width = 50;
  image->height = 3;
  SendMessageW(dialog->GetHandle(), WM_COMMAND, kUiImgDlgActualSizeId, 0);
  EXPECT_EQ(16, image->width);
  EXPECT_EQ(8, image->height);
}

TEST_F(PictureDialogTest, ThePictureItemsDialogPropertyShowsTheDialogModally) {
  velktest::CloseAllLiveForms();
  UiPropertyList list;
  list.owner = image;
  image->BuildProperties(&list);
  bool shown = false;
  ModalDriver<CUIImgDlg> driver([&](CUIImgDlg* form, int) {
    shown = form->GetItem() == image && IsWindowVisible(form->GetHandle());
    form->PostClose(2);
    return false;
  });
  ASSERT_TRUE(driver.Ready());
  EXPECT_EQ(2, list.At(6)->callback(image));
  EXPECT_EQ(1, driver.Steps());
  EXPECT_TRUE(shown);
  EXPECT_EQ(0, LiveForms.count);
  EXPECT_EQ(2, ShowPictureDialog(nullptr));
}
