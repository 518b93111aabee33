#include "blocks/library/navigation/local_map_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/navigation/local_map.h"
#include "blocks/library/navigation/scan_sector.h"

const BeLibraryClassRow kLocalMapClassRows[] = {
    {kBeScanSectorClassId, CBEScanSector::Create},
    {kBeLocalMapClassId, CBELocalMap::Create},
};
const int kLocalMapClassRowCount = sizeof(kLocalMapClassRows) / sizeof(kLocalMapClassRows[0]);
