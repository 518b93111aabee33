#include "components/electronic/discrete/custom_transistor.h"

#include <cmath>
#include <cwchar>

#include "components/electronic/discrete/discrete_common.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/pin_model.h"
#include "scheme/simulation/pin_state.h"

const COLORREF kElecTransistorBodyColors[kElecTransistorColorCount] = {
    RGB(51, 51, 51), RGB(187, 170, 204), RGB(255, 102, 102), RGB(255, 204, 0)};
const COLORREF kElecTransistorSecondColors[kElecTransistorColorCount] = {
    RGB(102, 102, 102), RGB(221, 238, 255), RGB(255, 153, 153), RGB(255, 255, 51)};
const COLORREF kElecTransistorLeadColor = RGB(204, 238, 255);

namespace {

const float kNameHeight = 3;  // mm
const float kPi = 3.14159265358979f;

// The weight with which a pin's source mixes into its net.
float Weight(const SchPinState* s) { return GetSourceWeight(s->sourceKind, s->source); }

// Mixes the pin's foreign source into its first pair and makes the second
// pair the same.
void Fold(SchPinState* s) {
  float U = s->U, R = s->R;
  ResolvePinState(*s, &U, &R);
  s->U = s->U2 = U;
  s->R = s->R2 = R;
}

void FoldUnlessWeighted(SchPinState* s, float w, float last) {
  float own = Weight(s);
  if (own != w && own != last) Fold(s);
}

void TakeSource(SchPinState* to, const SchPinState* from) {
  to->sourceKind = from->sourceKind;
  to->source = from->source;
}

void ClearSource(SchPinState* s) {
  s->sourceKind = 0;
  s->source = nullptr;
}

}  // namespace

CSCHCustomTransistor::CSCHCustomTransistor() {
  namePrefix = L"VT";
  rect = RECT{0, 0, 31, 31};
}

void CSCHCustomTransistor::UpdateBodySize() {
  footprintWidth = bodyLength;
  footprintLength = bodyWidth;
}

void CSCHCustomTransistor::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (record) {
    form = static_cast<unsigned char>(record->GetIntByName("form"));
    bodyLength = record->GetFloatByName("length");
    bodyWidth = record->GetFloatByName("width");
    tabSize = record->GetFloatByName("radiator");
    tabColor = static_cast<unsigned char>(record->GetIntByName("radColor"));
    rim = record->GetFloatByName("piping");
    bodyColor = static_cast<unsigned char>(ClampIndex(record->GetIntByName("color"), kElecTransistorColorCount));
    leadLength = record->GetFloatByName("legWidth");
    leadPitch = record->GetFloatByName("legStep");
  }
  UpdateBodySize();
}

float CSCHCustomTransistor::HandOverSource(const TransistorPins& p, float threshold, bool bipolar,
                                           bool secondFirstInFolding) {
  const float last = lastSourceWeight;
  float w;
  SchPinState* control = p.control;
  bool switching = (threshold < control->U) != (threshold < control->U2);
  if (control->source && switching) {
    // The source switches the transistor: it reaches both passing pins.
    w = Weight(control);
    SchPinState* order[2] = {p.first, p.second};
    if (secondFirstInFolding) {
      order[0] = p.second;
      order[1] = p.first;
    }
    for (SchPinState* s : order) FoldUnlessWeighted(s, w, last);
    TakeSource(p.first, control);
    TakeSource(p.second, control);
    ClearSource(control);
  } else if (p.first->source) {
    w = Weight(p.first);
    FoldUnlessWeighted(p.second, w, last);
    TakeSource(p.second, p.first);
    ClearSource(p.first);
    if (bipolar) {
      Fold(control);
      ClearSource(control);
    }
  } else {
    w = Weight(p.second);
    FoldUnlessWeighted(p.first, w, last);
    if (bipolar) {
      Fold(control);
      ClearSource(control);
    }
    TakeSource(p.first, p.second);
    ClearSource(p.second);
  }
  lastSourceWeight = w;
  return w;
}

