#include "blocks/panel/items/velk_ui_trackbar.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <new>

#include "blocks/panel/items/control_item_support.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_draw.h"

namespace {
const int kGrabReach = 20;
const int kTickGap = 4;
const int kTickLength = 4;
const int kDefaultTickVertical = 10;
const int kDefaultTickHorizontal = 7;
const float kHugeFloat = 1e24f;
const float kLeastTickStep = 0.0001f;
// Far beyond any canvas: keeps pixel arithmetic inside int.
const double kPixelLimit = 1e6;

int TruncPixels(double v) {
  if (!std::isfinite(v)) return 0;
  if (v > kPixelLimit) v = kPixelLimit;
  if (v < -kPixelLimit) v = -kPixelLimit;
  return static_cast<int>(v);
}
}  // namespace

CVelkUITrackBar::CVelkUITrackBar(UiPanel* owner) : CVelkUIControl(owner) {
  width = kUiTrackBarWidth;
  height = kUiTrackBarHeight;
}

CVelkUIControl* CVelkUITrackBar::Create(UiPanel* panel) {
  return new (std::nothrow) CVelkUITrackBar(panel);
}

void CVelkUITrackBar::BuildProperties(UiPropertyList* list) {
  if (!list) return;
  CVelkUIControl::BuildProperties(list);
  new UiProperty(list, UiPropBool, L"Вертикальный:", &vertical);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Ширина канавки:", &grooveWidth, 1, 32);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Ширина ползунка:", &thumbWidth, 4, 100);
  UiProperty::UiPropertyInt(list, UiPropInt, L"Размер ползунка:", &thumbSize, 4, 100);
  new UiProperty(list, UiPropBool, L"Автовозврат:", &autoReturn);
  new UiProperty(list, UiPropFloat, L"Знач.по умолч.:", &defaultValue);
  UiProperty::UiPropertyFloat(list, UiPropFloat, L"Шаг:", &step, 0.0f, kHugeFloat);
  new UiProperty(list, UiPropFloat, L"Верх/лев.значение:", &topValue);
  new UiProperty(list, UiPropFloat, L"Нижн/прав.значение:", &bottomValue);
  new UiProperty(list, UiPropBool, L"Показать риски:", &showTicks);
  UiProperty::UiPropertyFloat(list, UiPropFloat, L"Шиг рисок:", &tickStep, kLeastTickStep, kHugeFloat);
}

void CVelkUITrackBar::CreateBlock() { CreateControlBlock(this, kUITrackBarBlockClassId); }

int CVelkUITrackBar::ValueToPixel(float v) const {
  float range = bottomValue - topValue;
  int offset = 0;
  if (range != 0.0f) offset = TruncPixels((v - topValue) * static_cast<float>(Length() - 2 * kUiTrackMargin) / range);
  return AlongStart() + offset + kUiTrackMargin;
}

float CVelkUITrackBar::PixelToValue(int p) const {
  int span = Length() - 2 * kUiTrackMargin;
  float v = topValue;
  if (span > 0) v = topValue + static_cast<float>(p - kUiTrackMargin - AlongStart()) * (bottomValue - topValue) / span;
  if (step > 0.0f) v = std::floor((v - defaultValue) / step + 0.5f) * step + defaultValue;
  float low = topValue < bottomValue ? topValue : bottomValue;
  float high = topValue < bottomValue ? bottomValue : topValue;
  if (!(v >= low)) v = low;  // also a value that is not a number
  if (v > high) v = high;
  return v;
}

int CVelkUITrackBar::TickPixels(int* pixels, int capacity) const {
  return TickPixels(pixels, capacity, INT_MIN, INT_MAX);
}

int CVelkUITrackBar::TickPixels(int* pixels, int capacity, int firstPixel, int lastPixel) const {
  if (!pixels || capacity <= 0 || !(tickStep > 0.0f)) return 0;
  int count = 0;
  pixels[count++] = ValueToPixel(defaultValue);
  float range = bottomValue - topValue;
  int span = Length() - 2 * kUiTrackMargin;
  if (range == 0.0f || span <= 0) return count;
  // Whole tick steps per pixel of track: thin the ticks to one per pixel.
  double pixelsPerStep = std::fabs(static_cast<double>(tickStep) * span / range);
  if (!(pixelsPerStep > 0.0)) return count;
  double stride = pixelsPerStep >= 1.0 ? 1.0 : std::ceil(1.0 / pixelsPerStep);
  double low = topValue < bottomValue ? topValue : bottomValue;
  double high = topValue < bottomValue ? bottomValue : topValue;
  // The values that the pixels asked for show, within the range.
  double origin = static_cast<double>(AlongStart()) + kUiTrackMargin;  // the pixel of the top value
  double a = topValue + (firstPixel - origin) * range / span;
  double b = topValue + (lastPixel - origin) * range / span;
  double shownLow = std::fmax(low, std::fmin(a, b));
  double shownHigh = std::fmin(high, std::fmax(a, b));
  if (!(shownLow <= shownHigh)) return count;
  const float ends[2] = {topValue, bottomValue};
  for (float end : ends) {
    double direction = end > defaultValue ? 1.0 : end < defaultValue ? -1.0 : 0.0;
    if (direction == 0.0) continue;
    double slack = 1e-6 * tickStep;
    // The first step that reaches the shown values: a default far outside
    // them does not walk there one step at a time.
    double gap = direction > 0 ? shownLow - defaultValue : defaultValue - shownHigh;
    double k = stride;
    if (gap > 0) k = std::fmax(stride, std::floor(gap / tickStep / stride) * stride);
    if (!std::isfinite(k)) continue;
    double farEdge = direction > 0 ? shownHigh : shownLow;
    // Every step past the first lands on a further pixel, so the shown
    // pixels bound the walk. Far from zero a step may be below the numbers'
    // precision: the walk ends where the value stops moving.
    double previous = NAN;
    for (int walked = 0; count < capacity && walked <= capacity; k += stride, ++walked) {
      double v = defaultValue + direction * k * tickStep;
      if (v == previous) break;
      previous = v;
      if (direction * (v - end) > slack || direction * (v - farEdge) > slack) break;
      if (v < low - slack || v > high + slack || v < shownLow - slack || v > shownHigh + slack) continue;
      pixels[count++] = ValueToPixel(static_cast<float>(v));
    }
  }
  return count;
}

