#include "blocks/panel/items/velk_ui_text.h"

#include <new>

#include "blocks/panel/items/item_font.h"
#include "blocks/panel/items/item_strings.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
const int kLoadedStyle = 0;
const int kLoadedSize = 10;
const int kMinFontSize = 5;
const int kMaxFontSize = 100;
}  // namespace

CVelkUIText::CVelkUIText(UiPanel* owner) : CVelkUIControl(owner) {
  text = CopyItemString(L"Текст");
  fontName = CopyItemString(L"Arial");
}

CVelkUIText::~CVelkUIText() {
  FreeBuffer(text);
  FreeBuffer(fontName);
  text = fontName = nullptr;
}

bool CVelkUIText::SetTextCopy(const wchar_t* value) {
  wchar_t* copy = CopyItemString(value);
  if (value && *value && !copy) return false;
  FreeBuffer(text);
  text = copy;
  return true;
}

void CVelkUIText::BuildProperties(UiPropertyList* list) {
  if (!list) return;
  int w = list->CanvasWidth();
  new (std::nothrow) UiProperty(list, UiPropString, L"Название:", &name);
  new (std::nothrow) UiProperty(list, UiPropString, L"Текст:", &text);
  UiProperty::UiPropertyInt(list, UiPropInt, L"X:", &x, 0, w);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Y:", &y, 0, w);
  new (std::nothrow) UiProperty(list, UiPropFontName, L"Шрифт:", &fontName);
  new (std::nothrow) UiProperty(list, UiPropFontStyle, L"Стиль шрифта:", &fontStyle);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Размер шрифта:", &fontSize, kMinFontSize, kMaxFontSize);
  new (std::nothrow) UiProperty(list, UiPropColor, L"Цвет текста:", &textColor);
}

void CVelkUIText::DrawBackground(HDC dc) {
  if (!dc || !text) return;
  CKestOwnedFont font(CreateItemFont(fontName, fontStyle, fontSize));
  CKestDcSelection selection(dc);
  if (font) selection.Select(font.Get());
  int length = static_cast<int>(wcslen(text));
  SIZE extent = {0, 0};
  if (GetTextExtentPoint32W(dc, text, length, &extent)) {
    width = extent.cx;
    height = extent.cy;
  }
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = ::SetTextColor(dc, textColor);
  TextOutW(dc, x, y, text, length);
  ::SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

void CVelkUIText::Save(CStream* stream) {
  CVelkUIControl::Save(stream);
  stream->WriteStringW(text);
  stream->WriteStringW(fontName);
  stream->WriteByte(fontStyle);
  stream->WriteInt16(fontSize);
  stream->WriteInt32(static_cast<int>(textColor));
}

bool CVelkUIText::Load(CStream* stream) {
  FreeBuffer(text);
  FreeBuffer(fontName);
  text = fontName = nullptr;
  if (!CVelkUIControl::Load(stream)) return false;
  if (!ReadItemString(stream, &text)) return false;
  if (!ReadItemString(stream, &fontName)) return false;
  fontStyle = kLoadedStyle;
  fontSize = kLoadedSize;
  if (ItemBytesLeft(stream) < 1) return true;
  fontStyle = stream->ReadByte();
  if (ItemBytesLeft(stream) < 2) return true;
  fontSize = stream->ReadInt16();
  if (ItemBytesLeft(stream) < 4) return true;
  textColor = static_cast<COLORREF>(stream->ReadInt32());
  return true;
}

CVelkUIControl* NewVelkUIText(UiPanel* panel) { return new (std::nothrow) CVelkUIText(panel); }
