#include "blocks/library/library_classes.h"

#include "blocks/engine/block_creator_table.h"
#include "blocks/library/converters/converters_classes.h"
#include "blocks/library/logic/logic_classes.h"
#include "blocks/library/digital/digital_classes.h"
#include "blocks/library/generators/generators_classes.h"
#include "blocks/library/interfaces/interfaces_classes.h"
#include "blocks/library/math/math_classes.h"
#include "blocks/library/math/trigonometry_classes.h"
#include "blocks/library/control/control_classes.h"
#include "blocks/library/drivers/drivers_classes.h"
#include "blocks/library/math/math_classes.h"
#include "blocks/library/mcu/mcu_classes.h"
#include "blocks/library/navigation/intellect_classes.h"

namespace {
// One area's table of rows.
struct LibraryArea {
  const BeLibraryClassRow* rows;
  int count;
};

const LibraryArea kAreas[] = {
    {kMathClassRows, kMathClassRowCount},
    {kTrigonometryClassRows, kTrigonometryClassRowCount},
    {kConvertersClassRows, kConvertersClassRowCount},
    {kLogicClassRows, kLogicClassRowCount},
    {kGeneratorsClassRows, kGeneratorsClassRowCount},
    {kDigitalClassRows, kDigitalClassRowCount},
    {kInterfaceClassRows, kInterfaceClassRowCount},
    {kControlClassRows, kControlClassRowCount},
    {kMcuClassRows, kMcuClassRowCount},
    {kDriversClassRows, kDriversClassRowCount},
    {kIntellectClassRows, kIntellectClassRowCount},
};
}  // namespace

bool RegisterBlockLibraryCreators(BeBlockCreatorTable* table) {
  if (!table) return false;
  bool ok = true;
  for (const LibraryArea& area : kAreas)
    for (int i = 0; i < area.count; ++i)
      ok = table->Set(area.rows[i].classId, area.rows[i].creator) && ok;
  return ok;
}

bool RegisterBlockLibraryCreators() { return RegisterBlockLibraryCreators(&BeBlockCreatorTable::Program()); }

int BlockLibraryClassCount() {
  int n = 0;
  for (const LibraryArea& area : kAreas) n += area.count;
  return n;
}
