#include "scheme/parts/5_gidro.h"

#include <new>

#include "kestui/graphics/image.h"
#include "scheme/parts/fittings.h"

namespace {

// The class picture: empty until first painted, destroyed at exit.
CKestImage g_fivePicture;

}  // namespace

CSCH_5_Gidro::CSCH_5_Gidro() {
  rect = RECT{0, 0, 40, 17};
  static const HydraulicPinPlace kPlaces[] = {
      {kSchSideLeft, 12}, {kSchSideRight, 5}, {kSchSideTop, 7}, {kSchSideTop, 20}, {kSchSideTop, 32}};
  MakeHydraulicPins(this, kPlaces, 5);
}

void CSCH_5_Gidro::Paint(HDC dc) { PaintFittingPicture(this, dc, &g_fivePicture, L"5.png"); }
void CSCH_5_Gidro::JoinInternalNets() { JoinAllPinNets(this); }

CSCHBlock* CreateCSCH_5_Gidro() { return new (std::nothrow) CSCH_5_Gidro; }
