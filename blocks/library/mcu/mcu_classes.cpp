#include "blocks/library/mcu/mcu_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/mcu/interval_detector.h"
#include "blocks/library/mcu/pwm_detector.h"
#include "blocks/library/mcu/software_pwm.h"

const BeLibraryClassRow kMcuClassRows[] = {
    {kBePWMDetectorClassId, CBEPWMDetector::Create},
    {kBeIntervalDetectorClassId, CBEIntervalDetector::Create},
    {kBeSoftwarePWMClassId, CBESoftwarePWM::Create},
};
const int kMcuClassRowCount = sizeof(kMcuClassRows) / sizeof(kMcuClassRows[0]);
