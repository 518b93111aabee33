#include "kestui/graphics/image.h"

#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <new>
#include <string>
#include <vector>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

namespace gp = Gdiplus;
namespace gpf = Gdiplus::DllExports;

namespace {

// Files larger than this are not taken for pictures (and would not fit a
// 32-bit process decoded anyway).
constexpr uint64_t kMaxPictureFileSize = 256u * 1024u * 1024u;

// GDI+ is started once for the whole process on first use and left running
// until the process ends: shutting it down from a static destructor would
// race with images other static objects still hold.
bool EnsureGdiplus() {
  static const bool started = [] {
    gp::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    return gp::GdiplusStartup(&token, &input, nullptr) == gp::Ok;
  }();
  return started;
}

HRESULT StatusToHresult(gp::Status status) {
  switch (status) {
    case gp::Ok: return S_OK;
    case gp::OutOfMemory: return E_OUTOFMEMORY;
    case gp::InvalidParameter: return E_INVALIDARG;
    case gp::Win32Error: {
      DWORD error = GetLastError();
      return error != 0 ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    default: return E_FAIL;
  }
}

HRESULT LastErrorHresult() {
  DWORD error = GetLastError();
  return error != 0 ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

int StrideOf(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

// A BITMAPINFO with room for 256 colours.
struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

void DefaultColourTable(int bpp, RGBQUAD* out) {
  auto set = [out](int i, int r, int g, int b) {
    out[i].rgbRed = static_cast<BYTE>(r);
    out[i].rgbGreen = static_cast<BYTE>(g);
    out[i].rgbBlue = static_cast<BYTE>(b);
    out[i].rgbReserved = 0;
  };
  if (bpp == 1) {
    set(0, 0, 0, 0);
    set(1, 255, 255, 255);
  } else if (bpp == 4) {
    static const BYTE vga[16][3] = {
        {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (int i = 0; i < 16; ++i) set(i, vga[i][0], vga[i][1], vga[i][2]);
  } else if (bpp == 8) {
    int i = 0;
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) set(i++, r * 51, g * 51, b * 51);
    for (int k = 0; k < 40; ++k) {
      int v = (k * 255 + 20) / 39;
      set(i++, v, v, v);
    }
  }
}

// Opaque colour of a premultiplied pixel over white, for formats without
// transparency.
BYTE OverWhite(BYTE premultiplied, BYTE alpha) {
  return static_cast<BYTE>(std::min(255, premultiplied + 255 - alpha));
}

BYTE Unpremultiply(BYTE premultiplied, BYTE alpha) {
  if (alpha == 0) return 0;
  return static_cast<BYTE>(std::min(255, (premultiplied * 255 + alpha / 2) / alpha));
}

BYTE Premultiply(BYTE colour, BYTE alpha) {
  return static_cast<BYTE>((colour * alpha + 127) / 255);
}

int IndexAt(const BYTE* row, int x, int bpp) {
  switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default: return row[x];
  }
}

void SetIndexAt(BYTE* row, int x, int bpp, int index) {
  switch (bpp) {
    case 1: {
      BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<BYTE>(index ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case 4:
      if (x & 1)
        row[x >> 1] = static_cast<BYTE>((row[x >> 1] & 0xF0) | (index & 0x0F));
      else
        row[x >> 1] = static_cast<BYTE>((row[x >> 1] & 0x0F) | ((index & 0x0F) << 4));
      break;
    default: row[x] = static_cast<BYTE>(index); break;
  }
}

// The extension of a path in lower case, without the dot ("" when none).
std::wstring LowerExtension(const wchar_t* path) {
  const wchar_t* dot = nullptr;
  for (const wchar_t* p = path; *p; ++p) {
    if (*p == L'.') dot = p;
    else if (*p == L'\\' || *p == L'/') dot = nullptr;
  }
  std::wstring ext;
  if (dot) {
    for (const wchar_t* p = dot + 1; *p; ++p) ext += static_cast<wchar_t>(std::towlower(*p));
  }
  return ext;
}

enum class FileKind { Unknown, Bmp, Jpeg, Png, Gif, Tiff };

FileKind KindOfPath(const wchar_t* path) {
  std::wstring ext = LowerExtension(path);
  if (ext == L"bmp" || ext == L"dib") return FileKind::Bmp;
  if (ext == L"jpg" || ext == L"jpeg" || ext == L"jpe" || ext == L"jfif") return FileKind::Jpeg;
  if (ext == L"png") return FileKind::Png;
  if (ext == L"gif") return FileKind::Gif;
  if (ext == L"tif" || ext == L"tiff") return FileKind::Tiff;
  return FileKind::Unknown;
}

bool FindEncoder(const wchar_t* mime, CLSID* clsid) {
  UINT count = 0, size = 0;
  if (gpf::GdipGetImageEncodersSize(&count, &size) != gp::Ok || count == 0 || size == 0)
    return false;
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<gp::ImageCodecInfo*>(buffer.data());
  if (gpf::GdipGetImageEncoders(count, size, codecs) != gp::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && lstrcmpiW(codecs[i].MimeType, mime) == 0) {
      *clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

// Deletes a GDI+ image when it goes.
struct GpImageHolder {
  gp::GpBitmap* bitmap = nullptr;
  ~GpImageHolder() {
    if (bitmap) gpf::GdipDisposeImage(bitmap);
  }
};

bool WriteWholeFile(const wchar_t* path, const CPlainArray<BYTE>& bytes, HRESULT* hr) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *hr = LastErrorHresult();
    return false;
  }
  size_t done = 0;
  bool ok = true;
  size_t total = static_cast<size_t>(bytes.Count());
  while (done < total) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(total - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.Data() + done, chunk, &written, nullptr) || written == 0) {
      *hr = LastErrorHresult();
      ok = false;
      break;
    }
    done += written;
  }
  CloseHandle(file);
  if (!ok) DeleteFileW(path);
  return ok;
}

// Holds the image's memory DC for the length of one drawing call.
class ImageDC {
public:
  explicit ImageDC(const CKestImage& image) : image_(image), dc_(image.GetDC()) {}
  ~ImageDC() {
    if (dc_) image_.ReleaseDC();
  }
  ImageDC(const ImageDC&) = delete;
  ImageDC& operator=(const ImageDC&) = delete;
  HDC get() const { return dc_; }

private:
  const CKestImage& image_;
  HDC dc_;
};

}  // namespace

CKestImage::~CKestImage() { Destroy(); }

void CKestImage::Destroy() {
  if (dc_) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  dc_ = nullptr;
  oldBitmap_ = nullptr;
  dcUses_ = 0;
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  top_ = nullptr;
  width_ = height_ = bpp_ = pitch_ = 0;
  hasAlpha_ = false;
  transparentIndex_ = -1;
}

void CKestImage::Swap(CKestImage& other) {
  std::swap(bitmap_, other.bitmap_);
  std::swap(top_, other.top_);
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(bpp_, other.bpp_);
  std::swap(pitch_, other.pitch_);
  std::swap(hasAlpha_, other.hasAlpha_);
  std::swap(transparentIndex_, other.transparentIndex_);
  std::swap(dc_, other.dc_);
  std::swap(oldBitmap_, other.oldBitmap_);
  std::swap(dcUses_, other.dcUses_);
}

bool CKestImage::TakeDibSection(HBITMAP bitmap, DIBOrientation orientation) {
  DIBSECTION ds;
  if (!bitmap || GetObjectW(bitmap, sizeof(ds), &ds) != static_cast<int>(sizeof(ds)) ||
      !ds.dsBm.bmBits)
    return false;
  int bpp = ds.dsBm.bmBitsPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
  if (ds.dsBmih.biCompression != BI_RGB && ds.dsBmih.biCompression != BI_BITFIELDS) return false;
  int width = ds.dsBm.bmWidth;
  int height = ds.dsBm.bmHeight;
  if (width <= 0 || height <= 0) return false;
  int stride = StrideOf(width, bpp);
  BYTE* bits = static_cast<BYTE*>(ds.dsBm.bmBits);
  bool topDown = orientation == DIBOR_DEFAULT ? ds.dsBmih.biHeight < 0
                                               : orientation == DIBOR_TOPDOWN;
  Destroy();
  bitmap_ = bitmap;
  width_ = width;
  height_ = height;
  bpp_ = bpp;
  pitch_ = topDown ? stride : -stride;
  top_ = topDown ? bits : bits + static_cast<size_t>(height - 1) * stride;
  return true;
}

BYTE* CKestImage::Row(int y) const { return top_ + static_cast<ptrdiff_t>(y) * pitch_; }

bool CKestImage::Create(int width, int height, int bpp, DWORD flags) {
  if (width <= 0 || height == 0 || height == INT_MIN) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
  if ((flags & createAlphaChannel) && bpp != 32) return false;
  int rows = height < 0 ? -height : height;
  uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
  if (stride * rows > 0x7FFFFFFFu) return false;

  DibInfo info = {};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bpp);
  info.header.biCompression = BI_RGB;
  if (bpp <= 8) {
    info.header.biClrUsed = 1u << bpp;
    DefaultColourTable(bpp, info.colours);
  }
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  std::memset(bits, 0, static_cast<size_t>(stride * rows));
  CKestImage fresh;
  if (!fresh.TakeDibSection(bitmap, height < 0 ? DIBOR_TOPDOWN : DIBOR_BOTTOMUP)) {
    DeleteObject(bitmap);
    return false;
  }
  fresh.hasAlpha_ = (flags & createAlphaChannel) != 0;
  Destroy();
  Swap(fresh);
  return true;
}

bool CKestImage::SetHasAlphaChannel(bool hasAlpha) {
  if (hasAlpha && bpp_ != 32) return false;
  hasAlpha_ = hasAlpha;
  return true;
}

bool CKestImage::Attach(HBITMAP bitmap, DIBOrientation orientation) {
  if (!bitmap) return false;
  if (bitmap == bitmap_) return true;
  CKestImage taken;
  if (!taken.TakeDibSection(bitmap, orientation)) return false;
  Destroy();
  Swap(taken);
  return true;
}

HBITMAP CKestImage::Detach() {
  if (dc_) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
    oldBitmap_ = nullptr;
    dcUses_ = 0;
  }
  HBITMAP bitmap = bitmap_;
  bitmap_ = nullptr;
  Destroy();
  return bitmap;
}

// ---- loading

HRESULT CKestImage::Load(const wchar_t* path) {
  if (!path || !*path) return E_INVALIDARG;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastErrorHresult();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) {
    HRESULT hr = LastErrorHresult();
    CloseHandle(file);
    return hr;
  }
  if (static_cast<uint64_t>(size.QuadPart) > kMaxPictureFileSize) {
    CloseHandle(file);
    return E_OUTOFMEMORY;
  }
  // The file's bytes go through the foundation's buffers, so that a refusal
  // is an answer (and a test can bring one about).
  CPlainArray<BYTE> bytes;
  if (!bytes.Resize(static_cast<int>(size.QuadPart))) {
    CloseHandle(file);
    return E_OUTOFMEMORY;
  }
  size_t total = static_cast<size_t>(bytes.Count());
  size_t done = 0;
  while (done < total) {
    DWORD got = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(total - done, 1u << 20));
    if (!ReadFile(file, bytes.Data() + done, chunk, &got, nullptr)) {
      HRESULT hr = LastErrorHresult();
      CloseHandle(file);
      return hr;
    }
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  CloseHandle(file);
  if (done == 0) return E_FAIL;
  return LoadFromMemory(bytes.Data(), done);
}

