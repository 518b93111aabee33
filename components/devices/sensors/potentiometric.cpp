#include "components/devices/sensors/potentiometric.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

#include "components/devices/device_text.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/pin_model.h"

namespace {

// The picture every potentiometric sensor shows, loaded on the first paint.
CKestImage g_potentiometricPicture;

const wchar_t kTornOffMessage[] = L"Датчик \"%s\" был свернут с оси";
const wchar_t kWinding[] = L"Обмотка";
const wchar_t kWiper[] = L"Ползунок";

const double kPi = 3.1415927f;
// The wiper's noise: a pseudo-random share of 0.005 of the travel, centred.
const int kNoiseRange = 32767;
const double kNoiseSpan = 0.005;

void WriteFloat(CStream* s, float v) { s->Write(&v, 4); }

float ReadFloatAt(const unsigned char* bytes) {
  float v;
  memcpy(&v, bytes, 4);
  return v;
}

// Drives the pin as two branches in parallel (U1 behind R1, U2 behind R2) in
// series with Rs; open when the branches have no conductance between them
// (a winding of no positive resistance).
void DriveParallel(CSCHBlock* b, int pin, double U1, double R1, double U2, double R2, double Rs) {
  const double g = 1 / R1 + 1 / R2;
  const double U = (U1 / R1 + U2 / R2) / g;
  const double R = 1 / g + Rs;
  if (!(g > 0) || !std::isfinite(U) || !std::isfinite(R) || !(R > 0)) {
    b->SetPinSource(pin, 0, kSchOpenResistance);
    return;
  }
  b->SetPinSource(pin, static_cast<float>(U), static_cast<float>(R));
}

}  // namespace

CSCHPotentiometric::CSCHPotentiometric() {
  rect = RECT{0, 0, kWidth, kHeight};
  SetPinCount(3);
  if (pinCount == 3) {
    const wchar_t* texts[3] = {kWinding, kWiper, kWinding};
    const int offsets[3] = {47, 28, 5};
    for (int i = 0; i < 3; i++) {
      pins[i].description = texts[i];
      pins[i].side = kSchSideRight;
      pins[i].offset = offsets[i];
    }
  }
}

void CSCHPotentiometric::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    halfAngle = RoundToFloat(record->GetFloatByName("maxAngle") * kPi / 360);
    R = record->GetFloatByName("R");
    friction = record->GetFloatByName("friction");
  }
  CSCHDevice::ApplyDbRecord(record);
}

void CSCHPotentiometric::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_potentiometricPicture, L"potentiometric.png"))
    g_potentiometricPicture.Draw(dc, rect.left, rect.top);
  PaintDeviceName(dc, this, (rect.left + rect.right - DeviceNameWidth(dc, this)) / 2, rect.bottom);
}

double CSCHPotentiometric::WiperTravel(float angle) const {
  const double x = halfAngle != 0 ? angle / static_cast<double>(halfAngle) : angle / kPi;
  return (x + 1) / 2;
}

void CSCHPotentiometric::Step(float) {
  if (pinCount != 3) return;
  if (burnt) {
    // Torn off its shaft: the sensor keeps no drive of its last step.
    for (int i = 0; i < 3; i++) SetPinSource(i, 0, kSchOpenResistance);
    return;
  }
  if (halfAngle != 0 && std::fabs(shaftAngle) > halfAngle) {
    burnt = 1;
    ReportDevice(this, kTornOffMessage);
    return;
  }
  double w = WiperTravel(shaftAngle);
  // An angle or half angle that is no number leaves the wiper where it was.
  if (std::isnan(w)) w = lastTravel;
  lastTravel = w;
  const int r = rand() % (kNoiseRange + 1);
  w += r * kNoiseSpan / kNoiseRange - kNoiseSpan / 2;
  // The wiper stays on the winding, also with the noise at its ends and past
  // +-pi without a stop.
  if (!(w >= 0)) w = 0;
  if (!(w <= 1)) w = 1;
  const double Ra = R * w, Rb = R * (1 - w);

  float U0, R0, U1, R1, U2, R2;
  GetPinInput(kWindingPin0, &U0, &R0);
  GetPinInput(kWiperPin, &U1, &R1);
  GetPinInput(kWindingPin2, &U2, &R2);
  DriveParallel(this, kWindingPin0, U1, R1, U2, R2 + Rb, Ra);
  DriveParallel(this, kWiperPin, U0, R0 + Ra, U2, R2 + Rb, 0);
  DriveParallel(this, kWindingPin2, U1, R1, U0, R0 + Ra, Rb);
}

void CSCHPotentiometric::Save(CStream* s) {
  for (float v : {halfAngle, R, friction}) WriteFloat(s, v);
  CSCHDevice::Save(s);
}

void CSCHPotentiometric::Load(CStream* s) {
  // Read whole before anything changes: a cut record leaves the sensor as
  // it was (the short read fails the scheme read).
  unsigned char b[kOwnRecordBytes];
  if (s->Read(b, kOwnRecordBytes) != kOwnRecordBytes) return;
  halfAngle = ReadFloatAt(b);
  R = ReadFloatAt(b + 4);
  friction = ReadFloatAt(b + 8);
  CSCHDevice::Load(s);
}

CSCHBlock* CreateCSCHPotentiometric() { return new (std::nothrow) CSCHPotentiometric; }
