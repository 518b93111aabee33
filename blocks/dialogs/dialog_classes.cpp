#include "blocks/dialogs/dialog_classes.h"

#include "blocks/dialogs/distance_dialog.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_dialog_table.h"

namespace {
struct DialogRow {
  unsigned int classId;
  BeBlockDialog dialog;
};

const DialogRow kDialogRows[] = {
    {kBeDistanceClassId, ShowDistanceDialog},
};
const int kDialogRowCount = sizeof(kDialogRows) / sizeof(kDialogRows[0]);
}  // namespace

bool RegisterBlockDialogs(BeBlockDialogTable* table) {
  if (!table) return false;
  bool ok = true;
  for (const DialogRow& row : kDialogRows) ok = table->Set(row.classId, row.dialog) && ok;
  return ok;
}

bool RegisterBlockDialogs() { return RegisterBlockDialogs(&BeBlockDialogTable::Program()); }

int BlockDialogCount() { return kDialogRowCount; }
