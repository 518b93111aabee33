#include "blocks/library/control/control_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/control/diff.h"
#include "blocks/library/control/inertial.h"
#include "blocks/library/control/integral.h"
#include "blocks/library/control/integral_with_reload.h"
#include "blocks/library/control/limiter.h"
#include "blocks/library/control/vibro.h"

const BeLibraryClassRow kControlClassRows[] = {
    {kIntegralClassId, CBEIntegral::Create},
    {kDiffClassId, CBEDiff::Create},
    {kInertialClassId, CBEInertial::Create},
    {kVibroClassId, CBEVibro::Create},
    {kLimiterClassId, CBELimiter::Create},
    {kIntegralWithReloadClassId, CBEIntegralWithReload::Create},
};
const int kControlClassRowCount = sizeof(kControlClassRows) / sizeof(kControlClassRows[0]);
