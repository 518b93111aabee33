#include "blocks/panel/items/velk_ui_indicator.h"

#include <cwchar>
#include <new>

#include "blocks/panel/items/control_item_support.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

CVelkUIIndicator::CVelkUIIndicator(UiPanel* owner) : CVelkUIControl(owner) {
  width = kUiIndicatorWidth;
  height = kUiIndicatorHeight;
}

CVelkUIControl* CVelkUIIndicator::Create(UiPanel* panel) {
  return new (std::nothrow) CVelkUIIndicator(panel);
}

void CVelkUIIndicator::BuildProperties(UiPropertyList* list) {
  if (!list) return;
  CVelkUIControl::BuildProperties(list);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Цифр после зап.:", &decimals, 0, kUiIndicatorMaxDecimals);
}

void CVelkUIIndicator::CreateBlock() { CreateControlBlock(this, kUIIndicatorBlockClassId); }

void CVelkUIIndicator::DrawBackground(HDC dc) {
  if (!dc) return;
  CKestOwnedPen grey(CreatePen(PS_SOLID, 1, 0x999999));
  CKestOwnedPen white(CreatePen(PS_SOLID, 1, 0xFFFFFF));
  CKestDcSelection selection(dc);
  selection.Select(grey.Get());
  MoveToEx(dc, x, y + height, nullptr);
  LineTo(dc, x, y);
  LineTo(dc, x + width, y);
  SelectObject(dc, white.Get());
  LineTo(dc, x + width, y + height);
  LineTo(dc, x, y + height);
}

void CVelkUIIndicator::DrawFace(HDC dc) {
  if (!dc) return;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, 0x000000);
  TextOutW(dc, x + 2, y + 2, L"0.000", 5);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

void CVelkUIIndicator::Save(CStream* stream) {
  CVelkUIControl::Save(stream);
  stream->WriteByte(decimals);
}

bool CVelkUIIndicator::Load(CStream* stream) {
  if (!CVelkUIControl::Load(stream)) return false;
  signed char stored = 0;
  if (!ReadField(stream, &stored, 1)) return false;
  decimals = stored < 0 ? 0 : stored > kUiIndicatorMaxDecimals ? kUiIndicatorMaxDecimals : stored;
  return true;
}

void CVelkUIIndicator::SetText(const wchar_t* newText) {
  if (!newText) newText = L"";
  wcsncpy(text, newText, kUiIndicatorTextChars - 1);
  text[kUiIndicatorTextChars - 1] = 0;
}