HRESULT CKestImage::LoadFromMemory(const void* data, size_t size) {
  if (!data) return E_INVALIDARG;
  if (size == 0) return E_FAIL;
  if (!EnsureGdiplus()) return E_FAIL;

  HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!global) return E_OUTOFMEMORY;
  void* target = GlobalLock(global);
  if (!target) {
    GlobalFree(global);
    return E_OUTOFMEMORY;
  }
  std::memcpy(target, data, size);
  GlobalUnlock(global);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(global, TRUE, &stream)) || !stream) {
    GlobalFree(global);
    return E_OUTOFMEMORY;
  }

  CKestImage fresh;
  HRESULT hr = S_OK;
  {
    // GDI+ may read the stream until the bitmap is gone: the holder goes
    // first, then the stream.
    GpImageHolder source;
    gp::Status status = gpf::GdipCreateBitmapFromStream(stream, &source.bitmap);
    if (status != gp::Ok || !source.bitmap) {
      hr = E_FAIL;  // GDI+ answers OutOfMemory for most bytes it cannot read
    } else {
      UINT width = 0, height = 0;
      gp::PixelFormat format = 0;
      gpf::GdipGetImageWidth(source.bitmap, &width);
      gpf::GdipGetImageHeight(source.bitmap, &height);
      gpf::GdipGetImagePixelFormat(source.bitmap, &format);
      int bpp = 24;
      gp::PixelFormat lockFormat = PixelFormat24bppRGB;
      bool alpha = false;
      if (format & PixelFormatIndexed) {
        bpp = static_cast<int>((format >> 8) & 0xFF);
        lockFormat = format;
      } else if (format & PixelFormatAlpha) {
        bpp = 32;
        lockFormat = PixelFormat32bppPARGB;
        alpha = true;
      } else if (format == PixelFormat32bppRGB) {
        bpp = 32;
        lockFormat = PixelFormat32bppRGB;
      }
      if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
          (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)) {
        hr = E_FAIL;
      } else if (!fresh.Create(static_cast<int>(width), static_cast<int>(height), bpp,
                               alpha ? DWORD{createAlphaChannel} : DWORD{0})) {
        hr = E_OUTOFMEMORY;
      }
      if (SUCCEEDED(hr) && bpp <= 8) {
        INT paletteSize = 0;
        if (gpf::GdipGetImagePaletteSize(source.bitmap, &paletteSize) == gp::Ok &&
            paletteSize >= static_cast<INT>(sizeof(gp::ColorPalette))) {
          std::vector<BYTE> buffer(static_cast<size_t>(paletteSize));
          auto* palette = reinterpret_cast<gp::ColorPalette*>(buffer.data());
          if (gpf::GdipGetImagePalette(source.bitmap, palette, paletteSize) == gp::Ok) {
            UINT room = (static_cast<UINT>(paletteSize) - offsetof(gp::ColorPalette, Entries)) /
                        sizeof(gp::ARGB);
            UINT count = std::min<UINT>({palette->Count, room, 1u << bpp});
            RGBQUAD colours[256] = {};
            LONG transparent = -1;
            for (UINT i = 0; i < count; ++i) {
              gp::ARGB c = palette->Entries[i];
              colours[i].rgbRed = static_cast<BYTE>(c >> 16);
              colours[i].rgbGreen = static_cast<BYTE>(c >> 8);
              colours[i].rgbBlue = static_cast<BYTE>(c);
              if (transparent < 0 && (c >> 24) == 0) transparent = static_cast<LONG>(i);
            }
            if (count > 0 && !fresh.SetColorTable(0, count, colours)) hr = E_FAIL;
            fresh.transparentIndex_ = transparent;
          }
        }
      }
      if (SUCCEEDED(hr)) {
        gp::GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        gp::BitmapData locked = {};
        status = gpf::GdipBitmapLockBits(source.bitmap, &rect, gp::ImageLockModeRead, lockFormat,
                                         &locked);
        if (status != gp::Ok || !locked.Scan0) {
          hr = StatusToHresult(status == gp::Ok ? gp::GenericError : status);
        } else {
          size_t rowBytes = (static_cast<size_t>(width) * bpp + 7) / 8;
          const BYTE* src = static_cast<const BYTE*>(locked.Scan0);
          for (UINT y = 0; y < height; ++y)
            std::memcpy(fresh.Row(static_cast<int>(y)),
                        src + static_cast<ptrdiff_t>(y) * locked.Stride, rowBytes);
          gpf::GdipBitmapUnlockBits(source.bitmap, &locked);
        }
      }
    }
  }
  stream->Release();
  if (FAILED(hr)) return hr;
  Destroy();
  Swap(fresh);
  return S_OK;
}

