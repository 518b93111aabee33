// A 32-bit memory bitmap (white unless another stock brush is given) selected into its own DC, for tests that
// check drawing at pixels and leave a picture under build/screenshots/.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace velktest {

class MemoryCanvas {
public:
  MemoryCanvas(int w, int h, int stockBrush = WHITE_BRUSH) : w_(w), h_(h) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    RECT all = {0, 0, w, h};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(stockBrush)));
    GdiFlush();
  }
  ~MemoryCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    unsigned int p = bits_[y * w_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int Count(int x0, int y0, int x1, int y1, COLORREF color) const {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) n += At(x, y) == color;
    return n;
  }
  // Writes the picture as a 32-bit BMP under build/screenshots/.
  void Save(const wchar_t* name) const {
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe, n);
    for (int up = 0; up < 2; ++up) folder = folder.substr(0, folder.find_last_of(L"\\/"));
    folder += L"\\screenshots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = w_;
    ih.biHeight = -h_;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + 4 * w_ * h_;
    GdiFlush();
    FILE* f = _wfopen((folder + name).c_str(), L"wb");
    if (!f) return;
    fwrite(&fh, sizeof fh, 1, f);
    fwrite(&ih, sizeof ih, 1, f);
    fwrite(bits_, 4 * w_ * h_, 1, f);
    fclose(f);
  }

private:
  int w_, h_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  unsigned int* bits_ = nullptr;
};

}  // namespace velktest
