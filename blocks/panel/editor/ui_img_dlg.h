// CUIImgDlg: "Свойства изображения", the modal dialog of a picture item. It
// opens a picture from a file, saves it, clears it, copies it to and pastes
// it from the clipboard and sizes the item to it; every command changes the
// item at once. The rest of the form previews the picture scaled to fit.
#pragma once

#include "kestui/forms/kest_form.h"

class CKestPaintBox;
class CKestSpdBtn;
class CVelkUIImage;

// Command ids, which are also the ids of the buttons' pictures.
const int kUiImgDlgOpenId = 152;
const int kUiImgDlgSaveId = 150;
const int kUiImgDlgClearId = 146;
const int kUiImgDlgCopyId = 148;
const int kUiImgDlgPasteId = 149;
const int kUiImgDlgActualSizeId = 1543;
const int kUiImgDlgPreviewId = 1;

class CUIImgDlg : public CKestForm {
public:
  // 300 x 300, centred on the screen, sizeable.
  CUIImgDlg(CKestControl* owner, CVelkUIImage* item);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Save, Clear, Copy and 1:1 follow whether the item has a picture, Paste
  // whether the clipboard offers a bitmap.
  void UpdateButtons();
  // Where the preview draws the picture in the preview box (empty without
  // a picture).
  RECT PreviewRect();

  // The commands.
  void OpenPicture();
  void SavePicture();
  void ClearPicture();
  void CopyPicture();
  void PastePicture();

  CVelkUIImage* GetItem() const { return item_; }
  CKestPaintBox* GetPreview() const { return preview_; }
  CKestSpdBtn* GetButton(int commandId) const;

private:
  void PaintPreview();
  // The item takes the picture's size; the preview is drawn again.
  void PictureChanged();

  CVelkUIImage* item_;  // not owned
  CKestSpdBtn* open_ = nullptr;
  CKestSpdBtn* save_ = nullptr;
  CKestSpdBtn* clear_ = nullptr;
  CKestSpdBtn* copy_ = nullptr;
  CKestSpdBtn* paste_ = nullptr;
  CKestSpdBtn* actualSize_ = nullptr;
  CKestPaintBox* preview_ = nullptr;
};

// Shows the dialog modally over the main form on item; the modal result.
int ShowPictureDialog(CVelkUIImage* item);
