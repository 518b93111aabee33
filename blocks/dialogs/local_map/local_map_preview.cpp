// The preview of CLocalMapDlg: scale, drawing and the mouse.
#include <cmath>
#include <cwchar>

#include "blocks/dialogs/local_map/local_map_dlg.h"
#include "blocks/dialogs/local_map/local_map_zone_editor.h"
#include "blocks/dialogs/local_map/paint_alpha_rect.h"
#include "foundation/numbers.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_font.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"

namespace {
const double kPi = 3.141592653589793;
const COLORREF kOutside = RGB(224, 224, 224);
const COLORREF kMap = RGB(255, 255, 255);
const COLORREF kRobot = RGB(153, 153, 204);
const COLORREF kZone = RGB(255, 102, 102);
const COLORREF kCurrentZone = RGB(204, 0, 0);
const short kZoneWeight = 204, kCurrentZoneWeight = 153;
const COLORREF kGrid = RGB(192, 192, 192);
const COLORREF kRay = RGB(153, 153, 153);
const COLORREF kSensor = RGB(0, 0, 204);
const COLORREF kCurrentSensor = RGB(204, 0, 0);
const COLORREF kWall = RGB(0, 204, 0);
const int kRayLength = 180;
const int kSensorRadius = 8;
const int kWallMarks = 20;
// Pixels around an edge or corner that still take it.
const int kGrip = 8;

void FillBox(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  RECT box = {x1 < x2 ? x1 : x2, y1 < y2 ? y1 : y2, x1 < x2 ? x2 : x1, y1 < y2 ? y2 : y1};
  CKestOwnedBrush brush(CreateSolidBrush(colour));
  if (brush) FillRect(dc, &box, brush.Get());
}

int Magnitude(int d) { return d < 0 ? -d : d; }

// The cursor of each handle code, -1 (none) first.
const int kHandleCursors[] = {KestCursorArrow,    KestCursorMove,   KestCursorSizeNwSe, KestCursorSizeNs,
                              KestCursorSizeNeSw, KestCursorSizeWe, KestCursorSizeNwSe, KestCursorSizeNs,
                              KestCursorSizeNeSw, KestCursorSizeWe};
}  // namespace

void CLocalMapDlg::UpdatePreviewScale() {
  RECT client = {0, 0, 0, 0};
  if (preview_ && preview_->GetHandle()) GetClientRect(preview_->GetHandle(), &client);
  centreX_ = client.right / 2;
  previewHeight_ = client.bottom;
  double front = EditValue(kFront) / 100, rear = EditValue(kRear) / 100, half = EditValue(kHalfWidth) / 100;
  double span = front - rear;
  if (centreX_ <= 0 || previewHeight_ <= 0 || span <= 0 || half <= 0) {
    // Nothing to draw to scale in: every length comes out as 0 pixels.
    scale_ = 0;
    originY_ = previewHeight_;
    return;
  }
  double H = previewHeight_;
  if (half > centreX_ * span / H)
    scale_ = static_cast<float>(centreX_ / half);
  else
    scale_ = static_cast<float>(H / span);
  originY_ = static_cast<int>(H + H * rear / span);
}

int CLocalMapDlg::MetresToPixelX(float x) const {
  return static_cast<int>(static_cast<double>(x) * scale_) + centreX_;
}

int CLocalMapDlg::MetresToPixelY(float y) const {
  return originY_ - static_cast<int>(static_cast<double>(y) * scale_);
}

float CLocalMapDlg::PixelToMetresX(int px) const {
  return scale_ > 0 ? static_cast<float>((px - centreX_) / static_cast<double>(scale_)) : 0.0f;
}

float CLocalMapDlg::PixelToMetresY(int py) const {
  return scale_ > 0 ? static_cast<float>((originY_ - py) / static_cast<double>(scale_)) : 0.0f;
}

int CLocalMapDlg::GridStep(double e) {
  if (e <= 0.3) return 5;
  if (e <= 0.6) return 10;
  if (e <= 1) return 20;
  if (e <= 6) return 50;
  if (e <= 10) return 100;
  return 200;
}

