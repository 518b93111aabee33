#include "blocks/dialogs/navigation/range_finder_info_dialog.h"

#include <cstring>

#include "blocks/dialogs/frame/property_form.h"
#include "blocks/library/navigation/nav_range_finder.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_group_box.h"
#include "kestui/core/kest_messages.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"

const COLORREF kBeNavWallColours[kBeNavWallColourCount] = {
    RGB(0, 0, 153),   RGB(153, 0, 0),   RGB(0, 153, 0),   RGB(153, 0, 153),
    RGB(0, 153, 153), RGB(153, 153, 0), RGB(0, 102, 255), RGB(255, 102, 0),
};

namespace {
const int kFormWidth = 500, kFormHeight = 400;
const int kNameWidth = 100, kNameHeight = 21;
const int kSpinWidth = 120, kSpinHeight = 22;
const int kGroupWidth = 460, kGroupHeight = 90;
const int kRangeLabelWidth = 320;
const int kSwatchBoxWidth = 315, kSwatchBoxHeight = 40;
const int kButtonWidth = 100;
const int kChosenOutline = 4;
const double kPi = 3.14159265358979323846;

double Degrees(double radians) { return radians * 180.0 / kPi; }
double Radians(double degrees) { return degrees * kPi / 180.0; }

// A real spin edit showing value.
CKestSpinEdit* AddSpin(CKestContainer* container, double minimum, double maximum, double step, double value) {
  auto* edit = new CKestSpinEdit(container, 0, false, minimum, maximum, step, KEST_POS_FLOW, kSpinWidth, kSpinHeight);
  edit->SetValue(value);
  return edit;
}

// A label stacked over a real spin edit, in a cell of its own.
CKestSpinEdit* AddStackedSpin(CKestContainer* container, const wchar_t* caption, double minimum, double maximum,
                              double step, double value) {
  new CKestLabel(container, caption, KEST_POS_FLOW, true, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  return AddSpin(container, minimum, maximum, step, value);
}

// A right-aligned label 320 wide beside a real spin edit, then a new row.
CKestSpinEdit* AddRangeRow(CKestContainer* container, const wchar_t* caption, double maximum, double value) {
  new CKestLabel(container, caption, KEST_POS_FLOW, false, kRangeLabelWidth, kSpinHeight, 1);
  CKestSpinEdit* edit = AddSpin(container, 0, maximum, 1, value);
  container->NewFlowRow();
  return edit;
}
}  // namespace

CRangeFinderInfoDialog::CRangeFinderInfoDialog(CKestForm* owner, const NavRangeFinder& record) {
  colour_ = record.colour < kBeNavWallColourCount ? record.colour : 0;
  if (!Create(owner, L"Свойства дальномера", KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, false, false, true,
              true))
    return;
  SetReady(false);
  Build(record);
  SetReady(true);
}

void CRangeFinderInfoDialog::Build(const NavRangeFinder& record) {
  new CKestLabel(this, L"Название:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, kNameHeight, 1);
  name_ = new CKestEdit(this, 0, KEST_POS_FLOW, kNameWidth, kNameHeight, false, kBeNavFinderNameLimit, true);
  wchar_t name[kNavFinderNameChars + 1];
  memcpy(name, record.name, sizeof name);
  name[kNavFinderNameChars] = 0;
  name_->SetText(name);
  NewFlowRow();

  BeginCenteredRows();
  auto* place = new CKestGroupBox(this, L"Положение на роботе", KEST_POS_FLOW, kGroupWidth, kGroupHeight);
  x_ = AddStackedSpin(place, L"X [см]:", -1000000, 1000000, 0.5, record.x);
  y_ = AddStackedSpin(place, L"Y [см]:", -1000000, 1000000, 0.5, record.y);
  angle_ = AddStackedSpin(place, L"Угол [°]:", -180, 180, 0.5, Degrees(record.angle));
  CenterFlowRows();
  NewFlowRow();

  maxRange_ = AddRangeRow(this, L"Макс.дальность [см]:", 100000, record.maxRange);
  searchDistance_ = AddRangeRow(this, L"Диап. дальностей поиска стен [см]:", 100000, record.searchDistance);
  searchAngle_ = AddRangeRow(this, L"Диап. углов поиска стен [°]:", 360, Degrees(record.searchAngle));

  BeginCenteredRows();
  auto* colours = new CKestGroupBox(this, L"Цвет стен на карте", KEST_POS_FLOW, kGroupWidth, kGroupHeight);
  colours->BeginCenteredRows();
  swatches_ = new CKestPaintBox(colours, 0, KEST_POS_FLOW, kSwatchBoxWidth, kSwatchBoxHeight);
  colours->CenterFlowRows();
  CenterFlowRows();
  NewFlowRow();

  AddDialogButtons(this, kButtonWidth, &ok_, &cancel_);
}

void CRangeFinderInfoDialog::ReadFields(NavRangeFinder* record) {
  if (!record || !IsBuilt()) return;
  wchar_t name[kBeNavFinderNameLimit + 1] = {};
  name_->CopyText(name, kBeNavFinderNameLimit + 1);
  name[kBeNavFinderNameLimit] = 0;
  memset(record->name, 0, sizeof record->name);
  wcscpy(record->name, name);
  record->x = x_->GetValue();
  record->y = y_->GetValue();
  record->angle = Radians(angle_->GetValue());
  record->maxRange = maxRange_->GetValue();
  record->searchDistance = searchDistance_->GetValue();
  record->searchAngle = Radians(searchAngle_->GetValue());
  record->colour = static_cast<unsigned char>(colour_);
}

void CRangeFinderInfoDialog::GetSwatchRect(int index, RECT* rect) {
  if (!rect) return;
  rect->left = kSwatchLeft + kSwatchPitch * index;
  rect->top = kSwatchTop;
  rect->right = rect->left + kSwatchSize;
  rect->bottom = rect->top + kSwatchSize;
}

int CRangeFinderInfoDialog::SwatchAt(int x, int y) {
  POINT point = {x, y};
  for (int i = 0; i < kBeNavWallColourCount; ++i) {
    RECT rect;
    GetSwatchRect(i, &rect);
    if (PtInRect(&rect, point)) return i;
  }
  return -1;
}

void CRangeFinderInfoDialog::PaintSwatches() {
  if (!swatches_) return;
  HDC dc = swatches_->GetDC();
  if (!dc) return;
  RECT box;
  GetClientRect(swatches_->GetHandle(), &box);
  FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
  for (int i = 0; i < kBeNavWallColourCount; ++i) {
    CKestOwnedPen pen(CreatePen(PS_INSIDEFRAME, i == colour_ ? kChosenOutline : 1, RGB(0, 0, 0)));
    CKestOwnedBrush brush(CreateSolidBrush(kBeNavWallColours[i]));
    CKestDcSelection selection(dc);
    if (!selection.Select(pen.Get()) || !selection.Select(brush.Get())) continue;
    RECT rect;
    GetSwatchRect(i, &rect);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
  swatches_->ReleaseDC();
}

LRESULT CRangeFinderInfoDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsReady() && swatches_) {
    HWND box = swatches_->GetHandle();
    if (message == WM_KEST_PAINT && reinterpret_cast<HWND>(lParam) == box) {
      PaintSwatches();
      return 0;
    }
    if (message == WM_KEST_LBUTTONDOWN && reinterpret_cast<HWND>(wParam) == box) {
      int index = SwatchAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      if (index >= 0) {
        colour_ = index;
        InvalidateRect(box, nullptr, FALSE);
      }
    }
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}
