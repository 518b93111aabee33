#include "blocks/library/math/trigonometry_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/math/trig/arccos.h"
#include "blocks/library/math/trig/arcsin.h"
#include "blocks/library/math/trig/arctan.h"
#include "blocks/library/math/trig/cos.h"
#include "blocks/library/math/trig/cotan.h"
#include "blocks/library/math/trig/deg_to_rad.h"
#include "blocks/library/math/trig/pi_to_pi.h"
#include "blocks/library/math/trig/rad_to_deg.h"
#include "blocks/library/math/trig/sin.h"
#include "blocks/library/math/trig/tan.h"
#include "blocks/library/math/vectors/arctan2.h"
#include "blocks/library/math/vectors/distance.h"
#include "blocks/library/math/vectors/length.h"
#include "blocks/library/math/vectors/norm.h"
#include "blocks/library/math/vectors/rot.h"

const BeLibraryClassRow kTrigonometryClassRows[] = {
    {kBeSinClassId, CBESin::Create},
    {kBeCosClassId, CBECos::Create},
    {kBeTanClassId, CBETan::Create},
    {kBeCotanClassId, CBECotan::Create},
    {kBeArcsinClassId, CBEArcsin::Create},
    {kBeArccosClassId, CBEArccos::Create},
    {kBeArctanClassId, CBEArctan::Create},
    {kBeArctan2ClassId, CBEArctan2::Create},
    {kBeLengthClassId, CBELength::Create},
    {kBeNormClassId, CBENorm::Create},
    {kBeDistanceClassId, CBEDistance::Create},
    {kBeDegToRadClassId, CBEDegToRad::Create},
    {kBeRadToDegClassId, CBERadToDeg::Create},
    {kBePItoPIClassId, CBEPItoPI::Create},
    {kBeRotClassId, CBERot::Create},
};
const int kTrigonometryClassRowCount = sizeof(kTrigonometryClassRows) / sizeof(kTrigonometryClassRows[0]);
