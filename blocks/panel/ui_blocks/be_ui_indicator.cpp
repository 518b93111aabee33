#include "blocks/panel/ui_blocks/be_ui_indicator.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/panel/items/velk_ui_indicator.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_gdi_object.h"

namespace {
template <class T>
bool Differs(const unsigned char* value, const unsigned char* last) {
  T now;
  T before;
  memcpy(&now, value, sizeof(T));
  memcpy(&before, last, sizeof(T));
  return now != before;  // a value that is not a number always differs
}

template <class T>
T As(const unsigned char* value) {
  T v;
  memcpy(&v, value, sizeof(T));
  return v;
}

// Prints into the indicator's text, cut to fit.
void PrintInto(CVelkUIIndicator* indicator, const wchar_t* format, ...) {
  wchar_t text[kUiIndicatorTextChars];
  va_list args;
  va_start(args, format);
  _vsnwprintf(text, kUiIndicatorTextChars - 1, format, args);
  va_end(args);
  text[kUiIndicatorTextChars - 1] = 0;
  indicator->SetText(text);
}

void PrintFloating(CVelkUIIndicator* indicator, double v) {
  int decimals = indicator->decimals;
  if (decimals < 0) decimals = 0;
  if (decimals > kUiIndicatorMaxDecimals) decimals = kUiIndicatorMaxDecimals;
  wchar_t format[16];
  _snwprintf(format, 15, L"%%0.%df", decimals);
  format[15] = 0;
  PrintInto(indicator, format, v);
}
}  // namespace

CBEUIIndicator::CBEUIIndicator() {
  SetSize(100, 29);
  SetInputCount(1);
  if (Input(0)) {
    Input(0)->type = kBeSignalAnyScalar;
    Input(0)->description = L"Вход данных";
  }
}

CBEBlock* CBEUIIndicator::Create() { return KeepIfPinsMade(new (std::nothrow) CBEUIIndicator, 1, 0); }

void CBEUIIndicator::Step(float) {
  CVelkUIIndicator* indicator = dynamic_cast<CVelkUIIndicator*>(item);
  const BeOutputPin* source = Input(0) ? Input(0)->source : nullptr;
  if (!indicator || !source) return;
  const unsigned char* v = source->value;
  switch (source->type) {
    case kBeSignalBit:
      if (static_cast<signed char>(v[0]) != static_cast<signed char>(lastValue[0])) {
        indicator->SetText(v[0] ? L"1" : L"0");
        lastValue[0] = v[0];
      }
      break;
    case kBeSignalChar:
      if (Differs<int8_t>(v, lastValue)) {
        PrintInto(indicator, L"%d", static_cast<int>(As<int8_t>(v)));
        memcpy(lastValue, v, 1);
      }
      break;
    case kBeSignalShort:
      if (Differs<int16_t>(v, lastValue)) {
        PrintInto(indicator, L"%d", static_cast<int>(As<int16_t>(v)));
        memcpy(lastValue, v, 2);
      }
      break;
    case kBeSignalInt:
      if (Differs<int32_t>(v, lastValue)) {
        PrintInto(indicator, L"%d", As<int32_t>(v));
        memcpy(lastValue, v, 4);
      }
      break;
    case kBeSignalFloat:
      if (Differs<float>(v, lastValue)) {
        PrintFloating(indicator, As<float>(v));
        memcpy(lastValue, v, 4);
      }
      break;
    case kBeSignalDouble:
      if (Differs<double>(v, lastValue)) {
        PrintFloating(indicator, As<double>(v));
        memcpy(lastValue, v, 8);
      }
      break;
    default:
      break;
  }
}

void CBEUIIndicator::Draw(HDC dc) {
  Draw3DFrame(dc, rect.left, rect.top, rect.right, rect.bottom, 0xCCCCCC, 0xFFFFFF, 0x999999);
  Draw3DFrame(dc, rect.left + 10, rect.top + 5, rect.right - 5, rect.bottom - 5, 0xFFFFFFFF, 0x999999,
              0xFFFFFF);
  {
    CKestOwnedFont font(CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH, L"Arial"));
    CKestDcSelection selection(dc);
    selection.Select(font.Get());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, 0x000000);
    TextOutW(dc, rect.left + 12, rect.top + 7, L"3.14", 4);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
  }
  DrawCaptionBelow(dc);
}
