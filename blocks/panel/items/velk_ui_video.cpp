#include "blocks/panel/items/velk_ui_video.h"

#include <new>

#include "blocks/panel/items/control_item_support.h"
#include "blocks/panel/panel_kinds.h"
#include "kestui/graphics/kest_gdi_object.h"

CVelkUIVideo::CVelkUIVideo(UiPanel* owner) : CVelkUIControl(owner) {
  width = kUiVideoWidth;
  height = kUiVideoHeight;
}

CVelkUIControl* CVelkUIVideo::Create(UiPanel* panel) { return new (std::nothrow) CVelkUIVideo(panel); }

void CVelkUIVideo::CreateBlock() { CreateControlBlock(this, kUIVideoBlockClassId); }

void CVelkUIVideo::DrawBackground(HDC dc) {
  if (!dc) return;
  RECT r = {x, y, x + width, y + height};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void CVelkUIVideo::DrawFace(HDC dc) {
  if (!dc) return;
  CKestOwnedFont font(CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH, L"Verdana"));
  DrawCenteredText(dc, L"Видео", font.Get(), 0xFFFFFF, x, y, width, height);
}

void CVelkUIVideo::OnMouseDown(int px, int py) {
  int halfWidth = width / 2;
  int halfHeight = height / 2;
  // A window narrower or lower than 2 pixels has no half to measure by.
  mouseX = halfWidth != 0 ? static_cast<float>(px - halfWidth - x) / halfWidth : 0.0f;
  mouseY = halfHeight != 0 ? static_cast<float>(py - halfHeight - y) / halfHeight : 0.0f;
}
