#include "components/electronic/power/power_injector.h"

#include <cmath>
#include <cwchar>

#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"

void BuildInjectorPins(CSCHBlock* b, const wchar_t* typeText, int width, int cableKind,
                       const wchar_t* inDescription, const wchar_t* outDescription) {
  b->typeText = typeText;
  b->rect.right = b->rect.left + width;
  b->rect.bottom = b->rect.top + 30;
  b->SetPinCount(4);
  if (b->pinCount != 4) return;
  struct Row {
    const wchar_t* name;
    const wchar_t* description;
    int kind;
    int side;
  };
  const Row rows[4] = {
      {L"in", inDescription, cableKind, kSchSideLeft},
      {L"out", outDescription, cableKind, kSchSideRight},
      {L"-", L"Вход питания", kSchPinElectric, kSchSideBottom},
      {L"+", L"Вход питания", kSchPinElectric, kSchSideBottom},
  };
  for (int i = 0; i < 4; i++) {
    b->pins[i].name = rows[i].name;
    b->pins[i].description = rows[i].description;
    b->pins[i].kind = rows[i].kind;
    b->pins[i].side = rows[i].side;
  }
  b->SpacePins(true);
}

void StepPowerInjector(CSCHBlock* b) {
  if (b->pinCount != 4) return;
  SchNet* out = b->pins[kElecInjectorOut].net;
  if (!out) return;
  // The load the consumer on the cable wrote, or the pins' own conductances.
  // A sum that is not a positive number (a consumer that wrote nonsense)
  // counts as an open cable.
  double G = out->sumG;
  float Rout = G > 0 && std::isfinite(G) ? static_cast<float>(1.0 / G) : kSchOpenResistance;
  if (!std::isfinite(Rout)) Rout = kSchOpenResistance;
  float Um, Rm, Up, Rp;
  b->GetPinInput(kElecInjectorMinus, &Um, &Rm);
  b->GetPinInput(kElecInjectorPlus, &Up, &Rp);
  b->SetPinSource(kElecInjectorMinus, Up, Rp + Rout);
  b->SetPinSource(kElecInjectorPlus, Um, Rm + Rout);
  out->sumI = static_cast<double>((Up - Um) * Rout / (Rout + Rm + Rp));
  SchNet* in = b->pins[kElecInjectorIn].net;
  if (!in) return;
  if (in->source) {
    out->sourceKind = in->sourceKind;
    out->source = in->source;
  } else {
    in->sourceKind = out->sourceKind;
    in->source = out->source;
  }
}

void PaintCentredText(HDC dc, const RECT& rect, int y, const wchar_t* text) {
  int n = static_cast<int>(wcslen(text));
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, text, n, &size);
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, (rect.left + rect.right - size.cx) / 2, y, text, n);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}