void CLocalMapDlg::PaintPreview(HDC dc) {
  if (!dc) return;
  int width = 2 * centreX_, H = previewHeight_;
  SetBkMode(dc, TRANSPARENT);
  CKestFont* font = new CKestFont(L"Arial", -10, 400, false, false, false, DEFAULT_CHARSET);
  font->AddRef();
  CKestDcSelection fontSelection(dc);
  fontSelection.Select(font->GetHandle());

  FillBox(dc, 0, 0, width, H, kOutside);
  float half = RoundToFloat(EditValue(kHalfWidth) / 100);
  float front = RoundToFloat(EditValue(kFront) / 100), rear = RoundToFloat(EditValue(kRear) / 100);
  FillBox(dc, MetresToPixelX(-half), MetresToPixelY(front), MetresToPixelX(half), MetresToPixelY(rear), kMap);
  bool showRobot = showRobot_ && showRobot_->IsChecked();
  if (showRobot) {
    float w = RoundToFloat(EditValue(kRobotWidth) / 100 / 2), l = RoundToFloat(EditValue(kRobotLength) / 100 / 2);
    FillBox(dc, MetresToPixelX(-w), MetresToPixelY(l), MetresToPixelX(w), MetresToPixelY(-l), kRobot);
  }

  {  // Zones, later rows over earlier ones.
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, kZone));
    CKestDcSelection selection(dc);
    selection.Select(pen.Get());
    for (int row = 0; row < zones_->GetItemCount(); ++row) {
      const LocalMapZone* zone = ZoneAt(row);
      if (!zone) continue;
      bool current = row == currentZone_;
      PaintAlphaRect(dc, MetresToPixelX(zone->xMin), MetresToPixelY(zone->yMax), MetresToPixelX(zone->xMax),
                     MetresToPixelY(zone->yMin), current ? kCurrentZone : kZone,
                     current ? kCurrentZoneWeight : kZoneWeight);
      wchar_t caption[24];
      swprintf(caption, 24, L"Зона %d", row + 1);
      TextOutW(dc, MetresToPixelX(zone->xMin) + 2, MetresToPixelY(zone->yMax) + 2, caption,
               static_cast<int>(wcslen(caption)));
    }
  }

  if (scale_ > 0) {  // The grid; a preview without scale has none.
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, kGrid));
    CKestDcSelection selection(dc);
    selection.Select(pen.Get());
    int s = GridStep(H / static_cast<double>(scale_));
    float step = RoundToFloat(s / 100.0);
    auto label = [dc](int v, int x, int y, bool centreAcross) {
      wchar_t text[kFoundationFormatIntChars];
      FormatInt(v, text);
      int length = static_cast<int>(wcslen(text));
      SIZE size = {0, 0};
      GetTextExtentPoint32W(dc, text, length, &size);
      if (centreAcross)
        TextOutW(dc, x - size.cx / 2, y, text, length);
      else
        TextOutW(dc, x, y - size.cy / 2, text, length);
    };
    // Each loop draws its first line before it tests. A line that does not
    // move on (a step too small for a pixel) ends its loop too.
    for (int direction = 1; direction >= -1; direction -= 2) {
      // Forward from 0, then backward from -s.
      float metres = direction > 0 ? 0.0f : -step;
      int v = direction > 0 ? 0 : -s, previous = 0;
      for (int line = 0;; ++line) {
        int px = MetresToPixelX(metres);
        MoveToEx(dc, px, 13, nullptr);
        LineTo(dc, px, H);
        label(v, px, 0, true);
        if (direction > 0 ? px >= width : px <= 0) break;
        if (line > 0 && px == previous) break;
        previous = px;
        metres = RoundToFloat(metres + direction * step);
        v += direction * s;
      }
    }
    for (int direction = 1; direction >= -1; direction -= 2) {
      // Forward from 0, then backward from -s.
      float metres = direction > 0 ? 0.0f : -step;
      int v = direction > 0 ? 0 : -s, previous = 0;
      for (int line = 0;; ++line) {
        int py = MetresToPixelY(metres);
        MoveToEx(dc, 20, py, nullptr);
        LineTo(dc, width, py);
        label(v, 0, py, false);
        if (direction > 0 ? py <= 0 : py >= H) break;
        if (line > 0 && py == previous) break;
        previous = py;
        metres = RoundToFloat(metres + direction * step);
        v += direction * s;
      }
    }
  }

  if (showRobot) {  // Sensors, with their fields of view.
    CKestOwnedPen rays(CreatePen(PS_SOLID, 1, kRay));
    CKestOwnedBrush normal(CreateSolidBrush(kSensor)), current(CreateSolidBrush(kCurrentSensor));
    for (int row = 0; row < sensors_->GetItemCount(); ++row) {
      wchar_t text[64];
      double values[4];
      for (int c = 0; c < 4; ++c) {
        sensors_->GetItemText(row, kSensorX + c, text, 64);
        values[c] = ParseDouble(text, 0, nullptr);
      }
      int px = MetresToPixelX(RoundToFloat(values[0] / 100)), py = MetresToPixelY(RoundToFloat(values[1] / 100));
      double a = values[2] * kPi / 180, f = values[3] * kPi / 180;
      CKestDcSelection selection(dc);
      selection.Select(rays.Get());
      for (int side = -1; side <= 1; side += 2) {
        double ray = a + side * f / 2;
        MoveToEx(dc, px, py, nullptr);
        LineTo(dc, px + static_cast<int>(kRayLength * std::sin(ray)),
               py - static_cast<int>(kRayLength * std::cos(ray)));
      }
      selection.Select(GetStockObject(BLACK_PEN));
      selection.Select(row == currentSensor_ ? current.Get() : normal.Get());
      Ellipse(dc, px - kSensorRadius, py - kSensorRadius, px + kSensorRadius, py + kSensorRadius);
    }
  }

  if (wallsOn_ && wallsOn_->IsChecked()) {  // Virtual walls, the end itself unmarked.
    double start = EditValue(kWallStart) / 100, end = EditValue(kWallEnd) / 100;
    float wx = RoundToFloat(EditValue(kWallX) / 100);
    for (int k = 0; k < kWallMarks; ++k) {
      int py = MetresToPixelY(RoundToFloat(start + (end - start) * k / kWallMarks));
      for (int side = -1; side <= 1; side += 2) {
        int px = MetresToPixelX(side * wx);
        FillBox(dc, px - 2, py - 2, px + 2, py + 2, kWall);
      }
    }
  }
  fontSelection.Restore();
  font->Release();
}

