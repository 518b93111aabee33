#include "blocks/library/generators/generators_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/generators/constant.h"
#include "blocks/library/generators/duration.h"
#include "blocks/library/generators/event.h"
#include "blocks/library/generators/meander.h"
#include "blocks/library/generators/monostable.h"
#include "blocks/library/generators/single_impuls.h"

const BeLibraryClassRow kGeneratorsClassRows[] = {
    {kBeConstantClassId, CBEConstant::Create},     {kBeMeanderClassId, CBEMeander::Create},
    {kBeSingleImpulsClassId, CBESingleImpuls::Create}, {kBeMonostableClassId, CBEMonostable::Create},
    {kBeDurationClassId, CBEDuration::Create},     {kBeEventClassId, CBEEvent::Create},
};
const int kGeneratorsClassRowCount = sizeof(kGeneratorsClassRows) / sizeof(kGeneratorsClassRows[0]);
