#include "blocks/dialogs/local_map/paint_alpha_rect.h"

#include "foundation/buffers.h"
#include "kestui/graphics/kest_dc_selection.h"

namespace {
// Reads the w x h pixels at (x, y) as bottom-up 24-bit rows, blends them
// and writes them back. False when the pixels could not be had.
bool BlendPixels(HDC dc, int x, int y, int w, int h, COLORREF colour, int weight) {
  int stride = (3 * w + 3) & ~3;
  if (h > 0x7FFFFFFF / stride) return false;
  auto* pixels = static_cast<unsigned char*>(AllocBuffer(static_cast<size_t>(stride) * h));
  if (!pixels) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  bool read = false;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP copy = memory ? CreateCompatibleBitmap(dc, w, h) : nullptr;
  if (copy) {
    HGDIOBJ old = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, w, h, dc, x, y, SRCCOPY);
    SelectObject(memory, old);
    read = GetDIBits(memory, copy, 0, h, pixels, &info, DIB_RGB_COLORS) == h;
  }
  if (copy) DeleteObject(copy);
  if (memory) DeleteDC(memory);
  if (read) {
    int k = 256 - weight;
    // The colour's share of each channel, blue, green, red as the rows hold
    // them; every product fits a signed 16-bit value for weights 128..256.
    short share[3] = {static_cast<short>(GetBValue(colour) * k), static_cast<short>(GetGValue(colour) * k),
                      static_cast<short>(GetRValue(colour) * k)};
    for (int row = 0; row < h; ++row) {
      unsigned char* p = pixels + static_cast<size_t>(row) * stride;
      for (int column = 0; column < w; ++column, p += 3)
        for (int c = 0; c < 3; ++c) p[c] = static_cast<unsigned char>((p[c] * weight + share[c]) >> 8);
    }
    SetDIBitsToDevice(dc, x, y, w, h, 0, 0, 0, h, pixels, &info, DIB_RGB_COLORS);
  }
  FreeBuffer(pixels);
  return read;
}
}  // namespace

void PaintAlphaRect(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, short weight) {
  if (!dc) return;
  if (x1 > x2) {
    int t = x1;
    x1 = x2;
    x2 = t;
  }
  if (y1 > y2) {
    int t = y1;
    y1 = y2;
    y2 = t;
  }
  int w = x2 - x1, h = y2 - y1;
  int mix = weight < 128 ? 128 : weight > 256 ? 256 : weight;
  if (w > 0 && h > 0) BlendPixels(dc, x1, y1, w, h, colour, mix);
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(NULL_BRUSH));
  Rectangle(dc, x1, y1, x2, y2);
}