HRESULT CKestImage::LoadFromResource(HINSTANCE instance, UINT id) {
  return LoadFromResource(instance, MAKEINTRESOURCEW(id));
}

HRESULT CKestImage::LoadFromResource(HINSTANCE instance, const wchar_t* name) {
  if (!name) return E_INVALIDARG;
  // A null instance would make LoadImage read the system's own pictures.
  if (!instance) instance = GetModuleHandleW(nullptr);

  if (FindResourceW(instance, name, RT_BITMAP)) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return LastErrorHresult();
    CKestImage fresh;
    if (!fresh.TakeDibSection(bitmap, DIBOR_DEFAULT)) {
      DeleteObject(bitmap);
      return E_FAIL;
    }
    // A 32-bit bitmap with any alpha in it carries a transparency mask
    // (straight alpha, as drawing programs write it).
    if (fresh.bpp_ == 32) {
      GdiFlush();
      bool anyAlpha = false;
      for (int y = 0; y < fresh.height_ && !anyAlpha; ++y) {
        const BYTE* row = fresh.Row(y);
        for (int x = 0; x < fresh.width_; ++x)
          if (row[x * 4 + 3]) {
            anyAlpha = true;
            break;
          }
      }
      if (anyAlpha) {
        for (int y = 0; y < fresh.height_; ++y) {
          BYTE* p = fresh.Row(y);
          for (int x = 0; x < fresh.width_; ++x, p += 4) {
            p[0] = Premultiply(p[0], p[3]);
            p[1] = Premultiply(p[1], p[3]);
            p[2] = Premultiply(p[2], p[3]);
          }
        }
        fresh.hasAlpha_ = true;
      }
    }
    Destroy();
    Swap(fresh);
    return S_OK;
  }

  HRSRC resource = FindResourceW(instance, name, RT_RCDATA);
  if (!resource) resource = FindResourceW(instance, name, L"PNG");
  if (!resource) return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
  DWORD size = SizeofResource(instance, resource);
  HGLOBAL loaded = LoadResource(instance, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size == 0) return E_FAIL;
  return LoadFromMemory(data, size);
}

