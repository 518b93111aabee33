// CKestImage: the framework's picture. A DIB section (1, 4, 8, 24 or 32 bits
// a pixel) that can be loaded from PNG, JPEG, BMP, GIF and TIFF files or
// program resources (decoded by GDI+), saved by file extension, drawn into a
// device context and drawn into through its own memory DC.
//
// Rows: a positive height makes a bottom-up DIB, as GDI does; GetBits always
// points at the top row and GetPitch is then negative, so row y starts at
// GetBits() + y * GetPitch() either way.
//
// 32-bit images with an alpha channel (loaded PNGs with transparency, or
// created with createAlphaChannel) keep their colours premultiplied by alpha,
// which is what AlphaBlend expects; GetPixel reads them as stored.
//
// Failures are returned, never thrown. A failed Load or Create leaves the
// image as it was.
#pragma once

#include <windows.h>

#include <cstddef>

class CKestImage {
public:
  enum : DWORD { createAlphaChannel = 0x01 };
  // Row order of a DIB section handed to Attach. Default: as the system
  // reports it (some systems report every DIB section as bottom-up).
  enum DIBOrientation { DIBOR_DEFAULT, DIBOR_BOTTOMUP, DIBOR_TOPDOWN };

  CKestImage() = default;
  ~CKestImage();
  CKestImage(const CKestImage&) = delete;
  CKestImage& operator=(const CKestImage&) = delete;

  // Loading. The file or resource is decoded in full; the result replaces the
  // current picture only on success. HRESULT_FROM_WIN32 of the system error
  // when the file cannot be read, E_FAIL when the bytes are no picture GDI+
  // knows, E_OUTOFMEMORY, E_INVALIDARG.
  HRESULT Load(const wchar_t* path);
  HRESULT LoadFromMemory(const void* data, size_t size);
  // An RT_BITMAP resource of that id, else an RCDATA resource holding an
  // encoded picture (PNG, ...). HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND)
  // when the module has neither.
  HRESULT LoadFromResource(HINSTANCE instance, UINT id);
  HRESULT LoadFromResource(HINSTANCE instance, const wchar_t* name);

  // A new picture of width x |height| pixels (height < 0: top-down rows),
  // bits per pixel 1, 4, 8, 24 or 32, all pixels 0. Indexed pictures get a
  // default colour table (1: black, white; 4: the 16 VGA colours; 8: a 6x6x6
  // colour cube followed by 40 greys), which SetColorTable may replace.
  // createAlphaChannel (32 bits only) marks the fourth byte as alpha.
  bool Create(int width, int height, int bpp, DWORD flags = 0);

  // Saves in the format the extension names (case ignored): .jpg, .jpeg,
  // .jpe, .jfif JPEG; .bmp, .dib BMP; .png; .gif; .tif, .tiff. JPEG has no
  // transparency: a picture with alpha is saved over white. E_INVALIDARG for
  // another extension or an empty picture.
  HRESULT Save(const wchar_t* path) const;

  void Destroy();
  // Takes a DIB section over (the image deletes it). Refuses a null handle
  // or a bitmap that is not a DIB section (it then stays the caller's).
  bool Attach(HBITMAP bitmap, DIBOrientation orientation = DIBOR_DEFAULT);
  // Gives the bitmap back to the caller; the image becomes empty.
  HBITMAP Detach();

