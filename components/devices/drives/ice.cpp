#include "components/devices/drives/ice.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <new>

#include "components/devices/device_text.h"
#include "components/devices/drives/rotor_winding.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/pin_model.h"

namespace {

// The pictures of the engines with and without key start, each loaded on
// its first use.
CKestImage g_keyEnginePicture;
CKestImage g_plainEnginePicture;

const double kPi = 3.1415927f;
const float kPickUp = 0.85f;       // of Uacc: a relay that is off turns on above it
const float kDropOut = 0.5f;       // of Uacc: a relay that is on turns off below it
const double kLeastConductance = 1e-5;
const double kStarterShare = 0.6;  // of the starter's electrical power that turns the engine
const double kCrankingCurrent = 0.01;
const int kNameLift = 14;          // px the name stands above the block

// Saved wire and child identities number the objects of one stream from 1.
const intptr_t kLargestIdentity = 1 << 24;
// A wire record holds at least this many bytes.
const int kLeastWireBytes = 41;

void WriteFloat(CStream* s, float v) { s->Write(&v, 4); }

// The texts of the record come from database cells in code page 1251: no
// control character, nothing that code page cannot hold.
bool TextPlausible(const wchar_t* text) {
  if (!text) return true;
  for (const wchar_t* p = text; *p; p++)
    if (*p < 0x20) return false;
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &usedDefault);
  return n > 0 && !usedDefault;
}

bool ZeroOrNormal(float v) {
  int kind = std::fpclassify(v);
  return kind == FP_ZERO || kind == FP_NORMAL;
}

// Reads through another stream but never past its end: a trial reading
// leaves the stream no mark of a short read (the scheme reader fails a read
// that ever came up short). It notes its own short reads.
class CBoundedReader : public CStream {
public:
  explicit CBoundedReader(CStream* inner) : inner_(inner) {}
  int Write(const void*, int) override { return 0; }
  int Read(void* data, int length) override {
    if (length <= 0) return 0;
    int left = inner_->GetSize() - inner_->GetPosition();
    int n = length < left ? length : (left > 0 ? left : 0);
    int got = n > 0 ? inner_->Read(data, n) : 0;
    if (got < length) shortRead = true;
    return got;
  }
  int Seek(int offset, int origin) override { return inner_->Seek(offset, origin); }
  bool shortRead = false;

private:
  CStream* inner_;
};

// What comes after a block record in a scheme stream: the class name of the
// next block (2), or the end of the block list, i.e. the model path and a
// wire count the bytes left can hold, or the end of the stream (1).
int FollowLevel(CBoundedReader* in) {
  int here = in->GetPosition();
  int size = in->GetSize();
  if (here >= size) return 1;
  char* name = in->ReadStringA();
  bool named = name && !in->shortRead && g_schClassRegistry.Find(name);
  FreeBuffer(name);
  if (named) return 2;
  in->Seek(here, 0);
  in->shortRead = false;
  wchar_t* path = in->ReadStringW();
  FreeBuffer(path);
  int wires = in->ReadInt32();
  long long left = static_cast<long long>(size) - in->GetPosition();
  if (!in->shortRead && wires >= 0 && static_cast<long long>(wires) * kLeastWireBytes <= left) return 1;
  return 0;
}

// The base record as the program writes it: a board position that is 0 or
// a normal number, a quarter-turn orientation, identities in range.
bool BaseLooksSaved(const CSCHBlock& b) {
  if (!ZeroOrNormal(b.boardX) || !ZeroOrNormal(b.boardY)) return false;
  if (b.orientation < 0 || b.orientation > 3) return false;
  for (int i = 0; i < b.pinCount; i++) {
    intptr_t id = reinterpret_cast<intptr_t>(b.pins[i].wire);
    if (id < 0 || id >= kLargestIdentity) return false;
  }
  for (int i = 0; i < b.childCount; i++) {
    intptr_t id = reinterpret_cast<intptr_t>(b.children[i]);
    if (id < 0 || id >= kLargestIdentity) return false;
  }
  return true;
}

}  // namespace

float IceRpmToRadians(double rpm) { return RoundToFloat(rpm * 2 * kPi / 60); }