// ---- saving

HRESULT CKestImage::Save(const wchar_t* path) const {
  if (IsNull() || !path || !*path) return E_INVALIDARG;
  FileKind kind = KindOfPath(path);
  if (kind == FileKind::Unknown) return E_INVALIDARG;
  GdiFlush();

  if (kind == FileKind::Bmp) {
    // Written here rather than by GDI+, so that indexed pictures keep their
    // depth and colour table exactly. Rows bottom-up, as usual for BMP.
    int stride = StrideOf(width_, bpp_);
    int colours = IsIndexed() ? (1 << bpp_) : 0;
    size_t offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) +
                    static_cast<size_t>(colours) * sizeof(RGBQUAD);
    size_t imageSize = static_cast<size_t>(stride) * height_;
    CPlainArray<BYTE> bytes;
    if (offset + imageSize > kFoundationMaxBlock || !bytes.Resize(static_cast<int>(offset + imageSize)))
      return E_OUTOFMEMORY;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = static_cast<DWORD>(bytes.Count());
    file.bfOffBits = static_cast<DWORD>(offset);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width_;
    info.biHeight = height_;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bpp_);
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(imageSize);
    info.biXPelsPerMeter = info.biYPelsPerMeter = 3780;  // 96 dpi
    info.biClrUsed = static_cast<DWORD>(colours);
    std::memcpy(bytes.Data(), &file, sizeof(file));
    std::memcpy(bytes.Data() + sizeof(file), &info, sizeof(info));
    if (colours > 0) {
      RGBQUAD table[256] = {};
      if (!GetColorTable(0, static_cast<UINT>(colours), table)) return E_FAIL;
      for (int i = 0; i < colours; ++i) table[i].rgbReserved = 0;
      std::memcpy(bytes.Data() + sizeof(file) + sizeof(info), table,
                  static_cast<size_t>(colours) * sizeof(RGBQUAD));
    }
    size_t rowBytes = (static_cast<size_t>(width_) * bpp_ + 7) / 8;
    for (int y = 0; y < height_; ++y) {
      BYTE* out = bytes.Data() + offset + static_cast<size_t>(height_ - 1 - y) * stride;
      std::memcpy(out, Row(y), rowBytes);
      if (hasAlpha_) {
        for (int x = 0; x < width_; ++x) {
          BYTE* p = out + x * 4;
          p[0] = Unpremultiply(p[0], p[3]);
          p[1] = Unpremultiply(p[1], p[3]);
          p[2] = Unpremultiply(p[2], p[3]);
        }
      }
    }
    HRESULT hr = S_OK;
    return WriteWholeFile(path, bytes, &hr) ? S_OK : hr;
  }

  if (!EnsureGdiplus()) return E_FAIL;
  const wchar_t* mime = L"image/png";
  switch (kind) {
    case FileKind::Jpeg: mime = L"image/jpeg"; break;
    case FileKind::Gif: mime = L"image/gif"; break;
    case FileKind::Tiff: mime = L"image/tiff"; break;
    default: break;
  }
  CLSID encoder;
  if (!FindEncoder(mime, &encoder)) return E_FAIL;

  // A GDI+ copy of the picture in a format the encoder takes: JPEG only
  // takes direct colour without alpha.
  gp::PixelFormat format = PixelFormat24bppRGB;
  if (IsIndexed() && kind != FileKind::Jpeg) {
    format = bpp_ == 1 ? PixelFormat1bppIndexed
                       : bpp_ == 4 ? PixelFormat4bppIndexed : PixelFormat8bppIndexed;
  } else if (hasAlpha_ && kind != FileKind::Jpeg) {
    format = PixelFormat32bppARGB;
  }
  RGBQUAD table[256] = {};
  if (IsIndexed() && !GetColorTable(0, static_cast<UINT>(1 << bpp_), table)) return E_FAIL;

  GpImageHolder copy;
  gp::Status status =
      gpf::GdipCreateBitmapFromScan0(width_, height_, 0, format, nullptr, &copy.bitmap);
  if (status != gp::Ok || !copy.bitmap) return StatusToHresult(status);
  if (format & PixelFormatIndexed) {
    int count = 1 << bpp_;
    std::vector<BYTE> buffer(sizeof(gp::ColorPalette) + sizeof(gp::ARGB) * count);
    auto* palette = reinterpret_cast<gp::ColorPalette*>(buffer.data());
    palette->Flags = 0;
    palette->Count = static_cast<UINT>(count);
    for (int i = 0; i < count; ++i) {
      palette->Entries[i] = 0xFF000000u | (static_cast<gp::ARGB>(table[i].rgbRed) << 16) |
                            (static_cast<gp::ARGB>(table[i].rgbGreen) << 8) | table[i].rgbBlue;
      if (i == transparentIndex_ && kind != FileKind::Jpeg) {
        palette->Entries[i] &= 0x00FFFFFFu;
        palette->Flags |= gp::PaletteFlagsHasAlpha;
      }
    }
    status = gpf::GdipSetImagePalette(copy.bitmap, palette);
    if (status != gp::Ok) return StatusToHresult(status);
  }
  gp::GpRect rect(0, 0, width_, height_);
  gp::BitmapData locked = {};
  status = gpf::GdipBitmapLockBits(copy.bitmap, &rect, gp::ImageLockModeWrite, format, &locked);
  if (status != gp::Ok || !locked.Scan0) return StatusToHresult(status == gp::Ok ? gp::GenericError : status);
  for (int y = 0; y < height_; ++y) {
    BYTE* out = static_cast<BYTE*>(locked.Scan0) + static_cast<ptrdiff_t>(y) * locked.Stride;
    const BYTE* in = Row(y);
    if (format & PixelFormatIndexed) {
      std::memcpy(out, in, (static_cast<size_t>(width_) * bpp_ + 7) / 8);
    } else if (format == PixelFormat32bppARGB) {
      for (int x = 0; x < width_; ++x, in += 4, out += 4) {
        out[0] = Unpremultiply(in[0], in[3]);
        out[1] = Unpremultiply(in[1], in[3]);
        out[2] = Unpremultiply(in[2], in[3]);
        out[3] = in[3];
      }
    } else {
      for (int x = 0; x < width_; ++x, out += 3) {
        BYTE b, g, r;
        if (bpp_ <= 8) {
          const RGBQUAD& q = table[IndexAt(in, x, bpp_)];
          b = q.rgbBlue, g = q.rgbGreen, r = q.rgbRed;
        } else if (bpp_ == 24) {
          b = in[x * 3], g = in[x * 3 + 1], r = in[x * 3 + 2];
        } else {
          const BYTE* p = in + x * 4;
          b = p[0], g = p[1], r = p[2];
          if (hasAlpha_) b = OverWhite(b, p[3]), g = OverWhite(g, p[3]), r = OverWhite(r, p[3]);
        }
        out[0] = b, out[1] = g, out[2] = r;
      }
    }
  }
  gpf::GdipBitmapUnlockBits(copy.bitmap, &locked);
  status = gpf::GdipSaveImageToFile(copy.bitmap, path, &encoder, nullptr);
  if (status != gp::Ok) {
    HRESULT hr = StatusToHresult(status);
    DeleteFileW(path);
    return hr;
  }
  return S_OK;
}

