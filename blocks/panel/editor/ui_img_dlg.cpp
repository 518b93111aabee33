#include "blocks/panel/editor/ui_img_dlg.h"

#include "blocks/panel/items/velk_ui_image.h"
#include "foundation/buffers.h"
#include "kestui/bars/kest_separator.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/core/kest_host.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"
#include "kestui/graphics/kest_paintbox.h"
#include "kestui/graphics/kest_window_dc.h"

namespace {
const int kDialogSize = 300;
const int kToolBarHeight = 28;
const int kButtonSize = 25;
const wchar_t kFilter[] =
    L"Поддерживаемые форматы|*.jpg;*.bmp;*.gif;*.png;*.tif;*.tiff|jpg-файлы|*.jpg|bmp-файлы|*.bmp|"
    L"gif-файлы|*.gif|tiff-файлы|*.tif;*.tiff";

// Closes the clipboard on every return.
class ClipboardScope {
public:
  explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool IsOpen() const { return open_; }

private:
  bool open_;
};

CKestSpdBtn* ToolButton(CKestContainer* bar, int id, UINT picture, const wchar_t* hint,
                        const wchar_t* caption) {
  return new CKestSpdBtn(bar, id, picture, hint, false, kButtonSize, kButtonSize, caption,
                         KEST_POS_FLOW, false);
}

void EnableButton(CKestSpdBtn* button, bool enable) {
  if (button && button->GetHandle()) button->Enable(enable);
}
}  // namespace

CUIImgDlg::CUIImgDlg(CKestControl* owner, CVelkUIImage* item) : item_(item) {
  if (!Create(owner, L"Свойства изображения", KEST_POS_CENTER, kDialogSize, kDialogSize, nullptr,
              true, false, true, true))
    return;
  SetReady(false);
  auto* bar = new CKestPanel(this, 1, KEST_POS_TOP, kDialogSize, kToolBarHeight, true, false);
  open_ = ToolButton(bar, kUiImgDlgOpenId, kUiImgDlgOpenId, L"Открыть", nullptr);
  save_ = ToolButton(bar, kUiImgDlgSaveId, kUiImgDlgSaveId, L"Сохранить", nullptr);
  clear_ = ToolButton(bar, kUiImgDlgClearId, kUiImgDlgClearId, L"Очистить", nullptr);
  new CKestSeparator(bar, KEST_POS_FLOW);
  copy_ = ToolButton(bar, kUiImgDlgCopyId, kUiImgDlgCopyId, L"Копировать в буфер обмена", nullptr);
  paste_ = ToolButton(bar, kUiImgDlgPasteId, kUiImgDlgPasteId, L"Вставить из буфера обмена", nullptr);
  new CKestSeparator(bar, KEST_POS_FLOW);
  actualSize_ = ToolButton(bar, kUiImgDlgActualSizeId, 0, L"Размер 1:1", L"1:1");
  preview_ = new CKestPaintBox(this, kUiImgDlgPreviewId, KEST_POS_CLIENT, kDialogSize, kDialogSize);
  Realign();
  UpdateButtons();
  SetReady(true);
}

CKestSpdBtn* CUIImgDlg::GetButton(int commandId) const {
  switch (commandId) {
    case kUiImgDlgOpenId: return open_;
    case kUiImgDlgSaveId: return save_;
    case kUiImgDlgClearId: return clear_;
    case kUiImgDlgCopyId: return copy_;
    case kUiImgDlgPasteId: return paste_;
    case kUiImgDlgActualSizeId: return actualSize_;
    default: return nullptr;
  }
}

void CUIImgDlg::UpdateButtons() {
  bool has = item_ && !item_->picture.IsNull();
  EnableButton(save_, has);
  EnableButton(clear_, has);
  EnableButton(copy_, has);
  EnableButton(actualSize_, has);
  EnableButton(paste_, IsClipboardFormatAvailable(CF_BITMAP) != FALSE);
}

void CUIImgDlg::PictureChanged() {
  if (item_) item_->SizeToPicture();
  if (preview_) preview_->Invalidate(true);
  UpdateButtons();
}

void CUIImgDlg::OpenPicture() {
  if (!item_) return;
  wchar_t* path = ShowOpenFileDialog(this, nullptr, false, L"jpg", kFilter, nullptr, nullptr);
  if (!path) return;
  // A failed load keeps the picture as it was.
  HRESULT loaded = item_->picture.Load(path);
  FreeBuffer(path);
  if (FAILED(loaded)) {
    GetKestHost()->ShowMessage(MB_OK | MB_ICONERROR, L"Ошибка", L"Не удалось открыть файл!");
    return;
  }
  PictureChanged();
}

