#include "blocks/engine/block_dialog_table.h"

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

BeBlockDialogTable::~BeBlockDialogTable() { Clear(); }

void BeBlockDialogTable::Clear() {
  FreeBuffer(items_);
  items_ = nullptr;
  count_ = 0;
}

bool BeBlockDialogTable::Set(unsigned int classId, BeBlockDialog dialog) {
  for (int i = 0; i < count_; ++i) {
    if (items_[i].classId != classId) continue;
    if (dialog) {
      items_[i].dialog = dialog;
      return true;
    }
    for (int j = i + 1; j < count_; ++j) items_[j - 1] = items_[j];
    // A shrink keeps the block when it cannot move; the count still drops.
    ResizeSteppedArray(&items_, count_, count_ - 1);
    --count_;
    return true;
  }
  if (!dialog) return true;
  if (!ResizeSteppedArray(&items_, count_, count_ + 1)) return false;
  items_[count_++] = Item{classId, dialog};
  return true;
}

BeBlockDialog BeBlockDialogTable::Find(unsigned int classId) const {
  for (int i = 0; i < count_; ++i)
    if (items_[i].classId == classId) return items_[i].dialog;
  return nullptr;
}

BeBlockDialogTable& BeBlockDialogTable::Program() {
  static BeBlockDialogTable table;
  return table;
}

bool ShowBlockDialog(CBEBlock* block, unsigned int classId) {
  if (!block) return false;
  BeBlockDialog dialog = BeBlockDialogTable::Program().Find(classId);
  return dialog ? dialog(block) : false;
}
