#include "app/browser/component_viewer.h"

#include <string>

#include "scheme/database/compdb.h"

namespace {
constexpr int kPictureMargin = 10;
}  // namespace

RECT FitViewerPicture(int areaWidth, int areaHeight, int width, int height) {
  RECT r = {0, 0, 0, 0};
  if (width <= 0 || height <= 0) return r;
  // 64-bit products: a huge picture must not overflow.
  long long drawnWidth = areaWidth - kPictureMargin;
  long long drawnHeight = static_cast<long long>(height) * drawnWidth / width;
  if (areaHeight < drawnHeight) {
    drawnHeight = areaHeight - kPictureMargin;
    drawnWidth = static_cast<long long>(width) * drawnHeight / height;
  }
  if (drawnWidth <= 0 || drawnHeight <= 0) return r;
  r.left = static_cast<LONG>((areaWidth - drawnWidth) / 2);
  r.top = static_cast<LONG>((areaHeight - drawnHeight) / 2);
  r.right = r.left + static_cast<LONG>(drawnWidth);
  r.bottom = r.top + static_cast<LONG>(drawnHeight);
  return r;
}

CComponentViewer::CComponentViewer(CKestControl* owner, const wchar_t* description,
                                   const wchar_t* pictureFile) {
  if (!Create(owner, L"Свойства", KEST_POS_CENTER, kVelkViewerWidth, kVelkViewerHeight, nullptr, false,
              false, true, true)) {
    return;
  }
  if (textLabel_) textLabel_->SetText(description);
  if (pictureFile && *pictureFile) {
    std::wstring path = std::wstring(GetImagesFolder()) + pictureFile;
    CKestImage* picture = new CKestImage;
    if (SUCCEEDED(picture->Load(path.c_str())) && !picture->IsNull()) {
      picture_ = picture;
      if (pictureBox_) InvalidateRect(pictureBox_->GetHandle(), nullptr, TRUE);
    } else {
      delete picture;
    }
  }
}

CComponentViewer::~CComponentViewer() {
  delete picture_;
  picture_ = nullptr;
}

void CComponentViewer::BuildControls() {
  pictureBox_ = new CKestPaintBox(this, 0, KEST_POS_FLOW, 200, 200);
  textLabel_ = new CKestLabel(this, nullptr, KEST_POS_FLOW, false, 360, 200, -1);
  BeginCenteredRows();
  okButton_ = new CKestButton(this, L"OK", true, 0, KEST_POS_FLOW, 100, 25, nullptr, 1);
  CenterFlowRows();
}

void CComponentViewer::PaintPicture() {
  HDC dc = pictureBox_->GetDC();
  if (!dc) return;
  RECT area;
  GetClientRect(pictureBox_->GetHandle(), &area);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (picture_ && !picture_->IsNull()) {
    RECT target = FitViewerPicture(area.right - area.left, area.bottom - area.top,
                                   picture_->GetWidth(), picture_->GetHeight());
    if (!IsRectEmpty(&target)) picture_->Draw(dc, target);
  }
  pictureBox_->ReleaseDC();
}

LRESULT CComponentViewer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    LRESULT result = CKestForm::WindowProc(message, wParam, lParam);
    BuildControls();
    return result;
  }
  if (message == WM_KEST_PAINT && pictureBox_ &&
      reinterpret_cast<HWND>(lParam) == pictureBox_->GetHandle()) {
    PaintPicture();
    return 0;
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}
