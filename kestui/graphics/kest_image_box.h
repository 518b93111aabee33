// A picture box of the Kest framework: CKestImageBox draws a CKestImage
// first, at its natural size or scaled to fit with its aspect ratio kept,
// then lets the form draw over it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_paintbox.h"

class CKestImageBox : public CKestPaintBox {
public:
  // resourceId: a picture resource of the program (0: none); a picture that
  // does not load leaves the box empty. sizeToImage: the window takes the
  // picture's size when a picture is set. fit: the picture is scaled into
  // the client area keeping its aspect ratio and centred; the margins are
  // filled with the background colour.
  CKestImageBox(CKestControl* parent, int id, uint32_t position, UINT resourceId, bool sizeToImage,
                bool fit, int width, int height);
  ~CKestImageBox() override;

  void Paint() override;

  // Takes ownership of image (null: no picture); the previous one is
  // deleted. Repaints.
  void SetImage(CKestImage* image);
  CKestImage* GetImage() const { return image_; }

  // Where the picture of imageWidth x imageHeight is drawn in area.
  static RECT PlaceImage(const RECT& area, int imageWidth, int imageHeight, bool fit);

private:
  CKestImage* image_ = nullptr;
  bool sizeToImage_;
  bool fit_;
};

