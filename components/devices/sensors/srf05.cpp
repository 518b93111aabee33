#include "components/devices/sensors/srf05.h"

#include <new>

#include "foundation/numbers.h"

const RangeFinderModel CIE_SRF_05::kModel = {1250, kSupplyPin, kGroundPin, kPulseEchoBurnAbove,
                                             kPulseEchoWorksAbove};

CIE_SRF_05::CIE_SRF_05() {
  rect = RECT{0, 0, kWidth, kHeight};
  raisePinLabels = 1;
  pose = nullptr;
  InitPulseEchoCycle(&cycle);
  if (SetPinCount(5) && pinCount == 5) {
    const wchar_t* const names[5] = {L"+5V", L"Echo", L"Trigger", L"Mode", L"Gnd"};
    const wchar_t* const texts[5] = {
        L"Питание +5V", L"Выход эхо, в двухканальном режиме. ШИМ от 0.1 до 25 мс",
        L"Импульс начала измерения, минимум 10 мкс",
        L"Не подключен для двухканального режима. \"Земля\" в одноканальном режиме", L"\"Земля\""};
    for (int i = 0; i < 5; i++) {
      pins[i].name = names[i];
      pins[i].description = texts[i];
      pins[i].kind = kSchPinElectric;
      pins[i].side = kSchSideLeft;
    }
    SpacePins(true);
  }
}

void CIE_SRF_05::Paint(HDC dc) { PaintRangeFinder(dc, this); }

void CIE_SRF_05::Start() {
  ResetPulseEchoCycle(&cycle);
  CSCHOutSensor::Start();
}

void CIE_SRF_05::Step(float dt) {
  if (pinCount < 5) return;
  RangeFinderSupply s = {};
  switch (StepRangeFinderSupply(this, kModel, &s)) {
    case RangeFinderPower::kBurnt: return;
    case RangeFinderPower::kOff:
      ReleaseRangeFinderPin(this, kEchoPin);
      ReleaseRangeFinderPin(this, kTriggerPin);
      ReleaseRangeFinderPin(this, kModePin);
      return;
    case RangeFinderPower::kOn: break;
  }
  if (!DetectPulseEchoTrigger(this, kTriggerPin, s, dt, &cycle)) return;
  float mode = 0;
  if (!ReadPullUpInput(this, kModePin, s, &mode)) return;
  SetPinSource(kModePin, s.Uv, RoundToFloat(static_cast<double>(s.Rv) + kRangeFinderPullUp));
  // Only a finder placed in the robot's world measures.
  if (pose) FillPulseEcho(&cycle, RangeFinderDistance(this, axisDistance));
  if (mode > s.Vmid) {
    // Two-pin mode: the echo on its own pin, the trigger left to its net.
    DrivePulseEchoOutput(this, kEchoPin, s, &cycle);
    ReleaseRangeFinderPin(this, kTriggerPin);
  } else {
    // Single-pin mode: the echo answered on the trigger line.
    DrivePulseEchoLine(this, kTriggerPin, s, &cycle);
    ReleaseRangeFinderPin(this, kEchoPin);
  }
  CountPulseEchoCycle(&cycle, dt);
}

CSCHBlock* CreateCIE_SRF_05() { return new (std::nothrow) CIE_SRF_05; }