CSCHICE::CSCHICE()
    : minSpeed(IceRpmToRadians(500)),
      idleSpeed(IceRpmToRadians(800)),
      nominalSpeed(IceRpmToRadians(1800)),
      maxTorqueSpeed(IceRpmToRadians(900)) {
  rect = RECT{0, 0, kWidth, kHeight};
  BuildPins();
}

CSCHICE::~CSCHICE() {
  ReplaceOwnedText(&sound, nullptr);
  ReplaceOwnedText(&starterSound, nullptr);
}

bool CSCHICE::BuildPins() {
  int n = ExpectedPinCount();
  if (!SetPinCount(n) || pinCount != n) return false;
  struct PinRow {
    int side, offset;
    const wchar_t* description;
  };
  static const PinRow kPins[5] = {
      {kSchSideBottom, 39, L"+ Аккумуляторной батареи"},
      {kSchSideBottom, 62, L"- Аккумуляторной батареи (\"Земля\")"},
      {kSchSideRight, 32,
       L"От включателя приборного питания (положение ACC ключа зажигания) (+ от аккумуляторной батареи)"},
      {kSchSideRight, 19,
       L"От включателя питания двигателя (положение ON ключа зажигания) (+ от аккумуляторной батареи)"},
      {kSchSideRight, 8,
       L"От включателя реле стартера (положение START ключа зажигания) (+ от аккумуляторной батареи)"},
  };
  for (int i = 0; i < n; i++) {
    pins[i].name = nullptr;
    pins[i].description = kPins[i].description;
    pins[i].kind = kSchPinElectric;
    pins[i].side = kPins[i].side;
    pins[i].offset = kPins[i].offset;
  }
  return true;
}

void CSCHICE::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    power = RoundToFloat(record->GetDoubleByName("power") * 1000);
    startType = static_cast<unsigned char>(record->GetIntByName("startType"));
    Irelay = record->GetFloatByName("Irelay");
    type = static_cast<unsigned char>(record->GetIntByName("type"));
    ctrlPath = RoundToFloat(record->GetDoubleByName("ctrlPath") / 1000);
    Ffriction = record->GetFloatByName("Ffriction");
    Fstatic = record->GetFloatByName("Fstatic");
    Fdyn = record->GetFloatByName("Fdyn");
    friction = record->GetFloatByName("friction");
    minSpeed = IceRpmToRadians(record->GetDoubleByName("minSpeed"));
    idleSpeed = IceRpmToRadians(record->GetDoubleByName("idleSpeed"));
    nominalSpeed = IceRpmToRadians(record->GetDoubleByName("nominalSpeed"));
    maxSpeed = IceRpmToRadians(record->GetDoubleByName("maxSpeed"));
    maxTorqueSpeed = RoundToFloat(record->GetDoubleByName("maxTorqueSpeed") * kPi / 30);
    maxTorquePercent = RoundToFloat(record->GetDoubleByName("maxTorquePercent") / 100);
    timeConst = record->GetFloatByName("timeConst");
    consumption = record->GetFloatByName("consumption");
    stopTime = record->GetFloatByName("stopTime");
    Uacc = record->GetFloatByName("Uacc");
    Istarter = record->GetFloatByName("Istarter");
    Ugen = record->GetFloatByName("Ugen");
    Igen = record->GetFloatByName("Igen");
    Ipribor = record->GetFloatByName("Ipribor");
    Iengine = record->GetFloatByName("Iengine");
    ReplaceOwnedText(&sound, DecodeDbText(record->GetTextByName("sound")));
    soundRate = record->GetFloatByName("soundRate");
    ReplaceOwnedText(&starterSound, DecodeDbText(record->GetTextByName("starterSound")));
  }
  CSCHBlock::ApplyDbRecord(record);
  BuildPins();
}

void CSCHICE::Paint(HDC dc) {
  CKestImage* picture = startType != kNoKey ? &g_keyEnginePicture : &g_plainEnginePicture;
  if (LoadSchemeIcon(picture, startType != kNoKey ? L"ICE.jpg" : L"ICE2.jpg"))
    picture->Draw(dc, rect.left, rect.top);
  PaintDeviceName(dc, this, (rect.left + rect.right - DeviceNameWidth(dc, this)) / 2, rect.top - kNameLift);
}