// ---- bits and pixels

void* CKestImage::GetBits() {
  if (!top_) return nullptr;
  GdiFlush();
  return top_;
}

const void* CKestImage::GetBits() const {
  if (!top_) return nullptr;
  GdiFlush();
  return top_;
}

void* CKestImage::GetPixelAddress(int x, int y) {
  if (!top_ || x < 0 || y < 0 || x >= width_ || y >= height_) return nullptr;
  GdiFlush();
  return Row(y) + (static_cast<size_t>(x) * bpp_) / 8;
}

COLORREF CKestImage::GetPixel(int x, int y) const {
  if (!top_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  GdiFlush();
  const BYTE* row = Row(y);
  if (bpp_ <= 8) {
    RGBQUAD q;
    if (!GetColorTable(static_cast<UINT>(IndexAt(row, x, bpp_)), 1, &q)) return CLR_INVALID;
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
  }
  const BYTE* p = row + x * (bpp_ / 8);
  return RGB(p[2], p[1], p[0]);
}

bool CKestImage::SetPixel(int x, int y, COLORREF colour) {
  if (!top_ || x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  GdiFlush();
  BYTE r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
  if (bpp_ <= 8) {
    int count = 1 << bpp_;
    RGBQUAD table[256];
    if (!GetColorTable(0, static_cast<UINT>(count), table)) return false;
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < count && bestDistance != 0; ++i) {
      long dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
      long distance = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || distance < bestDistance) {
        best = i;
        bestDistance = distance;
      }
    }
    SetIndexAt(Row(y), x, bpp_, best);
    return true;
  }
  BYTE* p = Row(y) + x * (bpp_ / 8);
  p[0] = b;
  p[1] = g;
  p[2] = r;
  if (bpp_ == 32) p[3] = hasAlpha_ ? 0xFF : 0;
  return true;
}

