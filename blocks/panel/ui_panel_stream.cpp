// The panel's item set, its "vkUI" stream with the preview picture, and the
// clipboard format "VELK_UI".
#include <climits>
#include <cstring>

#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/velk_ui_control.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "foundation/paths.h"
#include "foundation/stream.h"
#include "kestui/core/kest_host.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"
#include "kestui/graphics/kest_window_dc.h"

const unsigned char kPanelStreamMagic[4] = {0x76, 0x6B, 0x55, 0x49};  // "vkUI"

namespace {
int BytesLeft(CStream* stream) { return stream->GetSize() - stream->GetPosition(); }

// Closes the clipboard on every return.
class CClipboardScope {
public:
  explicit CClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~CClipboardScope() {
    if (open_) CloseClipboard();
  }
  CClipboardScope(const CClipboardScope&) = delete;
  CClipboardScope& operator=(const CClipboardScope&) = delete;
  bool IsOpen() const { return open_; }

private:
  bool open_;
};
}  // namespace

bool LoadScreenPicture(CKestImage* image) {
  if (!image) return false;
  wchar_t* module = DupModulePath();
  wchar_t* path = module ? DupDirectoryPart(module) : nullptr;
  FreeBuffer(module);
  if (!path) return false;
  path = AppendString(path, L"screen.png");
  CKestImage loaded;
  bool ok = path && SUCCEEDED(loaded.Load(path));
  FreeBuffer(path);
  if (!ok || loaded.GetWidth() <= 0 || loaded.GetHeight() <= 0) return false;
  int w = loaded.GetWidth();
  int h = loaded.GetHeight();
  if (h > INT_MAX / 4 / w) return false;  // its pixels could not be counted
  image->Destroy();
  if (!image->Create(w, h, 32, CKestImage::createAlphaChannel)) return false;
  if (loaded.GetBPP() == 32 && loaded.HasAlphaChannel()) {
    // Row by row, as loaded (colours premultiplied by alpha).
    for (int row = 0; row < h; ++row)
      memcpy(image->GetPixelAddress(0, row), loaded.GetPixelAddress(0, row), static_cast<size_t>(4 * w));
    return true;
  }
  // A picture without alpha becomes an opaque 32-bit one.
  HDC dc = image->GetDC();
  if (dc) loaded.BitBlt(dc, 0, 0);
  image->ReleaseDC();
  for (int row = 0; row < h; ++row) {
    BYTE* p = static_cast<BYTE*>(image->GetPixelAddress(0, row));
    for (int col = 0; col < w; ++col) p[4 * col + 3] = 0xFF;
  }
  return true;
}

void UiPanel::WriteItems(CStream* stream, bool selectedOnly) {
  int count = 0;
  for (CVelkUIControl* item = items; item; item = item->next)
    if (!selectedOnly || item->selected) ++count;
  stream->WriteInt32(count);
  for (CVelkUIControl* item = items; item; item = item->next) {
    if (selectedOnly && !item->selected) continue;
    stream->WriteStringW(item->kindName);
    item->Save(stream);
  }
}

bool UiPanel::ReadItems(CStream* stream, bool paste) {
  if (BytesLeft(stream) < 4) return false;
  int count = stream->ReadInt32();
  int size = stream->GetSize();
  for (int i = 0; i < count; ++i) {
    if (stream->GetPosition() >= size) return true;
    wchar_t* kind = stream->ReadStringW();
    CVelkUIControl* item = CreatePanelItemByKind(this, kind);
    FreeBuffer(kind);
    if (!item) return false;
    if (!item->Load(stream) || stream->outOfMemory) {
      // A record cut short, or a text of it lost for want of memory: the
      // item is not kept half read.
      delete item;
      return false;
    }
    item->selected = paste ? 1 : 0;
    if (paste) {
      // The pasted item has no block yet: a device block of its name is
      // another's.
      CVelkUIControl* same = item->name ? FindItemByName(item->name) : nullptr;
      if ((same && same != item) || IsDeviceCaption(item->name)) item->MakeUniqueName();
      item->CreateBlock();
    }
  }
  return true;
}

