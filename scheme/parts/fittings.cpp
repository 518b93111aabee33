#include "scheme/parts/fittings.h"

#include "kestui/graphics/image.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/net.h"

void MakeHydraulicPins(CSCHBlock* b, const HydraulicPinPlace* places, int n) {
  b->SetPinCount(n);
  for (int i = 0; i < b->pinCount; i++) {
    b->pins[i].kind = kSchPinHydraulic;
    b->pins[i].side = places[i].side;
    b->pins[i].offset = places[i].offset;
  }
}

void PaintFittingPicture(CSCHBlock* b, HDC dc, CKestImage* picture, const wchar_t* file) {
  if (LoadSchemeIcon(picture, file)) picture->Draw(dc, b->rect.left, b->rect.top);
}

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
