#include "units/computers/board_computer.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <new>

#include "blocks/engine/block.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/library/interfaces/audio_in.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/gpio.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/interfaces/lpt.h"
#include "blocks/library/interfaces/wifi_module.h"
#include "components/devices/device_text.h"
#include "components/electronic/voltage_label.h"
#include "foundation/buffers.h"
#include "foundation/random.h"
#include "foundation/stream.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/sim_log.h"
#include "units/catalogues/unit_catalogues.h"
#include "units/unit_program.h"

namespace {

const wchar_t kBurntMessage[] = L"Бортовой вычислитель \"%s\" вышел из строя";
const wchar_t kSupplyDescription[] = L"Питание";
const float kOpenResistance = 5000000.0f;  // ohm, an undriven pin
const float kSwitchJoinedOhms = 2000.0f;   // the switch pins are joined outside below this difference
const float kAtxPoweredSum = 4.8f;         // U/R on a power connector's net of a running supply
const float kAcRateScale = 0.00614824f;    // the rate value of a 50 Hz wave of 1 V amplitude is ~1
const float kAcFilterTime = 0.5f;          // seconds
const float kOverVoltage = 1.4f;           // times the rating: burns out
const float kUnderVoltage = 0.7f;          // times the rating: not powered
const float kReverseVoltage = -1.0f;       // volts: burns out
const int kMaxLpt = 8;
const int kMaxAudioIn = 4;
const int kMaxPortCount = 255;  // a count is stored in one byte
const int kFirstOffset = 10;

const int kSataKind = 5;  // pin kinds of the disk connector
const int kIdeKind = 6;
const int kDiskNetKindBase = 33;  // a ready disk's net kind: 34 SATA, 35 IDE

const int kLptPins = 18;
const int kLptGroundNumber = 25;

const wchar_t* const kLptNames[kMaxLpt] = {L"LPT1", L"LPT2", L"LPT3", L"LPT4",
                                           L"LPT5", L"LPT6", L"LPT7", L"LPT8"};
const wchar_t* const kMicNames[kMaxAudioIn] = {L"Mic1 In", L"Mic2 In", L"Mic3 In", L"Mic4 In"};

int ClampCount(int n, int most) { return n < 0 ? 0 : (n > most ? most : n); }

// A supply's load resistance, rated voltage over rated current; infinite
// (an open circuit) when the quotient is zero or not a finite number, so
// that no NaN reaches the nets.
float LoadResistance(float U, float I) {
  float r = U / I;
  return (std::isfinite(r) && r != 0) ? r : INFINITY;
}

// U/R and 1/R of a branch; nothing for an open one.
double Current(double U, double R) { return std::isinf(R) ? 0.0 : U / R; }
double Conductance(double R) { return std::isinf(R) ? 0.0 : 1.0 / R; }

wchar_t* CopyLabel(const wchar_t* text) { return DupString(text); }

void WriteFloat(CStream* s, float v) { s->Write(&v, 4); }

}  // namespace

CSCHBoardComputer::CSCHBoardComputer() {
  for (int i = 0; i < kSupplySlotCount; ++i) {
    supplyPins_[i] = -1;
    supplyNames_[i] = nullptr;
  }
  BuildBoardComputerPalette();
  program_ = new BeScheme;
  InitUnitProgram(program_, GetBoardComputerCatalogue(), this);
  program_->frequency = kUnitComputerFrequency;
  typeText = L"Бортовой вычислитель";
  namePrefix = L"PC";
  rect = RECT{0, 0, 200, 120};
}

CSCHBoardComputer::~CSCHBoardComputer() {
  delete program_;
  program_ = nullptr;
  FreeSupplyNames();
}

void CSCHBoardComputer::FreeSupplyNames() {
  for (int i = 0; i < kSupplySlotCount; ++i) {
    int pin = supplyPins_[i];
    if (supplyNames_[i] && pin >= 0 && pin < pinCount && pins[pin].name == supplyNames_[i]) pins[pin].name = nullptr;
    // The first supply's return pin shares the main pin's name.
    if (supplyNames_[i] && i == kSupply1Main) {
      int ret = supplyPins_[kSupply1Return];
      if (ret >= 0 && ret < pinCount && pins[ret].name == supplyNames_[i]) pins[ret].name = nullptr;
    }
    FreeBuffer(supplyNames_[i]);
    supplyNames_[i] = nullptr;
    supplyPins_[i] = -1;
  }
}