bool UiPanel::WritePreview(CStream* stream) {
  CKestWindowDC screen(nullptr);
  if (!screen) return false;
  CKestOwnedDC memory(CreateCompatibleDC(screen.Get()));
  CKestOwnedBitmap bitmap(
      CreateCompatibleBitmap(screen.Get(), kPanelCanvasWidth, kPanelCanvasHeight));
  if (!memory || !bitmap) return false;
  {
    CKestDcSelection selection(memory.Get());
    if (!selection.Select(bitmap.Get())) return false;
    CKestOwnedBrush fill(CreateSolidBrush(kPanelPreviewFill));
    RECT all = {0, 0, kPanelCanvasWidth, kPanelCanvasHeight};
    FillRect(memory.Get(), &all, fill.Get() ? fill.Get() : static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    for (CVelkUIControl* item = items; item; item = item->next) item->DrawBackground(memory.Get());
  }

  CKestImage picture;
  if (!LoadScreenPicture(&picture)) {
    GetKestHost()->ShowMessage(MB_OK | MB_ICONERROR, L"Ошибка",
                               L"Невозможно загрузить файл screen.png!");
    return false;
  }
  int w = picture.GetWidth();
  int h = picture.GetHeight();
  // The alpha bytes, kept aside while GDI draws into the picture; the
  // colours are written as they are in the file, not premultiplied.
  BYTE* alpha = static_cast<BYTE*>(AllocBuffer(w * h));
  if (!alpha) return false;
  bool premultiplied = picture.HasAlphaChannel();
  for (int row = 0; row < h; ++row) {
    BYTE* p = static_cast<BYTE*>(picture.GetPixelAddress(0, row));
    for (int col = 0; col < w; ++col) {
      BYTE a = p[4 * col + 3];
      alpha[row * w + col] = a;
      if (premultiplied && a != 0 && a != 0xFF) {
        for (int k = 0; k < 3; ++k) {
          int c = (p[4 * col + k] * 255 + a / 2) / a;
          p[4 * col + k] = static_cast<BYTE>(c > 255 ? 255 : c);
        }
      }
    }
  }
  HDC target = picture.GetDC();
  if (target) {
    CKestDcSelection selection(memory.Get());
    selection.Select(bitmap.Get());
    int oldMode = SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, kPanelPreviewLeft, kPanelPreviewTop, kPanelPreviewWidth, kPanelPreviewHeight, memory.Get(), 0, 0,
               kPanelCanvasWidth, kPanelCanvasHeight, SRCCOPY);
    SetStretchBltMode(target, oldMode);
    GdiFlush();
  }
  picture.ReleaseDC();

  stream->WriteInt32(w);
  stream->WriteInt32(h);
  BYTE* row = static_cast<BYTE*>(AllocBuffer(4 * w));
  if (row) {
    for (int y = 0; y < h; ++y) {
      const BYTE* p = static_cast<const BYTE*>(picture.GetPixelAddress(0, y));
      for (int x = 0; x < w; ++x) {
        row[4 * x + 0] = p[4 * x + 2];
        row[4 * x + 1] = p[4 * x + 1];
        row[4 * x + 2] = p[4 * x + 0];
        row[4 * x + 3] = alpha[y * w + x];
      }
      stream->Write(row, 4 * w);
    }
  } else {
    // Out of memory half way: the pixels still take their room, so the
    // stream stays readable.
    for (int i = 0; i < w * h; ++i) stream->WriteInt32(0);
  }
  FreeBuffer(row);
  FreeBuffer(alpha);
  return true;
}

void UiPanel::Save(CStream* stream) {
  stream->Write(kPanelStreamMagic, 4);
  WriteItems(stream, false);
  if (!WritePreview(stream)) {
    // No picture: an empty preview keeps the stream readable.
    stream->WriteInt32(0);
    stream->WriteInt32(0);
  }
}

bool UiPanel::Load(CStream* stream) {
  if (BytesLeft(stream) < 4) return false;
  for (int i = 0; i < 4; ++i)
    if (stream->ReadByte() != kPanelStreamMagic[i]) return false;
  if (!ReadItems(stream, false)) return false;
  if (BytesLeft(stream) < 8) return false;
  int w = stream->ReadInt32();
  int h = stream->ReadInt32();
  if (w < 0 || h < 0) return false;
  // Pixels of 4 bytes each, checked against the bytes left without
  // overflowing.
  int pixelsLeft = BytesLeft(stream) / 4;
  if (w != 0 && h > pixelsLeft / w) return false;
  stream->Seek(w * h * 4, 1);
  return true;
}

UINT UiPanel::ClipboardFormat() { return RegisterClipboardFormatW(L"VELK_UI"); }

bool UiPanel::CanPaste() const {
  UINT format = ClipboardFormat();
  return format != 0 && IsClipboardFormatAvailable(format);
}

void UiPanel::CopySelection() {
  UINT format = ClipboardFormat();
  if (!format) return;
  CClipboardScope clipboard(CanvasWindow());
  if (!clipboard.IsOpen()) return;
  try {
    EmptyClipboard();
    CMemoryStream stream;
    WriteItems(&stream, true);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, static_cast<SIZE_T>(stream.size));
    if (!memory) return;
    void* bytes = GlobalLock(memory);
    if (!bytes) {
      GlobalFree(memory);
      return;
    }
    if (stream.size > 0) memcpy(bytes, stream.data, static_cast<size_t>(stream.size));
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) GlobalFree(memory);
  } catch (...) {
  }
}

void UiPanel::Paste() {
  if (!CanPaste()) return;
  SetAllSelected(false);
  CClipboardScope clipboard(CanvasWindow());
  if (!clipboard.IsOpen()) return;
  HANDLE data = GetClipboardData(ClipboardFormat());
  if (!data) return;
  const void* bytes = GlobalLock(data);
  if (!bytes) return;
  SIZE_T size = GlobalSize(data);
  try {
    CMemoryStream stream;
    if (size > 0 && size < 0x7FFFFFFF) stream.Write(bytes, static_cast<int>(size));
    stream.Seek(0, 0);
    ReadItems(&stream, true);
  } catch (...) {
  }
  GlobalUnlock(data);
  InvalidateCanvas();
}
