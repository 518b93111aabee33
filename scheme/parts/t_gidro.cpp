#include "scheme/parts/t_gidro.h"

#include <new>

#include "kestui/graphics/image.h"
#include "scheme/parts/fittings.h"

namespace {

// The class picture: empty until first painted, destroyed at exit.
CKestImage g_tPicture;

}  // namespace

CSCH_T_Gidro::CSCH_T_Gidro() {
  rect = RECT{0, 0, 30, 20};
  static const HydraulicPinPlace kPlaces[] = {{kSchSideLeft, 5}, {kSchSideRight, 15}, {kSchSideBottom, 15}};
  MakeHydraulicPins(this, kPlaces, 3);
}

void CSCH_T_Gidro::Paint(HDC dc) { PaintFittingPicture(this, dc, &g_tPicture, L"T.png"); }
void CSCH_T_Gidro::JoinInternalNets() { JoinAllPinNets(this); }

CSCHBlock* CreateCSCH_T_Gidro() { return new (std::nothrow) CSCH_T_Gidro; }