bool CKestImage::SetPixelIndexed(int x, int y, int index) {
  if (!IsIndexed() || x < 0 || y < 0 || x >= width_ || y >= height_ || index < 0 ||
      index >= (1 << bpp_))
    return false;
  GdiFlush();
  SetIndexAt(Row(y), x, bpp_, index);
  return true;
}

bool CKestImage::GetColorTable(UINT first, UINT count, RGBQUAD* colours) const {
  UINT max = static_cast<UINT>(GetMaxColorTableEntries());
  if (!colours || first > max || count > max - first) return false;
  if (count == 0) return true;
  ImageDC dc(*this);
  return dc.get() && GetDIBColorTable(dc.get(), first, count, colours) == count;
}

bool CKestImage::SetColorTable(UINT first, UINT count, const RGBQUAD* colours) {
  UINT max = static_cast<UINT>(GetMaxColorTableEntries());
  if (!colours || first > max || count > max - first) return false;
  if (count == 0) return true;
  ImageDC dc(*this);
  return dc.get() && SetDIBColorTable(dc.get(), first, count, colours) == count;
}

LONG CKestImage::SetTransparentColor(LONG index) {
  LONG previous = transparentIndex_;
  if (index == -1 || (IsIndexed() && index >= 0 && index < (1 << bpp_)))
    transparentIndex_ = index;
  return previous;
}

