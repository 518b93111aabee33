#include "kestui/containers/kest_radio_group_box.h"

CKestRadioGroupBox::CKestRadioGroupBox(CKestContainer* container, int id, const wchar_t* caption,
                                       uint32_t position, int width, int height)
    : CKestItemGroupBox(container, id, caption, position, width, height, true) {}

int CKestRadioGroupBox::AddItem(const wchar_t* caption) {
  if (!window_) return -1;
  return AppendItem(new CKestRadio(this, caption, id_, 0, 100, 18, nullptr));
}

CKestRadio* CKestRadioGroupBox::GetItem(int index) const {
  return static_cast<CKestRadio*>(GetItemControl(index));
}

int CKestRadioGroupBox::GetItemIndex() const {
  for (int i = 0; i < count_; ++i) {
    if (items_[i] && GetItem(i)->IsChecked()) return i;
  }
  return -1;
}

void CKestRadioGroupBox::SetItemIndex(int index) {
  if (CKestRadio* item = GetItem(index)) item->Click();
}