RECT CVelkUITrackBar::ThumbRect(int t) const {
  int across = CentreAcross() - thumbWidth / 2;
  int along = t - thumbSize / 2;
  int alongEnd = t + thumbSize - thumbSize / 2;
  if (vertical) return RECT{across, along, across + thumbWidth, alongEnd};
  return RECT{along, across, alongEnd, across + thumbWidth};
}

void CVelkUITrackBar::DrawBackground(HDC dc) {
  if (!dc) return;
  int centre = CentreAcross();
  int grooveLow = centre - grooveWidth / 2;
  int grooveHigh = centre + grooveWidth - grooveWidth / 2;
  if (vertical) Draw3DFrame(dc, grooveLow, y, grooveHigh, y + height, 0x666666, 0x333333, 0xEEEEEE);
  else Draw3DFrame(dc, x, grooveLow, x + width, grooveHigh, 0x666666, 0x333333, 0xEEEEEE);
  if (!showTicks || !(tickStep > 0.0f)) return;
  // Only the ticks of the pixels that the DC shows: a track may be far
  // longer than the canvas.
  RECT box;
  if (!GetItemDrawBox(dc, &box)) return;
  int firstPixel = vertical ? box.top : box.left;
  int lastPixel = vertical ? box.bottom : box.right;
  long long capacity = static_cast<long long>(lastPixel) - firstPixel + 2;
  if (capacity > static_cast<long long>(Length()) + 1) capacity = static_cast<long long>(Length()) + 1;
  if (capacity < 1) capacity = 1;
  int* ticks = new (std::nothrow) int[capacity];
  if (!ticks) return;
  int count = TickPixels(ticks, static_cast<int>(capacity), firstPixel, lastPixel);
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(BLACK_PEN));
  int lowEdge = centre - grooveWidth / 2;
  int highEdge = centre + (grooveWidth - 1) / 2;
  for (int i = 0; i < count; ++i) {
    int length = i == 0 ? (vertical ? kDefaultTickVertical : kDefaultTickHorizontal) : kTickLength;
    int t = ticks[i];
    int a1 = lowEdge - kTickGap;
    int b1 = highEdge + kTickGap;
    if (vertical) {
      MoveToEx(dc, a1, t, nullptr);
      LineTo(dc, a1 - length, t);
      MoveToEx(dc, b1, t, nullptr);
      LineTo(dc, b1 + length, t);
    } else {
      MoveToEx(dc, t, a1, nullptr);
      LineTo(dc, t, a1 - length);
      MoveToEx(dc, t, b1, nullptr);
      LineTo(dc, t, b1 + length);
    }
  }
  delete[] ticks;
}

void CVelkUITrackBar::DrawFace(HDC dc) {
  if (!dc) return;
  RECT r = ThumbRect(ValueToPixel(defaultValue));
  Draw3DFrame(dc, r.left, r.top, r.right, r.bottom, 0xCCCCCC, 0xEEEEEE, 0x333333);
}

void CVelkUITrackBar::Save(CStream* stream) {
  CVelkUIControl::Save(stream);
  stream->WriteByte(vertical);
  stream->WriteInt32(thumbWidth);
  stream->WriteInt32(thumbSize);
  stream->WriteInt32(grooveWidth);
  stream->WriteByte(autoReturn);
  stream->Write(&defaultValue, 4);
  stream->Write(&step, 4);
  stream->Write(&topValue, 4);
  stream->Write(&bottomValue, 4);
  stream->WriteByte(showTicks);
  stream->Write(&tickStep, 4);
}

bool CVelkUITrackBar::Load(CStream* stream) {
  bool ok = CVelkUIControl::Load(stream) && ReadField(stream, &vertical, 1) &&
            ReadField(stream, &thumbWidth, 4) && ReadField(stream, &thumbSize, 4) &&
            ReadField(stream, &grooveWidth, 4) && ReadField(stream, &autoReturn, 1) &&
            ReadField(stream, &defaultValue, 4) && ReadField(stream, &step, 4) &&
            ReadField(stream, &topValue, 4) && ReadField(stream, &bottomValue, 4) &&
            ReadField(stream, &showTicks, 1) && ReadField(stream, &tickStep, 4);
  value = defaultValue;
  return ok;
}

void CVelkUITrackBar::OnMouseDown(int px, int py) {
  int t = ValueToPixel(value);
  int p = vertical ? py : px;
  int across = abs((vertical ? px : py) - CentreAcross());
  if (abs(t - p) < thumbSize / 2 + kGrabReach && across < thumbWidth / 2 + kGrabReach) {
    grabOffset = p - t;
    dragging = 1;
  }
}

void CVelkUITrackBar::OnMouseMove(int px, int py) {
  if (!dragging) return;
  value = PixelToValue((vertical ? py : px) - grabOffset);
}

void CVelkUITrackBar::OnMouseUp(int, int) {
  if (autoReturn) value = defaultValue;
  dragging = 0;
}

void CVelkUITrackBar::DrawGL() {
  RECT r = ThumbRect(ValueToPixel(value));
  DrawGLFrame(r.left, r.top, r.right, r.bottom, 0xCCCCCC, 0xEEEEEE, 0x333333);
}
