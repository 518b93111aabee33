#include "blocks/panel/items/item_font.h"

#include <cwchar>

#include "blocks/panel/ui_property.h"

int ItemFontHeight(int size) { return -(size * 96) / 72; }

int ItemFontDrawnSize(int size) {
  if (size > kItemFontDrawLimit) return kItemFontDrawLimit;
  if (size < -kItemFontDrawLimit) return -kItemFontDrawLimit;
  return size;
}

HFONT CreateItemFont(const wchar_t* faceName, int style, int size) {
  LOGFONTW font = {};
  font.lfHeight = ItemFontHeight(ItemFontDrawnSize(size));
  font.lfWeight = (style & kUiFontStyleBold) ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (style & kUiFontStyleItalic) ? TRUE : FALSE;
  font.lfUnderline = (style & kUiFontStyleUnderline) ? TRUE : FALSE;
  font.lfStrikeOut = FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  if (faceName) wcsncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}
