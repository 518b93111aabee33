#include "blocks/library/control/control_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/control/diff.h"
#include "blocks/library/control/inertial.h"
#include "blocks/library/control/integral.h"
#include "blocks/library/control/integral_with_reload.h"
#include "blocks/library/control/limiter.h"
#include "blocks/library/control/vibro.h"

const BeLibraryClassRow kControlClassRows[] = {
    {kBeIntegralClassId, CBEIntegral::Create},
    {kBeDiffClassId, CBEDiff::Create},
    {kBeInertialClassId, CBEInertial::Create},
    {kBeVibroClassId, CBEVibro::Create},
    {kBeLimiterClassId, CBELimiter::Create},
    {kBeIntegralWithReloadClassId, CBEIntegralWithReload::Create},
};
const int kControlClassRowCount = sizeof(kControlClassRows) / sizeof(kControlClassRows[0]);
