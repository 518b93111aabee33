#include "blocks/library/navigation/navigation_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/navigation/fuzzy.h"
#include "blocks/library/navigation/local_map.h"
#include "blocks/library/navigation/road_detector.h"
#include "blocks/library/navigation/scan_sector.h"
#include "blocks/library/navigation/strip_detector.h"
#include "blocks/library/navigation/video_navigation.h"

const BeLibraryClassRow kNavigationClassRows[] = {
    {kBeScanSectorClassId, CBEScanSector::Create},
    {kBeLocalMapClassId, CBELocalMap::Create},
    {kBeVideoNavigationClassId, CBEVideoNavigation::Create},
    {kBeRoadDetectorClassId, CBERoadDetector::Create},
    {kBeStripDetectorClassId, CBEStripDetector::Create},
    {kBeFuzzyClassId, CBEFuzzy::Create},
};
const int kNavigationClassRowCount = sizeof(kNavigationClassRows) / sizeof(kNavigationClassRows[0]);
