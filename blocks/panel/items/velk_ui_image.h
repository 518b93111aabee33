// CVelkUIImage: a picture on the control panel ("Картинка"), stretched to
// its rectangle; a crossed box while it has none. The picture dialog
// (CUIImgDlg) loads, saves, clears, copies and pastes it.
#pragma once

#include "blocks/panel/velk_ui_control.h"
#include "kestui/graphics/image.h"

// The picture record: width, height, then (when both are not 0) bits per
// pixel, the palette of indexed pictures and the rows from the top.
// Pictures of 1 and 4 bits per pixel keep their rows packed.
int PictureRowBytes(int width, int bitsPerPixel);

class CVelkUIImage : public CVelkUIControl {
public:
  // No picture, 104 x 104.
  explicit CVelkUIImage(UiPanel* panel);

  // The six base properties and the dialog button "Изображение".
  void BuildProperties(UiPropertyList* list) override;
  void DrawBackground(HDC dc) override;
  void Save(CStream* stream) override;
  // A picture record whose sizes, depth or palette are not sound, or that
  // ends early, fails the read and leaves the item without a picture.
  bool Load(CStream* stream) override;

  // The item takes the picture's size and the canvas is repainted.
  void SizeToPicture();

  CKestImage picture;  // owned; empty when there is none
};

CVelkUIControl* NewVelkUIImage(UiPanel* panel);
