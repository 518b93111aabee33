#include "kestui/widgets/kest_date_picker.h"

CKestDatePicker::CKestDatePicker(CKestControl* parent, int id, uint32_t position, int width,
                                 int height)
    : CKestCustomDateTimePicker(parent, id, position, width, height, DTS_SHORTDATEFORMAT) {
  SetTextColor(textColor_);
}

CKestDatePicker::~CKestDatePicker() {
  if (calendarFont_) calendarFont_->Release();
  calendarFont_ = nullptr;
}

HBRUSH CKestDatePicker::SetBackColor(COLORREF color) {
  CKestCustomDateTimePicker::SetBackColor(color);
  if (window_ && color != KEST_TRANSPARENT) {
    SendMessageW(window_, DTM_SETMCCOLOR, MCSC_BACKGROUND, static_cast<LPARAM>(color));
  }
  return nullptr;
}

void CKestDatePicker::SetTextColor(COLORREF color) {
  CKestCustomDateTimePicker::SetTextColor(color);
  if (window_) SendMessageW(window_, DTM_SETMCCOLOR, MCSC_TEXT, static_cast<LPARAM>(color));
}

void CKestDatePicker::SetCalendarFont(CKestFont* font) {
  if (font) font->AddRef();
  CKestFont* old = calendarFont_;
  calendarFont_ = font;
  CKestFont* shown = calendarFont_ ? calendarFont_ : font_;
  // The calendar takes the new font before the old one may go.
  if (window_ && shown) {
    SendMessageW(window_, DTM_SETMCFONT, reinterpret_cast<WPARAM>(shown->GetHandle()), TRUE);
  }
  if (old) old->Release();
}
