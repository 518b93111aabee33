#include "units/avr/avr.h"

#include <climits>
#include <cstring>
#include <new>

#include "blocks/engine/block_scheme.h"
#include "components/electronic/chips/chip_text.h"
#include "foundation/stream.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/scheme_stream.h"
#include "scheme/simulation/net.h"
#include "units/avr/avr_circuit.h"
#include "units/avr/avr_pin_tables.h"
#include "units/avr/avr_program_blocks.h"
#include "units/catalogues/unit_catalogues.h"
#include "units/unit_program.h"

namespace {

// The fields before the base record: package, interface, three floats,
// ADC and UART counts, clock, ROM, RAM, timers and PWM, pin-change flag,
// pin count.
const int kHeadBytes = 1 + 1 + 4 + 4 + 4 + 1 + 1 + 4 + 4 + 4 + 1 + 1 + 4;
// The footprint's model text: 31 characters and a terminator.
const int kFootprintChars = 32;
const COLORREF kMarkingColor = RGB(0x99, 0x99, 0x99);

// The pins (1-based) that JoinInternalNets chains, by package; each list
// ends with 0.
struct SupplyChains {
  int pinCount;
  int ground[5];
  int supply[4];
  int aref;
  int avcc;
};
const SupplyChains kChains[] = {
    {28, {8, 22, 0}, {7, 0}, 21, 20},
    {32, {3, 5, 21, 0}, {6, 4, 0}, 20, 18},
    {40, {31, 11, 0}, {10, 0}, 32, 30},
    {44, {6, 18, 28, 39, 0}, {5, 17, 38, 0}, 29, 27},
    {64, {22, 53, 63, 0}, {52, 21, 0}, 62, 64},
};

float FloatAt(const unsigned char* p) {
  float v;
  memcpy(&v, p, 4);
  return v;
}
int Int32At(const unsigned char* p) {
  int v;
  memcpy(&v, p, 4);
  return v;
}
void WriteFloat(CStream* s, float v) { s->Write(&v, 4); }

// Bytes a program may use: kilobytes x 1024, no more than an int holds.
int RomBytes(int kilobytes) {
  long long bytes = static_cast<long long>(kilobytes) * 1024;
  if (bytes > INT_MAX) return INT_MAX;
  if (bytes < INT_MIN) return INT_MIN;
  return static_cast<int>(bytes);
}

// The package, timer and PWM channel counts of a known model.
bool CountsKnown(int package, int timers, int pwm) {
  if (package != kUnitAvrWideDip && package != kUnitAvrDip && package != kUnitAvrQuadFlat) return false;
  if (timers != 0 && timers != 3 && timers != 4) return false;
  return pwm >= 0 && pwm <= 8;
}

}  // namespace

CAVR::CAVR() {
  BuildAvrPalette();
  program_ = new BeScheme;
  InitUnitProgram(program_, GetAvrCatalogue(), this);
  program_->sharedRoutineRom = kUnitAvrSharedRoutineRom;
  program_->baseRom = kUnitAvrBaseRom;
  program_->baseRam = kUnitAvrBaseRam;
  namePrefix = L"DD";
  typeText = L"Микроконтроллер AVR";
}

CAVR::~CAVR() {
  delete program_;
  program_ = nullptr;
}

bool CAVR::IsAvrModelKnown(int pinCount, int package, int timers, int pwm) {
  return HasAvrPinTable(pinCount) && CountsKnown(package, timers, pwm);
}

void CAVR::ApplyDbRecord(CompDbRecord* record) {
  CSCHBlock::ApplyDbRecord(record);
  if (!record) return;
  const int n = record->GetIntByName("n");
  const int package = record->GetIntByName("corps");
  const int timers = record->GetIntByName("Timers");
  const int pwm = record->GetIntByName("PWM");
  if (!IsAvrModelKnown(n, package, timers, pwm)) return;
  if (!SetPinCount(n)) return;
  corps = package;
  Umin = record->GetFloatByName("Umin");
  Umax = record->GetFloatByName("Umax");
  freq = record->GetFloatByName("freq");
  Imax = record->GetFloatByName("I") / 1000;
  ADC = record->GetIntByName("ADC");
  UART = record->GetIntByName("UART");
  Timers = timers;
  ROM = record->GetIntByName("ROM");
  RAM = record->GetIntByName("RAM");
  PWM = pwm;
  PCINTx = record->GetIntByName("PCINTx") != 0;
  programmer = record->GetIntByName("program");
  BuildPins();
  DeleteAvrDeviceBlocks(program_);
  AddAvrProgramBlocks(this);
  AddAvrApplicationCircuit(this);
}

void CAVR::BuildPins() {
  program_->frequency = freq * 1000000.0f;
  program_->romLimit = RomBytes(ROM);
  program_->ramLimit = RAM;

  // A chip without pins (its model was refused) keeps its body.
  switch (pinCount > 0 ? corps : -1) {
    case kUnitAvrWideDip:
      LayoutPinsWideDip();
      rect.right = rect.left + kUnitAvrDipSymbolWidth;
      break;
    case kUnitAvrDip:
      LayoutPinsDip();
      rect.right = rect.left + kUnitAvrDipSymbolWidth;
      break;
    case kUnitAvrQuadFlat:
      LayoutPinsQuad();
      break;
    default:
      break;
  }

  AvrPinVariant variant;
  variant.pinChange = PCINTx != 0;
  variant.fastClock = freq > 1.0f;
  variant.eightPwm = IsEightPwm();
  for (int i = 0; i < pinCount; ++i) {
    AvrPinText text;
    GetAvrPinText(pinCount, variant, i, &text);
    pins[i].name = text.name;
    pins[i].description = text.description;
  }
}