void CLocalMapDlg::PaintPreviewWindow() {
  UpdatePreviewScale();
  HDC dc = preview_->GetDC();
  if (!dc) {
    preview_->ReleaseDC();
    return;
  }
  int width = 2 * centreX_, height = previewHeight_;
  if (width > 0 && height > 0) {
    CKestOwnedBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    CKestOwnedDC memory(CreateCompatibleDC(dc));
    if (bitmap && memory) {
      CKestDcSelection selection(memory.Get());
      selection.Select(bitmap.Get());
      PaintPreview(memory.Get());
      BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
    }
  }
  preview_->ReleaseDC();
}

int CLocalMapDlg::HitTestZone(int x, int y, int* zone) const {
  for (int row = zones_ ? zones_->GetItemCount() - 1 : -1; row >= 0; --row) {
    const LocalMapZone* z = ZoneAt(row);
    if (!z) continue;
    int left = MetresToPixelX(z->xMin), right = MetresToPixelX(z->xMax);
    int top = MetresToPixelY(z->yMax), bottom = MetresToPixelY(z->yMin);
    bool nearLeft = Magnitude(left - x) < kGrip, nearRight = Magnitude(right - x) < kGrip;
    bool nearTop = Magnitude(top - y) < kGrip, nearBottom = Magnitude(bottom - y) < kGrip;
    bool across = left < x && x < right, down = top < y && y < bottom;
    int code = kHandleNone;
    if (nearLeft && nearTop)
      code = kHandleTopLeft;
    else if (nearRight && nearTop)
      code = kHandleTopRight;
    else if (nearRight && nearBottom)
      code = kHandleBottomRight;
    else if (nearLeft && nearBottom)
      code = kHandleBottomLeft;
    else if (across && nearTop)
      code = kHandleTop;
    else if (down && nearRight)
      code = kHandleRight;
    else if (across && nearBottom)
      code = kHandleBottom;
    else if (down && nearLeft)
      code = kHandleLeft;
    else if (left <= x && x <= right && top <= y && y <= bottom)
      code = kHandleInside;
    if (code == kHandleNone) continue;
    if (zone) *zone = row;
    return code;
  }
  return kHandleNone;
}

