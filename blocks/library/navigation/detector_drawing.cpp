#include "blocks/library/navigation/detector_drawing.h"

#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

void DrawDetectorBody(HDC dc, const RECT& rect, int bitmapId, int width, int height) {
  Draw3DFrameRect(dc, &rect, 0xCCCCCC, 0xFFFFFF, 0x999999);
  // As a section of its own colours, so it is copied unchanged whatever
  // the screen's depth.
  CKestGdiObject<HBITMAP> picture(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  HDC source = picture ? CreateCompatibleDC(dc) : nullptr;
  if (!source) return;
  {
    CKestDcSelection selection(source);
    if (selection.Select(picture.Get()))
      BitBlt(dc, (rect.left + rect.right - width) / 2, (rect.top + rect.bottom - height) / 2, width, height, source, 0,
             0, SRCCOPY);
  }
  DeleteDC(source);
}