void CSCHBoardComputer::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    type = record->GetIntByName("type");
    U1Type = record->GetIntByName("U1Type");
    U1 = record->GetFloatByName("U1");
    I1 = record->GetFloatByName("I1");
    U2 = record->GetFloatByName("U2");
    I2 = record->GetFloatByName("I2");
    U3 = record->GetFloatByName("U3");
    I3 = record->GetFloatByName("I3");
    U4 = record->GetFloatByName("U4");
    I4 = record->GetFloatByName("I4");
    hours = record->GetFloatByName("hours");
    ONType = record->GetIntByName("ONType") != 0;
    LoadTime = record->GetFloatByName("LoadTime");
    HD = record->GetIntByName("HD") != 0;
    HD_IFACE = record->GetIntByName("HD_IFACE");
    USB = record->GetIntByName("USB");
    COM = record->GetIntByName("COM");
    UART = record->GetIntByName("UART");
    LPT = record->GetIntByName("LPT");
    GPIO = record->GetIntByName("GPIO");
    Ethernet = record->GetIntByName("Ethernet") != 0;
    WiFi = record->GetIntByName("WiFi") != 0;
    bluetooth = record->GetIntByName("bluetooth") != 0;
    WiFiAntenna = record->GetIntByName("WiFiAntenna") != 0;
    AudioOut = record->GetIntByName("AudioOut");
    AudioIn = record->GetIntByName("AudioIn");
    CamIface = record->GetIntByName("CamIface");
    can = record->GetIntByName("can") != 0;
  }
  CSCHDevice::ApplyDbRecord(record);
  BuildPins();
}

CBEBlock* CSCHBoardComputer::FindProgramBlock(const wchar_t* caption) const {
  return caption ? program_->FindDeviceBlock(caption) : nullptr;
}

void CSCHBoardComputer::AddGroundPin(int pin) { groundList_.Append(pin); }

CBEBlock* CSCHBoardComputer::DeviceBlock(const wchar_t* caption, unsigned int classId) {
  if (CBEBlock* block = FindProgramBlock(caption)) return block;
  // Only a class the catalogue holds: asking for another would put a
  // message box in front of the user at every layout.
  if (!program_->catalogue || !program_->catalogue->FindEntry(classId)) return nullptr;
  return FindOrCreateDeviceBlock(program_, caption, classId);
}

void CSCHBoardComputer::SetSupplyPin(int pin, const wchar_t* name, const wchar_t* description, int kind) {
  pins[pin].name = name;
  pins[pin].description = description;
  pins[pin].kind = kind;
  pins[pin].side = kSchSideLeft;
}

