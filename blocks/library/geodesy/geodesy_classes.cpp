#include "blocks/library/geodesy/geodesy_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/geodesy/nav_controller.h"
#include "blocks/library/geodesy/plane_to_xyz.h"
#include "blocks/library/geodesy/pz90_to_xyz.h"
#include "blocks/library/geodesy/wgs84_to_xyz.h"
#include "blocks/library/geodesy/xyz_to_plane.h"
#include "blocks/library/geodesy/xyz_to_pz90.h"
#include "blocks/library/geodesy/xyz_to_wgs84.h"

const BeLibraryClassRow kGeodesyClassRows[] = {
    {kBeNavControllerClassId, CBENavController::Create}, {kBeWGS84toXYZClassId, CBEWGS84toXYZ::Create},
    {kBePZ90toXYZClassId, CBEPZ90toXYZ::Create},         {kBeXYZtoWGS84ClassId, CBEXYZtoWGS84::Create},
    {kBeXYZtoPZ90ClassId, CBEXYZtoPZ90::Create},         {kBeXYZtoPlaneClassId, CBEXYZtoPlane::Create},
    {kBePlaneToXYZClassId, CBEPlaneToXYZ::Create},
};
const int kGeodesyClassRowCount = sizeof(kGeodesyClassRows) / sizeof(kGeodesyClassRows[0]);
