#include "blocks/library/navigation/intellect_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/navigation/fuzzy.h"
#include "blocks/library/navigation/road_detector.h"
#include "blocks/library/navigation/strip_detector.h"

const BeLibraryClassRow kIntellectClassRows[] = {
    {kBeRoadDetectorClassId, CBERoadDetector::Create},
    {kBeStripDetectorClassId, CBEStripDetector::Create},
    {kBeFuzzyClassId, CBEFuzzy::Create},
};
const int kIntellectClassRowCount = sizeof(kIntellectClassRows) / sizeof(kIntellectClassRows[0]);