void CSCHBoardComputer::BuildPins() {
  FreeSupplyNames();
  groundList_.Resize(0);
  diskPin_ = -1;
  powerSwitchPin_ = -1;

  const int usb = ClampCount(USB, kMaxPortCount), com = ClampCount(COM, kMaxPortCount);
  const int uart = ClampCount(UART, kMaxPortCount), gpio = ClampCount(GPIO, kMaxPortCount);
  const int lpt = ClampCount(LPT, kMaxLpt), audioIn = ClampCount(AudioIn, kMaxAudioIn);
  const bool antenna = WiFi && WiFiAntenna;

  int n = 0, w = 0;
  if (U1Type == 2 || U1Type == 3) n += 1;
  if (U1 != 0) n += 2;
  if (U2 != 0) n += (U1Type != 0) ? 2 : 1;
  if (U3 != 0) n += 1;
  if (U4 != 0) n += 1;
  if (ONType) n += 2;
  if (HD_IFACE != 0) n += 1, w += 2;
  n += usb, w += 3 * usb;
  n += 3 * com, w += 5 * com;
  n += 3 * uart, w += 4 * uart;
  if (gpio) n += gpio, w += gpio + 2;
  n += 18 * lpt, w += 20 * lpt;
  if (Ethernet) n += 1, w += 3;
  if (antenna) n += 1, w += 3;
  if (CamIface != 0) n += 1, w += 3;
  if (can) n += 4, w += 6;
  if (audioIn) n += 2 * audioIn, w += 2 * audioIn + 1;
  if (w > 5) w -= 1;

  if (!SetPinCount(n)) return;
  for (int i = 0; i < pinCount; ++i) {
    pins[i].number = -1;
    pins[i].name = nullptr;
    pins[i].description = nullptr;
    pins[i].kind = kSchPinElectric;
    pins[i].side = kSchSideBottom;
  }
  rect.right = rect.left + 13 * w + 20;

  // Supplies, on the left.
  int p = 0;
  if (U1Type == 2) {
    supplyNames_[kSupply1Main] = CopyLabel(L"ATX");
    SetSupplyPin(p, supplyNames_[kSupply1Main], L"Разъем питания ATX 24", kSchPinAtx24);
    supplyPins_[kSupply1Main] = p++;
  } else if (U1Type == 3) {
    supplyNames_[kSupply1Main] = CopyLabel(L"ITX");
    SetSupplyPin(p, supplyNames_[kSupply1Main], L"Разъем питания ITX", kSchPinItx);
    supplyPins_[kSupply1Main] = p++;
  }
  wchar_t label[kElecVoltageLabelSize];
  if (U1 != 0 && U1Type != 0) {
    // A connector's name gives way to the alternating input's.
    if (supplyPins_[kSupply1Main] >= 0) pins[supplyPins_[kSupply1Main]].name = nullptr;
    FreeBuffer(supplyNames_[kSupply1Main]);
    float volts = U1;
    int whole = std::isfinite(volts) && std::fabs(volts) < 1e9f ? static_cast<int>(volts) : 0;
    _snwprintf(label, kElecVoltageLabelSize - 1, L"~%dV", whole);
    label[kElecVoltageLabelSize - 1] = 0;
    supplyNames_[kSupply1Main] = CopyLabel(label);
    SetSupplyPin(p, supplyNames_[kSupply1Main], kSupplyDescription, kSchPinElectric);
    supplyPins_[kSupply1Return] = p++;
    SetSupplyPin(p, supplyNames_[kSupply1Main], kSupplyDescription, kSchPinElectric);
    supplyPins_[kSupply1Main] = p++;
  } else if (U1 != 0) {
    SetSupplyPin(p, L"GND", kSupplyDescription, kSchPinElectric);
    supplyPins_[kSupply1Return] = p;
    AddGroundPin(p++);
    FormatVoltageLabel(label, U1, false);
    supplyNames_[kSupply1Main] = CopyLabel(label);
    SetSupplyPin(p, supplyNames_[kSupply1Main], kSupplyDescription, kSchPinElectric);
    supplyPins_[kSupply1Main] = p++;
  }
  if (U2 != 0) {
    if (U1Type != 0) {
      SetSupplyPin(p, L"GND", kSupplyDescription, kSchPinElectric);
      supplyPins_[kSupply2Ground] = p;
      AddGroundPin(p++);
    } else {
      supplyPins_[kSupply2Ground] = 0;
    }
    FormatVoltageLabel(label, U2, false);
    supplyNames_[kSupply2] = CopyLabel(label);
    SetSupplyPin(p, supplyNames_[kSupply2], kSupplyDescription, kSchPinElectric);
    supplyPins_[kSupply2] = p++;
  }
  const float more[2] = {U3, U4};
  for (int k = 0; k < 2; ++k) {
    if (more[k] == 0) continue;
    FormatVoltageLabel(label, more[k], false);
    supplyNames_[kSupply3 + k] = CopyLabel(label);
    SetSupplyPin(p, supplyNames_[kSupply3 + k], kSupplyDescription, kSchPinElectric);
    supplyPins_[kSupply3 + k] = p++;
  }
  if (ONType) {
    for (int k = 0; k < 2; ++k) SetSupplyPin(p + k, L"PwrSw", L"Кнопка включения", kSchPinElectric);
    powerSwitchPin_ = p;
    AddGroundPin(p);
    p += 2;
  }
  SpacePins(true);

  // Everything else on the bottom, at running offsets.
  int offset = kFirstOffset;
  auto place = [&](int pin, const wchar_t* name, const wchar_t* description, int number, int step) {
    pins[pin].name = name;
    pins[pin].description = description;
    pins[pin].number = number;
    pins[pin].offset = offset;
    offset += step;
  };
  if (HD_IFACE != 0) {
    bool sata = HD_IFACE == 1;
    place(p, L"Hard", sata ? L"Подключение жесткого диска (SATA)" : L"Подключение жесткого диска (IDE)", -1, 39);
    if (HD_IFACE == 1 || HD_IFACE == 2) pins[p].kind = sata ? kSataKind : kIdeKind;
    diskPin_ = p++;
  }
  wchar_t caption[32];
  for (int k = 0; k < usb; ++k) {
    _snwprintf(caption, 31, L"USB%d", k);
    caption[31] = 0;
    CBELAN* block = dynamic_cast<CBELAN*>(DeviceBlock(caption, kBeUSBClassId));
    if (block) block->pinIndex = p;
    pins[p].kind = kSchPinUsb;
    place(p, block ? block->GetCaption() : nullptr, L"USB-host", -1, 39);
    ++p;
  }
  struct SerialKind {
    int count;
    const wchar_t* prefix;
    unsigned int classId;
    const wchar_t* rd;
    const wchar_t* td;
    const wchar_t* gnd;
    int first;
  };
  const SerialKind serial[2] = {
      {com, L"COM", kBeCOMPortClassId, L"Вход COM-порта", L"Выход COM-порта", L"\"Земля\" COM-порта", 1},
      {uart, L"UART", kBeBoardUARTClassId, L"Вход UART-порта", L"Выход UART-порта", L"\"Земля\" UART-порта", 1},
  };
  for (const SerialKind& s : serial) {
    for (int k = s.first; k < s.first + s.count; ++k) {
      wchar_t rd[40], td[40], gnd[40];
      _snwprintf(caption, 31, L"%ls%d", s.prefix, k);
      caption[31] = 0;
      _snwprintf(rd, 39, L"%ls RD", caption);
      _snwprintf(td, 39, L"%ls TD", caption);
      _snwprintf(gnd, 39, L"%ls GND", caption);
      rd[39] = td[39] = gnd[39] = 0;
      CBECOMPort* block = dynamic_cast<CBECOMPort*>(DeviceBlock(caption, s.classId));
      if (block) {
        block->pinIndex = p;
        block->SetPinNames(rd, td, gnd);
      }
      place(p, block ? block->rdName : nullptr, s.rd, 2, 13);
      place(p + 1, block ? block->tdName : nullptr, s.td, 3, 13);
      place(p + 2, block ? block->gndName : nullptr, s.gnd, 5, 39);
      AddGroundPin(p + 2);
      p += 3;
    }
  }
  for (int k = 0; k < lpt; ++k) {
    CBELPT* block = dynamic_cast<CBELPT*>(DeviceBlock(kLptNames[k], kBeLPTClassId));
    if (block) block->firstPin = p;
    const wchar_t* name = block ? block->GetCaption() : nullptr;
    for (int i = 0; i < kLptPins; ++i) {
      bool ground = i == kLptPins - 1;
      place(p + i, name, L"LPT-порт", ground ? kLptGroundNumber : i + 1, 13);
      if (ground) AddGroundPin(p + i);
    }
    offset += 26;
    p += kLptPins;
  }
  if (gpio) {
    CBEGPIO* block = dynamic_cast<CBEGPIO*>(DeviceBlock(L"GPIO", kBeGPIOClassId));
    if (block) {
      block->firstPin = p;
      block->SetLineCount(gpio);
    }
    for (int i = 0; i < gpio; ++i) place(p + i, L"GPIO", L"Ножка для ввода/вывода", i, 13);
    offset += 26;
    p += gpio;
  }
  if (Ethernet) {
    if (CBELAN* block = dynamic_cast<CBELAN*>(DeviceBlock(L"LAN", kBeLANClassId))) block->pinIndex = p;
    pins[p].kind = kSchPinEthernet;
    place(p++, L"LAN", L"Подключение кабеля Ethernet", -1, 39);
  }
  if (WiFi) {
    CBEWiFi* block = dynamic_cast<CBEWiFi*>(DeviceBlock(L"Модуль WiFi", kBeWiFiClassId));
    if (antenna) {
      if (block) block->antennaPin = p;
      pins[p].kind = kSchPinRf;
      place(p++, L"Ant", L"Антенна WiFi", -1, 39);
    } else if (block) {
      block->antennaPin = -1;
    }
  }
  for (int k = 0; k < audioIn; ++k) {
    const wchar_t* mic = audioIn == 1 ? L"Mic In" : kMicNames[k];
    CBEAudioIn* block = dynamic_cast<CBEAudioIn*>(DeviceBlock(mic, kBeAudioInClassId));
    if (block) block->pinIndex = p;
    const wchar_t* name = block ? block->GetCaption() : mic;
    place(p, name, L"Вход микрофона (\"Земля\")", -1, 13);
    AddGroundPin(p);
    place(p + 1, name, L"Вход микрофона (\"Сигнал\")", -1, 26);
    p += 2;
  }
  for (; p < pinCount; ++p) place(p, nullptr, nullptr, -1, 13);
}