  bool IsNull() const { return bitmap_ == nullptr; }
  operator HBITMAP() const { return bitmap_; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetBPP() const { return bpp_; }
  int GetPitch() const { return pitch_; }
  bool IsIndexed() const { return bitmap_ != nullptr && bpp_ <= 8; }
  bool HasAlphaChannel() const { return hasAlpha_; }
  // Only a 32-bit picture can have one; answers whether the flag was taken.
  bool SetHasAlphaChannel(bool hasAlpha);

  // The top row (see above); null for an empty image. Waits for pending GDI
  // drawing first.
  void* GetBits();
  const void* GetBits() const;
  void* GetPixelAddress(int x, int y);

  // Pixel colour (for indexed pictures through the colour table);
  // CLR_INVALID outside the picture.
  COLORREF GetPixel(int x, int y) const;
  // Indexed pictures take the nearest colour of their table. False outside.
  bool SetPixel(int x, int y, COLORREF colour);
  bool SetPixelIndexed(int x, int y, int index);

  // Colour table of an indexed picture: 2^bpp entries.
  int GetMaxColorTableEntries() const { return IsIndexed() ? 1 << bpp_ : 0; }
  bool GetColorTable(UINT first, UINT count, RGBQUAD* colours) const;
  bool SetColorTable(UINT first, UINT count, const RGBQUAD* colours);

  // The colour-table index drawn transparent by Draw (-1: none). Only
  // indexed pictures have one. Returns the previous index; an index outside
  // the table is refused and changes nothing.
  LONG GetTransparentColor() const { return transparentIndex_; }
  LONG SetTransparentColor(LONG index);

  // A memory DC with the picture selected, for drawing into it. Calls nest:
  // the DC lives until the last ReleaseDC. Null for an empty image.
  HDC GetDC() const;
  void ReleaseDC() const;

  // Draw: the whole picture or a source rectangle into a destination
  // rectangle. With a transparent index it is drawn with TransparentBlt, a
  // picture with alpha with AlphaBlend, otherwise copied; a stretched copy
  // uses HALFTONE (the DC's stretch mode is restored afterwards).
  bool Draw(HDC dc, int x, int y) const;
  bool Draw(HDC dc, int x, int y, int width, int height) const;
  bool Draw(HDC dc, const RECT& dest) const;
  bool Draw(HDC dc, const RECT& dest, const RECT& src) const;
  bool Draw(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
            int xSrc, int ySrc, int srcWidth, int srcHeight) const;

  // Plain raster operations (the DC's own stretch mode applies).
  bool BitBlt(HDC dc, int x, int y, DWORD rop = SRCCOPY) const;
  bool BitBlt(HDC dc, int xDest, int yDest, int width, int height, int xSrc, int ySrc,
              DWORD rop = SRCCOPY) const;
  bool StretchBlt(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
                  DWORD rop = SRCCOPY) const;
  bool StretchBlt(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
                  int xSrc, int ySrc, int srcWidth, int srcHeight, DWORD rop = SRCCOPY) const;

  // Blends the picture over the destination with a constant alpha (255:
  // opaque), and with the picture's own alpha when it has one.
  bool AlphaBlend(HDC dc, int x, int y, BYTE constantAlpha = 0xFF) const;
  bool AlphaBlend(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
                  int xSrc, int ySrc, int srcWidth, int srcHeight,
                  BYTE constantAlpha = 0xFF) const;

  // Copies the picture leaving out the pixels of one colour; CLR_INVALID
  // means the colour of the transparent index (then one is needed).
  bool TransparentBlt(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
                      UINT transparent = CLR_INVALID) const;
  bool TransparentBlt(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
                      int xSrc, int ySrc, int srcWidth, int srcHeight,
                      UINT transparent = CLR_INVALID) const;

private:
  void Swap(CKestImage& other);
  bool TakeDibSection(HBITMAP bitmap, DIBOrientation orientation);
  COLORREF TransparentRGB() const;
  BYTE* Row(int y) const;

  HBITMAP bitmap_ = nullptr;
  BYTE* top_ = nullptr;  // first byte of the top row
  int width_ = 0;
  int height_ = 0;
  int bpp_ = 0;
  int pitch_ = 0;
  bool hasAlpha_ = false;
  LONG transparentIndex_ = -1;

  mutable HDC dc_ = nullptr;
  mutable HGDIOBJ oldBitmap_ = nullptr;
  mutable int dcUses_ = 0;
};

// Where a picture of width x height goes in an area of areaWidth x
// areaHeight: as wide as the area, or as high when it would be too high
// (integer arithmetic), centred. Empty for an empty picture or area.
RECT FitPreviewRect(int areaWidth, int areaHeight, int width, int height);
