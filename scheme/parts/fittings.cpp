#include "scheme/parts/fittings.h"

#include <new>

#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/nets.h"

namespace {

// The class pictures: empty until first painted, destroyed at exit.
CKestImage g_tPicture;
CKestImage g_fivePicture;

struct PinPlace {
  int side, offset;
};

void MakeHydraulicPins(CSCHBlock* b, const PinPlace* places, int n) {
  b->SetPinCount(n);
  for (int i = 0; i < b->pinCount; i++) {
    b->pins[i].kind = kPinHydraulic;
    b->pins[i].side = places[i].side;
    b->pins[i].offset = places[i].offset;
  }
}

void PaintPicture(CSCHBlock* b, HDC dc, CKestImage* picture, const wchar_t* file) {
  if (LoadSchemeIcon(picture, file)) picture->Draw(dc, b->rect.left, b->rect.top);
}

}  // namespace

void JoinAllPinNets(CSCHBlock* block) {
  if (!block) return;
  SchNet* first = nullptr;
  for (int i = 0; i < block->pinCount; i++) {
    SchNet* n = block->pins[i].net;
    if (!n) continue;
    if (!first) first = n;
    else first->Merge(n);
  }
}

CSCH_T_Gidro::CSCH_T_Gidro() {
  rect = RECT{0, 0, 30, 20};
  static const PinPlace kPlaces[] = {{kSideLeft, 5}, {kSideRight, 15}, {kSideBottom, 15}};
  MakeHydraulicPins(this, kPlaces, 3);
}

void CSCH_T_Gidro::Paint(HDC dc) { PaintPicture(this, dc, &g_tPicture, L"T.png"); }
void CSCH_T_Gidro::JoinInternalNets() { JoinAllPinNets(this); }

CSCH_5_Gidro::CSCH_5_Gidro() {
  rect = RECT{0, 0, 40, 17};
  static const PinPlace kPlaces[] = {
      {kSideLeft, 12}, {kSideRight, 5}, {kSideTop, 7}, {kSideTop, 20}, {kSideTop, 32}};
  MakeHydraulicPins(this, kPlaces, 5);
}

void CSCH_5_Gidro::Paint(HDC dc) { PaintPicture(this, dc, &g_fivePicture, L"5.png"); }
void CSCH_5_Gidro::JoinInternalNets() { JoinAllPinNets(this); }

CSCHBlock* CreateCSCH_T_Gidro() { return new (std::nothrow) CSCH_T_Gidro; }
CSCHBlock* CreateCSCH_5_Gidro() { return new (std::nothrow) CSCH_5_Gidro; }
