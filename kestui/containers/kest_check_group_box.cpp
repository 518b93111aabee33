#include "kestui/containers/kest_check_group_box.h"

CKestCheckGroupBox::CKestCheckGroupBox(CKestContainer* container, int id, const wchar_t* caption,
                                       uint32_t position, int width, int height)
    : CKestItemGroupBox(container, id, caption, position, width, height, false) {}

int CKestCheckGroupBox::AddItem(const wchar_t* caption) {
  if (!window_) return -1;
  return AppendItem(new CKestCheckBox(this, caption, false, id_, 0, 100, 18, nullptr));
}

CKestCheckBox* CKestCheckGroupBox::GetItem(int index) const {
  return static_cast<CKestCheckBox*>(GetItemControl(index));
}

bool CKestCheckGroupBox::IsItemChecked(int index) const {
  CKestCheckBox* item = GetItem(index);
  return item && item->IsChecked();
}

void CKestCheckGroupBox::SetItemChecked(int index, bool checked) {
  if (CKestCheckBox* item = GetItem(index)) item->SetChecked(checked);
}

