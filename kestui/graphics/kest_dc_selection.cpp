#include "kestui/graphics/kest_dc_selection.h"

bool CKestDcSelection::Select(HGDIOBJ object) {
  if (!dc_ || !object || count_ >= kMaxSelections) return false;
  HGDIOBJ previous = SelectObject(dc_, object);
  if (!previous || previous == HGDI_ERROR) return false;
  previous_[count_++] = previous;
  return true;
}

void CKestDcSelection::Restore() {
  while (count_ > 0) {
    --count_;
    SelectObject(dc_, previous_[count_]);
  }
}