void CLocalMapDlg::PreviewMouseDown(int x, int y) {
  lastX_ = x;
  lastY_ = y;
  int row = -1;
  dragHandle_ = HitTestZone(x, y, &row);
  if (dragHandle_ == kHandleNone) {
    currentZone_ = -1;
    return;
  }
  currentZone_ = row;
  zones_->FocusItem(row);
}

void CLocalMapDlg::InvalidateZone(const LocalMapZone& zone) {
  RECT box = {MetresToPixelX(zone.xMin), MetresToPixelY(zone.yMax), MetresToPixelX(zone.xMax),
              MetresToPixelY(zone.yMin)};
  // The frame's right and bottom pixels, and the caption, lie on the edge.
  box.right += 1;
  box.bottom += 1;
  InvalidateRect(preview_->GetHandle(), &box, FALSE);
}

void CLocalMapDlg::PreviewMouseMove(int x, int y) {
  if (dragHandle_ == kHandleNone) {
    int code = HitTestZone(x, y, nullptr);
    preview_->SetCursorIndex(kHandleCursors[code + 1]);
    SetCursor(GetKestCursor(kHandleCursors[code + 1]));
    return;
  }
  LocalMapZone* zone = ZoneAt(currentZone_);
  if (!zone) {
    dragHandle_ = kHandleNone;
    return;
  }
  InvalidateZone(*zone);
  float mx = PixelToMetresX(x), my = PixelToMetresY(y);
  switch (dragHandle_) {
    case kHandleInside: {
      float dx = RoundToFloat(static_cast<double>(PixelToMetresX(x)) - PixelToMetresX(lastX_));
      float dy = scale_ > 0 ? RoundToFloat((y - lastY_) / static_cast<double>(scale_)) : 0.0f;
      zone->xMin = RoundToFloat(static_cast<double>(zone->xMin) + dx);
      zone->xMax = RoundToFloat(static_cast<double>(zone->xMax) + dx);
      zone->yMin = RoundToFloat(static_cast<double>(zone->yMin) - dy);
      zone->yMax = RoundToFloat(static_cast<double>(zone->yMax) - dy);
      lastX_ = x;
      lastY_ = y;
      break;
    }
    case kHandleTopLeft: zone->xMin = mx; zone->yMax = my; break;
    case kHandleTop: zone->yMax = my; break;
    case kHandleTopRight: zone->xMax = mx; zone->yMax = my; break;
    case kHandleRight: zone->xMax = mx; break;
    case kHandleBottomRight: zone->xMax = mx; zone->yMin = my; break;
    case kHandleBottom: zone->yMin = my; break;
    case kHandleBottomLeft: zone->xMin = mx; zone->yMin = my; break;
    case kHandleLeft: zone->xMin = mx; break;
    default: break;
  }
  KeepZoneOpen(zone);
  InvalidateZone(*zone);
}

void CLocalMapDlg::PreviewRightUp(int x, int y) {
  lastX_ = x;
  lastY_ = y;
  int row = -1;
  if (HitTestZone(x, y, &row) == kHandleNone) return;
  currentZone_ = row;
  zones_->FocusItem(row);
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenu(previewMenu_->GetHandle(), TPM_RIGHTBUTTON, at.x, at.y, 0, GetHandle(), nullptr);
}