void CSCHCustomTransistor::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  painter->SetPlacement(boardX, boardY, orientation);
  HDC dc = painter->dc;
  const float Lx = bodyLength, Wy = bodyWidth, p = leadPitch, l = leadLength;
  const int color = ClampIndex(bodyColor, kElecTransistorColorCount);
  {
    CKestOwnedBrush lead(CreateSolidBrush(kElecTransistorLeadColor));
    CKestDcSelection selection(dc);
    selection.Select(lead.Get());
    if (p != 0) {
      selection.Select(GetStockObject(NULL_PEN));
      const float h = p / 6, a = std::fabs(p);
      painter->DrawRectangle(-a - h, -Wy / 2, -a + h, -Wy / 2 - l);
      painter->DrawRectangle(a - h, -Wy / 2, a + h, -Wy / 2 - l);
      if (p > 0) painter->DrawRectangle(-h, Wy / 2 + l, h, Wy / 2);
    } else if (l > 0) {
      painter->DrawRectangle(-l / 2, -0.2f, l / 2, 0.2f);
    }
  }
  {
    CKestOwnedBrush body(CreateSolidBrush(kElecTransistorBodyColors[color]));
    CKestOwnedBrush second(CreateSolidBrush(kElecTransistorSecondColors[color]));
    CKestDcSelection selection(dc);
    selection.Select(body.Get());
    switch (form) {
      case kElecTransistorRectangle:
        painter->DrawRectangle(-Lx / 2, -Wy / 2, Lx / 2, Wy / 2);
        if (rim > 0) painter->DrawRectangle(-Lx / 2 + rim, -Wy / 2 + rim, Lx / 2 - rim, Wy / 2 - rim);
        break;
      case kElecTransistorTwoColour: {
        HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
        selection.Select(GetStockObject(NULL_PEN));
        painter->DrawRectangle(-Lx / 2, -Wy / 2, Lx / 2, 0);
        selection.Select(second.Get());
        painter->DrawRectangle(-Lx / 2, 0, Lx / 2, Wy / 2);
        selection.Select(pen);
        selection.Select(GetStockObject(NULL_BRUSH));
        painter->DrawRectangle(-Lx / 2, -Wy / 2, Lx / 2, Wy / 2);
        break;
      }
      case kElecTransistorCan:
        painter->DrawCircle(0, 0, Lx / 2);
        if (rim > 0) painter->DrawCircle(0, 0, Lx / 2 - rim);
        break;
      case kElecTransistorFlatCan: {
        float points[66];
        for (int i = 8; i <= 40; i++) {
          float a = i * kPi / 24;
          points[2 * (i - 8)] = std::sin(a) * Lx / 2;
          points[2 * (i - 8) + 1] = -std::cos(a) * Lx / 2;
        }
        painter->DrawPolygon(33, points);
        break;
      }
      default:
        break;
    }
  }
  if (tabSize > 0) {
    CKestOwnedBrush tab(CreateSolidBrush(tabColor ? kElecTransistorLeadColor : kElecTransistorBodyColors[color]));
    CKestDcSelection selection(dc);
    selection.Select(tab.Get());
    painter->DrawRectangle(-Lx / 2, Wy / 2 - tabSize, Lx / 2, Wy / 2);
  }
  if (instanceName) {
    COLORREF old = SetTextColor(dc, RGB(255, 255, 255));
    painter->DrawText(0, -Wy / 2 - 2 - std::fabs(l), kNameHeight, instanceName, 0);
    SetTextColor(dc, old);
  }
}

void CSCHCustomTransistor::Save(CStream* s) {
  CSCHBlock::Save(s);
  s->WriteByte(form);
  s->Write(&bodyLength, 4);
  s->Write(&bodyWidth, 4);
  s->Write(&tabSize, 4);
  s->WriteByte(tabColor);
  s->Write(&rim, 4);
  s->WriteByte(bodyColor);
  s->Write(&leadLength, 4);
  s->Write(&leadPitch, 4);
}

void CSCHCustomTransistor::Load(CStream* s) {
  CSCHBlock::Load(s);
  form = static_cast<unsigned char>(s->ReadByte());
  bodyLength = s->ReadFloat();
  bodyWidth = s->ReadFloat();
  tabSize = s->ReadFloat();
  tabColor = static_cast<unsigned char>(s->ReadByte());
  rim = s->ReadFloat();
  bodyColor = static_cast<unsigned char>(ClampIndex(s->ReadByte(), kElecTransistorColorCount));
  leadLength = s->ReadFloat();
  leadPitch = s->ReadFloat();
  UpdateBodySize();
}

void PaintTransistorName(CSCHBlock* block, HDC dc) {
  if (!block || !block->instanceName) return;
  int length = static_cast<int>(wcslen(block->instanceName));
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, block->instanceName, length, &size);
  COLORREF old = SetTextColor(dc, RGB(0, 0, 0));
  TextOutW(dc, block->rect.left + 20 - size.cx, block->rect.bottom + 2, block->instanceName, length);
  SetTextColor(dc, old);
}