void CSCHBoardComputer::Paint(HDC dc) {
  PaintBody(dc, RGB(0xEE, 0xEE, 0xEE));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  if (instanceName) {
    RECT name = {rect.left - 400, rect.top - 200, rect.right + 400, rect.top - 4};
    DrawTextW(dc, instanceName, -1, &name, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (model) {
    RECT body = {rect.left + 20, rect.top + 4, rect.right - 20, rect.bottom};
    DrawTextA(dc, model, -1, &body, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  }
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

bool CSCHBoardComputer::Edit() { return EditUnitProgram(this, program_); }

void CSCHBoardComputer::JoinInternalNets() {
  SchNet* target = nullptr;
  for (int pin : groundList_) {
    if (pin < 0 || pin >= pinCount || !pins[pin].net) continue;
    if (!target)
      target = pins[pin].net;
    else if (pins[pin].net != target)
      target->Merge(pins[pin].net);
  }
}

void CSCHBoardComputer::GetGroundReference(float* U, float* R) const {
  if (U) *U = groundU_;
  if (R) *R = groundR_;
}

bool CSCHBoardComputer::IsProgramRunning() const { return program_->running != 0; }

void CSCHBoardComputer::Start() {
  bool bootable = HD || (diskPin_ >= 0 && diskPin_ < pinCount && pins[diskPin_].net);
  if (!(LoadTime >= kUnitShortestBoot)) LoadTime = kUnitShortestBoot;
  rateValue_ = 0;
  filteredVoltage_ = 0;
  groundU_ = 0;
  groundR_ = 0;
  battery_ = hours * 3600;
  if (hours > 0 && !ONType) battery_ -= 1800;
  switchedOn_ = !ONType;
  if (bootable && switchedOn_) {
    program_->Start();
    runTimer_ = kUnitBootGrace;
  } else {
    runTimer_ = -LoadTime;
  }
  pendingSteps_ = 0;
}

bool CSCHBoardComputer::Bootable() const {
  if (HD) return true;
  if (diskPin_ < 0 || diskPin_ >= pinCount || !pins[diskPin_].net) return false;
  return pins[diskPin_].net->sourceKind == kDiskNetKindBase + HD_IFACE;
}

void CSCHBoardComputer::DriveAllOpen() {
  for (int i = 0; i < pinCount; ++i) SetPinSource(i, 0, kOpenResistance);
}

void CSCHBoardComputer::BurnOut() {
  burnt = 1;
  ReportDevice(this, kBurntMessage);
}

bool CSCHBoardComputer::StepSupplies(float dt, bool* powered) {
  const int main = supplyPins_[kSupply1Main];
  if (U1Type == 2 || U1Type == 3) {
    SchNet* net = main >= 0 && main < pinCount ? pins[main].net : nullptr;
    *powered = net && net->sumI > kAtxPoweredSum;
    if (net) net->sumG = static_cast<double>(I1) / 5.0;
    return true;
  }
  const int ret = supplyPins_[kSupply1Return];
  if (main < 0 || ret < 0 || main >= pinCount || ret >= pinCount) {
    // A model without a first supply has nothing to run on.
    *powered = false;
    return true;
  }
  float Va, Ra, Vg, Rg;
  GetPinInput(main, &Va, &Ra);
  GetPinInput(ret, &Vg, &Rg);
  groundU_ = Vg;
  groundR_ = Rg;

  if (U1Type == 1) {
    const float RL = LoadResistance(U1, I1);
    float V;
    if (std::isinf(RL)) {
      SetPinSource(main, 0, kOpenResistance);
      SetPinSource(ret, 0, kOpenResistance);
      V = Va - Vg;
    } else {
      V = (Va - Vg) * RL / (RL + Ra + Rg);
      SetPinSource(main, Vg, Rg + RL);
      SetPinSource(ret, Va, Ra + RL);
    }
    float r = std::fabs((V - rateValue_) / dt * kAcRateScale);
    rateValue_ = r;
    filteredVoltage_ += dt * (r - filteredVoltage_) / kAcFilterTime;
    if (filteredVoltage_ < U1 / 2) *powered = false;
    if (filteredVoltage_ > U1) {
      BurnOut();
      return false;
    }
    return true;
  }

  // Direct voltage: node sums of the loads between each supply pin and the
  // ground.
  const float RL1 = LoadResistance(U1, I1);
  const double Sg = Current(Vg, Rg) + Current(Va, static_cast<double>(RL1) + Ra);
  const double Gg = Conductance(Rg) + Conductance(static_cast<double>(RL1) + Ra);
  const double S1 = Current(Va, Ra) + Current(Vg, static_cast<double>(RL1) + Rg);
  const double G1 = Conductance(Ra) + Conductance(static_cast<double>(RL1) + Rg);
  const double ground = Sg / Gg;

  // Drives a supply pin with what the rest of its node gives it; a node
  // left without its load (an open one) leaves the pin open.
  auto drive = [this](int pin, double S, double G, double V, double R) {
    double g = G - Conductance(R);
    if (g > 0 && std::isfinite(g))
      SetPinSource(pin, static_cast<float>((S - Current(V, R)) / g), static_cast<float>(1.0 / g));
    else
      SetPinSource(pin, 0, kOpenResistance);
  };
  auto check = [this, powered](double w, float rated) {
    if (w < kReverseVoltage || w > kOverVoltage * rated) {
      BurnOut();
      return false;
    }
    if (w < kUnderVoltage * rated) *powered = false;
    return true;
  };

  if (U1 != 0) {
    drive(main, S1, G1, Va, Ra);
    if (!check(S1 / G1 - ground, U1)) return false;
    drive(ret, Sg, Gg, Vg, Rg);
  }
  const float rated[3] = {U2, U3, U4};
  const float current[3] = {I2, I3, I4};
  for (int k = 0; k < 3; ++k) {
    const int pin = supplyPins_[kSupply2 + (k == 0 ? 0 : k + 1)];
    if (rated[k] == 0 || pin < 0 || pin >= pinCount) continue;
    if (k == 0) {
      int g = supplyPins_[kSupply2Ground];
      if (g >= 0 && g < pinCount) GetPinInput(g, &Vg, &Rg);
    }
    float Vk, Rk;
    GetPinInput(pin, &Vk, &Rk);
    const float RLk = LoadResistance(rated[k], current[k]);
    const double Sk = Current(Vk, Rk) + Current(Vg, static_cast<double>(RLk) + Rg);
    const double Gk = Conductance(Rk) + Conductance(static_cast<double>(RLk) + Rg);
    drive(pin, Sk, Gk, Vk, Rk);
    if (!check(Sk / Gk - ground, rated[k])) return false;
  }
  return true;
}

void CSCHBoardComputer::Step(float dt) {
  if (burnt) {
    DriveAllOpen();
    return;
  }
  if (!switchedOn_) {
    int a = powerSwitchPin_;
    // An unwired switch pin has no net and reads open, as does one that is
    // wired: only two pins on nets can have been joined.
    if (a >= 0 && a + 1 < pinCount && pins[a].net && pins[a + 1].net) {
      float Ua, Ra, Ub, Rb;
      GetPinInput(a, &Ua, &Ra);
      GetPinInput(a + 1, &Ub, &Rb);
      if (std::fabs(Ra - Rb) < kSwitchJoinedOhms) switchedOn_ = 1;
    }
    return;
  }
  bool powered = true;
  const bool bootable = Bootable();
  if (!StepSupplies(dt, &powered)) return;

  if (hours > 0) {
    if (powered) {
      battery_ += 4 * dt;
      if (battery_ > hours * 3600) battery_ = hours * 3600;
    }
    battery_ -= dt;
    if (battery_ > 0) powered = true;
  }

  if (powered && bootable) {
    if (runTimer_ < 0) {
      runTimer_ += dt;
      if (runTimer_ >= 0) {
        program_->Start();
        pendingSteps_ = 0;
        runTimer_ = kUnitBootGrace;
      }
    } else {
      // Up: the grace for a later loss of power starts afresh.
      runTimer_ = kUnitBootGrace;
      ++pendingSteps_;
      if ((NextRandom() & 7) != 0) {
        for (; pendingSteps_ > 0; --pendingSteps_) program_->Step(dt);
      }
    }
    return;
  }
  if (runTimer_ >= 0) {
    if (runTimer_ > kUnitBootGrace) runTimer_ = kUnitBootGrace;
    runTimer_ -= dt;
    if (runTimer_ <= 0) {
      program_->Stop();
      runTimer_ = -LoadTime;
    }
  }
}

void CSCHBoardComputer::Stop() {
  if (runTimer_ >= 0 || program_->running) program_->Stop();
}

void CSCHBoardComputer::SaveRunState(CStream* stream) {
  CSCHBlock::SaveRunState(stream);
  WriteFloat(stream, runTimer_);
}

bool CSCHBoardComputer::LoadRunState(CStream* stream) {
  if (!CSCHBlock::LoadRunState(stream)) return false;
  runTimer_ = stream->ReadFloat();
  return true;
}

void CSCHBoardComputer::Save(CStream* s) {
  s->WriteByte(type);
  s->WriteByte(U1Type);
  for (float v : {U1, I1, U2, I2, U3, I3, U4, I4, hours}) WriteFloat(s, v);
  s->WriteByte(ONType);
  WriteFloat(s, LoadTime);
  s->WriteByte(HD);
  for (int v : {HD_IFACE, USB, COM, UART, LPT, GPIO}) s->WriteByte(v);
  for (unsigned char v : {Ethernet, WiFi, bluetooth, WiFiAntenna}) s->WriteByte(v);
  s->WriteByte(AudioOut | 0x80);
  s->WriteByte(AudioIn | 0x80);
  s->WriteByte(CamIface);
  s->WriteByte(can);
  WriteUnitProgram(program_, s);
  CSCHDevice::Save(s);
}

void CSCHBoardComputer::Load(CStream* s) {
  type = s->ReadByte();
  U1Type = s->ReadByte();
  for (float* v : {&U1, &I1, &U2, &I2, &U3, &I3, &U4, &I4, &hours}) *v = s->ReadFloat();
  ONType = static_cast<unsigned char>(s->ReadByte());
  LoadTime = s->ReadFloat();
  HD = static_cast<unsigned char>(s->ReadByte());
  for (int* v : {&HD_IFACE, &USB, &COM, &UART, &LPT, &GPIO}) *v = s->ReadByte();
  for (unsigned char* v : {&Ethernet, &WiFi, &bluetooth, &WiFiAntenna}) *v = static_cast<unsigned char>(s->ReadByte());
  int audio = s->ReadByte();
  AudioOut = (audio & 0x80) ? audio & 0x7F : 0;
  audio = s->ReadByte();
  AudioIn = (audio & 0x80) ? audio & 0x7F : 0;
  CamIface = s->ReadByte();
  can = static_cast<unsigned char>(s->ReadByte());
  if (!ReadUnitProgram(program_, s)) return;
  BuildPins();
  CSCHDevice::Load(s);
}

CSCHBlock* CreateCSCHBoardComputer() { return new (std::nothrow) CSCHBoardComputer; }