void CUIImgDlg::SavePicture() {
  if (!item_ || item_->picture.IsNull()) return;
  wchar_t* path = ShowSaveFileDialog(this, nullptr, L"bmp", kFilter, nullptr, nullptr);
  if (!path) return;
  HRESULT saved = item_->picture.Save(path);
  FreeBuffer(path);
  if (FAILED(saved))
    GetKestHost()->ShowMessage(MB_OK | MB_ICONERROR, L"Ошибка", L"Не удалось сохранить файл!");
}

void CUIImgDlg::ClearPicture() {
  if (!item_) return;
  item_->picture.Destroy();
  if (preview_) preview_->Invalidate(true);
  UpdateButtons();
  item_->Invalidate();
}

void CUIImgDlg::CopyPicture() {
  if (!item_ || item_->picture.IsNull()) return;
  ClipboardScope clipboard(GetHandle());
  if (!clipboard.IsOpen()) return;
  EmptyClipboard();
  int w = item_->picture.GetWidth();
  int h = item_->picture.GetHeight();
  CKestWindowDC screen(nullptr);
  if (!screen) return;
  CKestOwnedBitmap copy(CreateCompatibleBitmap(screen.Get(), w, h));
  CKestOwnedDC memory(CreateCompatibleDC(screen.Get()));
  if (!copy || !memory) return;
  {
    CKestDcSelection selection(memory.Get());
    if (!selection.Select(copy.Get())) return;
    item_->picture.BitBlt(memory.Get(), 0, 0);
  }
  // The clipboard owns the bitmap once it takes it.
  if (SetClipboardData(CF_BITMAP, copy.Get())) copy.Release();
}

void CUIImgDlg::PastePicture() {
  if (!item_ || !IsClipboardFormatAvailable(CF_BITMAP)) return;
  {
    ClipboardScope clipboard(GetHandle());
    if (!clipboard.IsOpen()) return;
    HBITMAP source = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP info = {};
    if (!source || !GetObjectW(source, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
      return;
    item_->picture.Destroy();
    // Deeper colour than the picture can hold is kept as 24 bits.
    int bpp = info.bmBitsPixel == 32 ? 32 : 24;
    if (!item_->picture.Create(info.bmWidth, info.bmHeight, bpp)) return;
    CKestOwnedDC memory(CreateCompatibleDC(nullptr));
    HDC target = item_->picture.GetDC();
    if (memory && target) {
      CKestDcSelection selection(memory.Get());
      if (selection.Select(source))
        ::BitBlt(target, 0, 0, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
    }
    item_->picture.ReleaseDC();
  }
  PictureChanged();
}

RECT CUIImgDlg::PreviewRect() {
  RECT none = {0, 0, 0, 0};
  if (!preview_ || !item_ || item_->picture.IsNull()) return none;
  int w = item_->picture.GetWidth();
  int h = item_->picture.GetHeight();
  if (w <= 0 || h <= 0) return none;
  RECT client;
  GetClientRect(preview_->GetHandle(), &client);
  return FitPreviewRect(client.right, client.bottom, w, h);
}

void CUIImgDlg::PaintPreview() {
  RECT r = PreviewRect();
  if (r.right <= r.left || r.bottom <= r.top) return;
  HDC dc = preview_->GetDC();
  if (dc) item_->picture.Draw(dc, r);
  preview_->ReleaseDC();
}

LRESULT CUIImgDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (IsReady()) {
        switch (LOWORD(wParam)) {
          case kUiImgDlgOpenId: OpenPicture(); return 0;
          case kUiImgDlgSaveId: SavePicture(); return 0;
          case kUiImgDlgClearId: ClearPicture(); return 0;
          case kUiImgDlgCopyId: CopyPicture(); return 0;
          case kUiImgDlgPasteId: PastePicture(); return 0;
          case kUiImgDlgActualSizeId:
            if (item_ && !item_->picture.IsNull()) item_->SizeToPicture();
            return 0;
          default: break;
        }
      }
      break;
    case WM_KEST_PAINT:
      if (preview_ && reinterpret_cast<HWND>(lParam) == preview_->GetHandle()) PaintPreview();
      break;
    case WM_KEST_ENDLAYOUT:
      UpdateButtons();
      break;
    default:
      break;
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}

int ShowPictureDialog(CVelkUIImage* item) {
  if (!item) return 2;
  auto* dialog = new CUIImgDlg(MainKestForm, item);
  HWND window = dialog->GetHandle();
  if (!window) {
    delete dialog;
    return 2;
  }
  int result = dialog->ShowModal(false);
  if (IsWindow(window) && GetControlFromHandle(window) == dialog) delete dialog;
  return result;
}