void CSCHICE::Start() {
  starterTorque = 0;
  starterCurrent = 0;
  if (startType != kNoKey) {
    engineState = kStopped;
    accRelay = onRelay = startRelay = 0;
  } else {
    engineState = kRunning;
    accRelay = onRelay = 1;
    startRelay = 0;
  }
  CSCHBlock::Start();
}

void CSCHICE::StepKeys(float Um, float Rm) {
  // An engine whose data names no coil current has coils that draw none.
  float coil = GuardedQuotient(Uacc, Irelay);
  if (!(coil > 0)) coil = kSchOpenResistance;
  const float pickUp = RoundToFloat(static_cast<double>(kPickUp) * Uacc);
  const float dropOut = RoundToFloat(static_cast<double>(kDropOut) * Uacc);
  unsigned char* relays[3] = {&accRelay, &onRelay, &startRelay};
  const int keys[3] = {kKeyAcc, kKeyOn, kKeyStart};
  for (int i = 0; i < 3; i++) {
    float Uk, Rk;
    GetPinInput(keys[i], &Uk, &Rk);
    // The coil from the key pin to the battery minus: the key's net carries
    // its current, so it adds nothing to the sum between the battery pins.
    SetPinSource(keys[i], Um, Rm + coil);
    float Vc = RoundToFloat((static_cast<double>(Uk) - Um) * coil / (static_cast<double>(Rm) + Rk + coil));
    if (!*relays[i] && Vc > pickUp) *relays[i] = 1;
    else if (*relays[i] && Vc < dropOut) *relays[i] = 0;
  }
}

void CSCHICE::Step(float) {
  float Up, Rp, Um, Rm;
  GetPinInput(kElecBatteryPlus, &Up, &Rp);
  GetPinInput(kElecBatteryMinus, &Um, &Rm);
  double G = kLeastConductance, I = 0;
  if (startType == kKeyStartType && pinCount == 5) StepKeys(Um, Rm);
  if (accRelay && Ipribor > 0 && Uacc > 0) G += static_cast<double>(Ipribor) / Uacc;
  if (onRelay && Iengine > 0 && Uacc > 0) G += static_cast<double>(Iengine) / Uacc;
  if (!onRelay) engineState = kStopped;
  if (Istarter > 0) {
    const double V = static_cast<double>(Up) - Um;
    const double E = GuardedQuotient(RoundToFloat(static_cast<double>(engineSpeed) * Uacc), minSpeed);
    double Rs = kSchOpenResistance;
    if (startRelay) {
      engineState = kCranking;
      Rs = GuardedQuotient(Uacc, Istarter);
      if (!(Rs > 0)) Rs = kSchOpenResistance;
    }
    double Is = (V - E) / (Rs + Rp + Rm);
    // Cranking, the starter is taken as the resistance that draws that
    // current from the battery's voltage.
    if (startRelay && std::fabs(Is) > kCrankingCurrent) {
      double cranking = V / Is;
      if (std::isfinite(cranking) && cranking != 0) Rs = cranking;
    }
    starterCurrent = RoundToFloat(Is);
    starterTorque = GuardedQuotient(RoundToFloat((V - E) * Is * kStarterShare), minSpeed);
    G += 1 / Rs;
    I += E / Rs;
  }
  if (Igen > 0 && engineSpeed >= idleSpeed && Ugen > 0) {
    G += static_cast<double>(Igen) / Ugen;
    I += Igen;
  }
  if (!(G > 0) || !std::isfinite(G) || !std::isfinite(I)) {
    // A sum without a Thevenin equivalent (a starter turned faster than its
    // battery drives it can outweigh the other loads) drives nothing.
    SetPinSource(kElecBatteryPlus, 0, kSchOpenResistance);
    SetPinSource(kElecBatteryMinus, 0, kSchOpenResistance);
    return;
  }
  const float Ueq = RoundToFloat(I / G), Req = RoundToFloat(1 / G);
  SetPinSource(kElecBatteryPlus, Um + Ueq, Rm + Req);
  SetPinSource(kElecBatteryMinus, Up - Ueq, Rp + Req);
}

// ------------------------------------------------------------ the record

