#include "blocks/library/drivers/drivers_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/drivers/distance_control.h"
#include "blocks/library/drivers/inertial_driver.h"

const BeLibraryClassRow kDriversClassRows[] = {
    {kBeDistanceControlClassId, CBEDistanceControl::Create},
    {kBeInertialDriverClassId, CBEInertialDriver::Create},
};
const int kDriversClassRowCount = sizeof(kDriversClassRows) / sizeof(kDriversClassRows[0]);