COLORREF CKestImage::TransparentRGB() const {
  RGBQUAD q;
  if (transparentIndex_ < 0 || !GetColorTable(static_cast<UINT>(transparentIndex_), 1, &q))
    return CLR_INVALID;
  return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

// ---- the memory DC

HDC CKestImage::GetDC() const {
  if (!bitmap_) return nullptr;
  if (dcUses_ == 0) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return nullptr;
    HGDIOBJ old = SelectObject(dc, bitmap_);
    if (!old || old == HGDI_ERROR) {
      DeleteDC(dc);
      return nullptr;
    }
    dc_ = dc;
    oldBitmap_ = old;
  }
  ++dcUses_;
  return dc_;
}

void CKestImage::ReleaseDC() const {
  if (dcUses_ == 0) return;
  if (--dcUses_ == 0) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
    oldBitmap_ = nullptr;
  }
}

// ---- drawing

bool CKestImage::Draw(HDC dc, int x, int y) const {
  return Draw(dc, x, y, width_, height_, 0, 0, width_, height_);
}

bool CKestImage::Draw(HDC dc, int x, int y, int width, int height) const {
  return Draw(dc, x, y, width, height, 0, 0, width_, height_);
}

bool CKestImage::Draw(HDC dc, const RECT& dest) const {
  return Draw(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0,
              width_, height_);
}

bool CKestImage::Draw(HDC dc, const RECT& dest, const RECT& src) const {
  return Draw(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src.left,
              src.top, src.right - src.left, src.bottom - src.top);
}

