#include "blocks/panel/items/velk_ui_image.h"

#include <climits>
#include <cstring>
#include <new>

#include "blocks/panel/editor/ui_img_dlg.h"
#include "blocks/panel/items/item_strings.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"

namespace {
const int kNewImageSize = 104;
const int kMaxPaletteEntries = 256;

bool IsStoredDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32; }

int OpenPictureDialog(CVelkUIControl* item) {
  return ShowPictureDialog(static_cast<CVelkUIImage*>(item));
}
}  // namespace

int PictureRowBytes(int width, int bitsPerPixel) {
  if (bitsPerPixel < 8) return (width * bitsPerPixel + 7) / 8;
  return (bitsPerPixel + 7) / 8 * width;
}

CVelkUIImage::CVelkUIImage(UiPanel* owner) : CVelkUIControl(owner) {
  width = kNewImageSize;
  height = kNewImageSize;
}

void CVelkUIImage::BuildProperties(UiPropertyList* list) {
  CVelkUIControl::BuildProperties(list);
  UiProperty::UiPropertyDialog(list, L"Изображение", OpenPictureDialog);
}

void CVelkUIImage::DrawBackground(HDC dc) {
  if (!dc) return;
  if (picture.IsNull()) {
    CKestDcSelection selection(dc);
    selection.Select(GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, x, y, x + width, y + height);
    MoveToEx(dc, x, y, nullptr);
    LineTo(dc, x + width, y + height);
    MoveToEx(dc, x + width, y, nullptr);
    LineTo(dc, x, y + height);
    return;
  }
  picture.Draw(dc, x, y, width, height);
}

void CVelkUIImage::SizeToPicture() {
  if (picture.IsNull()) return;
  Invalidate();
  width = picture.GetWidth();
  height = picture.GetHeight();
  if (panel) panel->InvalidateCanvas();
}

void CVelkUIImage::Save(CStream* stream) {
  CVelkUIControl::Save(stream);
  if (picture.IsNull() || picture.GetWidth() <= 0 || picture.GetHeight() <= 0) {
    stream->WriteInt32(0);
    stream->WriteInt32(0);
    return;
  }
  int w = picture.GetWidth();
  int h = picture.GetHeight();
  int bpp = picture.GetBPP();
  stream->WriteInt32(w);
  stream->WriteInt32(h);
  stream->WriteByte(bpp);
  if (bpp <= 8) {
    int entries = picture.GetMaxColorTableEntries();
    RGBQUAD table[kMaxPaletteEntries] = {};
    picture.GetColorTable(0, static_cast<UINT>(entries), table);
    stream->WriteByte(entries - 1);
    for (int i = 0; i < entries; ++i) {
      stream->WriteByte(table[i].rgbBlue);
      stream->WriteByte(table[i].rgbGreen);
      stream->WriteByte(table[i].rgbRed);
      stream->WriteByte(0);
    }
  }
  int rowBytes = PictureRowBytes(w, bpp);
  for (int row = 0; row < h; ++row)
    stream->Write(picture.GetPixelAddress(0, row), rowBytes);
}

bool CVelkUIImage::Load(CStream* stream) {
  picture.Destroy();
  if (!CVelkUIControl::Load(stream)) return false;
  if (ItemBytesLeft(stream) < 8) return false;
  int w = stream->ReadInt32();
  int h = stream->ReadInt32();
  if (w == 0 || h == 0) return true;  // no picture
  if (w < 0 || h < 0 || ItemBytesLeft(stream) < 1) return false;
  int bpp = stream->ReadByte();
  if (!IsStoredDepth(bpp)) return false;
  if (w > INT_MAX / 32) return false;
  RGBQUAD table[kMaxPaletteEntries] = {};
  int entries = 0;
  if (bpp <= 8) {
    if (ItemBytesLeft(stream) < 1) return false;
    entries = stream->ReadByte() + 1;
    if (entries > (1 << bpp) || ItemBytesLeft(stream) < 4 * entries) return false;
    for (int i = 0; i < entries; ++i) {
      table[i].rgbBlue = static_cast<BYTE>(stream->ReadByte());
      table[i].rgbGreen = static_cast<BYTE>(stream->ReadByte());
      table[i].rgbRed = static_cast<BYTE>(stream->ReadByte());
      stream->ReadByte();
      table[i].rgbReserved = 0;
    }
  }
  int rowBytes = PictureRowBytes(w, bpp);
  // The rows must all be in the stream before anything is made.
  if (rowBytes <= 0 || h > ItemBytesLeft(stream) / rowBytes) return false;
  DWORD flags = bpp == 32 ? static_cast<DWORD>(CKestImage::createAlphaChannel) : 0u;
  if (!picture.Create(w, h, bpp, flags)) return false;
  if (entries > 0) picture.SetColorTable(0, static_cast<UINT>(entries), table);
  for (int row = 0; row < h; ++row) {
    if (stream->Read(picture.GetPixelAddress(0, row), rowBytes) != rowBytes) {
      picture.Destroy();
      return false;
    }
  }
  return true;
}

CVelkUIControl* NewVelkUIImage(UiPanel* panel) { return new (std::nothrow) CVelkUIImage(panel); }