void CSCHICE::SaveFields(CStream* s) {
  WriteFloat(s, power);
  s->WriteByte(startType);
  WriteFloat(s, Irelay);
  s->WriteByte(type);
  for (float v : {ctrlPath, Ffriction, Fstatic, Fdyn, friction, minSpeed, idleSpeed, nominalSpeed, maxSpeed,
                  stopTime, timeConst, consumption, Uacc, Istarter, Ugen, Igen, Ipribor, Iengine})
    WriteFloat(s, v);
  s->WriteStringW(sound);
  WriteFloat(s, soundRate);
  s->WriteStringW(starterSound);
  WriteFloat(s, maxTorqueSpeed);
  WriteFloat(s, maxTorquePercent);
}

void CSCHICE::LoadFields(CStream* s) {
  ReplaceOwnedText(&sound, nullptr);
  ReplaceOwnedText(&starterSound, nullptr);
  power = s->ReadFloat();
  startType = static_cast<unsigned char>(s->ReadByte());
  Irelay = s->ReadFloat();
  type = static_cast<unsigned char>(s->ReadByte());
  for (float* v : {&ctrlPath, &Ffriction, &Fstatic, &Fdyn, &friction, &minSpeed, &idleSpeed, &nominalSpeed,
                   &maxSpeed, &stopTime, &timeConst, &consumption, &Uacc, &Istarter, &Ugen, &Igen, &Ipribor,
                   &Iengine})
    *v = s->ReadFloat();
  sound = s->ReadStringW();
  soundRate = s->ReadFloat();
  starterSound = s->ReadStringW();
  maxTorqueSpeed = s->ReadFloat();
  maxTorquePercent = s->ReadFloat();
}

bool CSCHICE::FieldsPlausible() const {
  for (float v : {power, Irelay, ctrlPath, Ffriction, Fstatic, Fdyn, friction, minSpeed, idleSpeed, nominalSpeed,
                  maxSpeed, stopTime, timeConst, consumption, Uacc, Istarter, Ugen, Igen, Ipribor, Iengine,
                  soundRate, maxTorqueSpeed, maxTorquePercent})
    if (!ZeroOrNormal(v)) return false;
  return TextPlausible(sound) && TextPlausible(starterSound);
}

void CSCHICE::Save(CStream* s) {
  CSCHBlock::Save(s);
  SaveFields(s);
}

CSCHICE::Trial CSCHICE::TryPinCount(CStream* s, int start, int pins) {
  Trial t = {false, 0, false, false};
  s->Seek(start, 0);
  CBoundedReader in(s);
  CSCHICE scratch;
  if (!scratch.SetPinCount(pins) || scratch.pinCount != pins) return t;
  scratch.CSCHBlock::Load(&in);
  scratch.LoadFields(&in);
  t.complete = !in.shortRead;
  t.agrees = (pins == 5) == (scratch.startType != kNoKey);
  t.fits = t.complete && t.agrees && BaseLooksSaved(scratch) && scratch.FieldsPlausible();
  t.follows = t.complete ? FollowLevel(&in) : 0;
  return t;
}

// The record puts the base record, whose wire identities are one per pin,
// before the start type, which decides the pin count (2, or 5 with key
// start). Both counts are tried on a scratch engine without reading past
// the stream's end; the reading that fits is taken: read in full, the start
// type agreeing with the pin count, the base record and the fields looking
// as the program writes them. When both fit, the one that a class name or
// the end of the block list follows is taken; else 2 pins, which a new
// engine has.
void CSCHICE::Load(CStream* s) {
  const int start = s->GetPosition();
  Trial two = TryPinCount(s, start, 2);
  Trial five = TryPinCount(s, start, 5);
  int pins = 2;
  if (two.fits != five.fits) pins = two.fits ? 2 : 5;
  else if (two.follows != five.follows) pins = five.follows > two.follows ? 5 : 2;
  else if (!two.fits && two.complete != five.complete) pins = five.complete ? 5 : 2;
  else if (!two.fits && two.agrees != five.agrees) pins = five.agrees ? 5 : 2;
  s->Seek(start, 0);
  if (!SetPinCount(pins) || pinCount != pins) {
    MarkSchemeRecordBroken(s);
    return;
  }
  CSCHBlock::Load(s);
  LoadFields(s);
  // A start type that disagrees with the record's pins (a damaged record)
  // still gets its own pins; the identities read stay on the first ones.
  if (!BuildPins()) MarkSchemeRecordBroken(s);
}

CSCHBlock* CreateCSCHICE() { return new (std::nothrow) CSCHICE; }