bool CKestImage::Draw(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                      int ySrc, int srcWidth, int srcHeight) const {
  if (!dc) return false;
  if (transparentIndex_ >= 0)
    return TransparentBlt(dc, xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth,
                          srcHeight, CLR_INVALID);
  if (hasAlpha_)
    return AlphaBlend(dc, xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight,
                      0xFF);
  ImageDC source(*this);
  if (!source.get()) return false;
  if (destWidth == srcWidth && destHeight == srcHeight)
    return ::BitBlt(dc, xDest, yDest, destWidth, destHeight, source.get(), xSrc, ySrc, SRCCOPY) !=
           FALSE;
  int oldMode = SetStretchBltMode(dc, HALFTONE);
  POINT oldOrigin = {0, 0};
  SetBrushOrgEx(dc, 0, 0, &oldOrigin);
  BOOL ok = ::StretchBlt(dc, xDest, yDest, destWidth, destHeight, source.get(), xSrc, ySrc,
                         srcWidth, srcHeight, SRCCOPY);
  if (oldMode) SetStretchBltMode(dc, oldMode);
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  return ok != FALSE;
}

bool CKestImage::BitBlt(HDC dc, int x, int y, DWORD rop) const {
  return BitBlt(dc, x, y, width_, height_, 0, 0, rop);
}

bool CKestImage::BitBlt(HDC dc, int xDest, int yDest, int width, int height, int xSrc, int ySrc,
                        DWORD rop) const {
  if (!dc) return false;
  ImageDC source(*this);
  return source.get() &&
         ::BitBlt(dc, xDest, yDest, width, height, source.get(), xSrc, ySrc, rop) != FALSE;
}

bool CKestImage::StretchBlt(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
                            DWORD rop) const {
  return StretchBlt(dc, xDest, yDest, destWidth, destHeight, 0, 0, width_, height_, rop);
}

bool CKestImage::StretchBlt(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                            int ySrc, int srcWidth, int srcHeight, DWORD rop) const {
  if (!dc) return false;
  ImageDC source(*this);
  return source.get() && ::StretchBlt(dc, xDest, yDest, destWidth, destHeight, source.get(), xSrc,
                                      ySrc, srcWidth, srcHeight, rop) != FALSE;
}

bool CKestImage::AlphaBlend(HDC dc, int x, int y, BYTE constantAlpha) const {
  return AlphaBlend(dc, x, y, width_, height_, 0, 0, width_, height_, constantAlpha);
}

bool CKestImage::AlphaBlend(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                            int ySrc, int srcWidth, int srcHeight, BYTE constantAlpha) const {
  if (!dc) return false;
  ImageDC source(*this);
  if (!source.get()) return false;
  BLENDFUNCTION blend;
  blend.BlendOp = AC_SRC_OVER;
  blend.BlendFlags = 0;
  blend.SourceConstantAlpha = constantAlpha;
  blend.AlphaFormat = hasAlpha_ ? AC_SRC_ALPHA : 0;
  return ::AlphaBlend(dc, xDest, yDest, destWidth, destHeight, source.get(), xSrc, ySrc, srcWidth,
                      srcHeight, blend) != FALSE;
}

bool CKestImage::TransparentBlt(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
                                UINT transparent) const {
  return TransparentBlt(dc, xDest, yDest, destWidth, destHeight, 0, 0, width_, height_,
                        transparent);
}

bool CKestImage::TransparentBlt(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
                                int xSrc, int ySrc, int srcWidth, int srcHeight,
                                UINT transparent) const {
  if (!dc) return false;
  if (transparent == CLR_INVALID) {
    transparent = TransparentRGB();
    if (transparent == CLR_INVALID) return false;
  }
  ImageDC source(*this);
  return source.get() && ::TransparentBlt(dc, xDest, yDest, destWidth, destHeight, source.get(),
                                          xSrc, ySrc, srcWidth, srcHeight, transparent) != FALSE;
}

RECT FitPreviewRect(int areaWidth, int areaHeight, int width, int height) {
  RECT r = {0, 0, 0, 0};
  if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0) return r;
  // 64-bit products: a huge picture in a wide area must not overflow.
  long long drawnWidth = areaWidth;
  long long drawnHeight = static_cast<long long>(areaWidth) * height / width;
  if (drawnHeight > areaHeight) {
    drawnHeight = areaHeight;
    drawnWidth = static_cast<long long>(areaHeight) * width / height;
  }
  r.left = static_cast<LONG>((areaWidth - drawnWidth) / 2);
  r.top = static_cast<LONG>((areaHeight - drawnHeight) / 2);
  r.right = r.left + static_cast<LONG>(drawnWidth);
  r.bottom = r.top + static_cast<LONG>(drawnHeight);
  return r;
}