void CAVR::SetAllPinsFloating() {
  for (int i = 0; i < pinCount; ++i) SetPinSource(i, 0, kUnitAvrFloatingResistance);
}

void CAVR::RotateChildPart(const CSCHBlock* chip, CSCHBlock* part) {
  if (!chip || !part) return;
  part->orientation = (part->orientation + 1) & 3;
  const float dx = part->boardX - chip->boardX;
  const float dy = part->boardY - chip->boardY;
  part->boardX = chip->boardX - dy;
  part->boardY = chip->boardY + dx;
}

void CAVR::JoinInternalNets() {
  supplyPin_ = groundPin_ = arefPin_ = avccPin_ = -1;
  const SupplyChains* chains = nullptr;
  for (const SupplyChains& c : kChains)
    if (c.pinCount == pinCount) chains = &c;
  if (!chains) return;
  // The first pin of a chain is taken; each further pin on a net takes
  // into its net the net of the pin taken so far and is taken instead.
  auto chain = [this](const int* list) {
    int taken = list[0] - 1;
    for (const int* p = list + 1; *p; ++p) {
      const int pin = *p - 1;
      if (!pins[pin].net) continue;
      pins[pin].net->Merge(pins[taken].net);
      taken = pin;
    }
    return taken;
  };
  groundPin_ = chain(chains->ground);
  supplyPin_ = chain(chains->supply);
  arefPin_ = chains->aref - 1;
  avccPin_ = chains->avcc - 1;
}

void CAVR::Paint(HDC dc) {
  PaintBody(dc, RGB(0xEE, 0xEE, 0xEE));
  const int middle = (rect.top + rect.bottom) / 2;
  const int centre = (rect.left + rect.right) / 2;
  const COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
  if (instanceName) TextOutW(dc, centre, middle, instanceName, static_cast<int>(wcslen(instanceName)));
  if (model) {
    const char* comma = strchr(model, ',');
    const int length = comma ? static_cast<int>(comma - model) : static_cast<int>(strlen(model));
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    TextOutA(dc, centre, middle, model, length);
  }
  SetTextAlign(dc, oldAlign);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}

void CAVR::PaintFootprint(PcbPainter* painter) {
  if (!painter) return;
  wchar_t text[kFootprintChars];
  ChipTextToWide(model, text, kFootprintChars);
  if (wchar_t* comma = wcschr(text, L',')) *comma = 0;
  painter->SetPlacement(boardX, boardY, orientation);
  // A chip without pins (its model was refused) has no package to draw.
  bool drawn = pinCount > 0;
  if (drawn) {
    switch (corps) {
      case kUnitAvrWideDip: painter->DrawWideDipPackage(pinCount); break;
      case kUnitAvrDip: painter->DrawDipPackage(pinCount); break;
      case kUnitAvrQuadFlat: painter->DrawQuadFlatPackage(pinCount); break;
      default: drawn = false; break;
    }
  }
  if (drawn && corps == kUnitAvrQuadFlat) {
    DrawFootprintText(painter, 0, -0.5f, 1, L"ATMEL", 0, kMarkingColor);
    DrawFootprintText(painter, 0, 0.5f, 1, text, 0, kMarkingColor);
  } else if (drawn) {
    DrawFootprintText(painter, 1, 0, 2, L"ATMEL", 1, kMarkingColor);
    DrawFootprintText(painter, -1, 0, 2, text, 1, kMarkingColor);
  }
  DrawFootprintName(painter, this);
}

bool CAVR::Edit() { return EditUnitProgram(this, program_); }

void CAVR::Save(CStream* s) {
  s->WriteByte(corps);
  s->WriteByte(programmer);
  WriteFloat(s, Umin);
  WriteFloat(s, Umax);
  WriteFloat(s, Imax);
  s->WriteByte(ADC);
  s->WriteByte(UART);
  WriteFloat(s, freq);
  s->WriteInt32(ROM);
  s->WriteInt32(RAM);
  s->WriteByte(static_cast<int>((static_cast<unsigned>(Timers) * 32u + static_cast<unsigned>(PWM)) & 0xFFu));
  s->WriteByte(PCINTx);
  s->WriteInt32(pinCount);
  CSCHBlock::Save(s);
  WriteUnitProgram(program_, s);
}

void CAVR::Load(CStream* s) {
  // The own fields are read whole and checked before anything changes: a
  // cut record leaves the chip as it was (the short read fails the read of
  // the scheme), and so does one this chip does not know.
  unsigned char b[kHeadBytes];
  if (s->Read(b, kHeadBytes) != kHeadBytes) return;
  const int package = b[0];
  const int timersAndPwm = b[28];
  int timers = timersAndPwm >> 5;
  if (timers == 0) timers = 3;
  const int pwm = timersAndPwm & 0x1F;
  const int n = Int32At(b + 30);
  // A chip whose model was refused has no pins and is stored so.
  const bool known = (n == 0 || HasAvrPinTable(n)) && CountsKnown(package, timers, pwm);
  if (!known || !SetPinCount(n)) {
    MarkSchemeRecordBroken(s);
    return;
  }
  corps = package;
  programmer = b[1];
  Umin = FloatAt(b + 2);
  Umax = FloatAt(b + 6);
  Imax = FloatAt(b + 10);
  ADC = b[14];
  UART = b[15];
  freq = FloatAt(b + 16);
  ROM = Int32At(b + 20);
  RAM = Int32At(b + 24);
  Timers = timers;
  PWM = pwm;
  PCINTx = b[29];
  BuildPins();
  CSCHBlock::Load(s);
  ReadUnitProgram(program_, s);
}

CSCHBlock* CreateCAVR() { return new (std::nothrow) CAVR; }
