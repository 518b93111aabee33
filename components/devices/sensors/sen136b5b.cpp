#include "components/devices/sensors/sen136b5b.h"

#include <new>

const RangeFinderModel CSEN136B5B::kModel = {5.0f / 0.0015f, kSupplyPin, kGroundPin, kPulseEchoBurnAbove,
                                             kPulseEchoWorksAbove};

CSEN136B5B::CSEN136B5B() {
  rect = RECT{0, 0, kWidth, kHeight};
  raisePinLabels = 1;
  pose = nullptr;
  InitPulseEchoCycle(&cycle);
  if (SetPinCount(3) && pinCount == 3) {
    const wchar_t* const names[3] = {L"+5V", L"Trig/Echo", L"Gnd"};
    const wchar_t* const texts[3] = {L"Питание +5V", L"Вход запуска по заднему фронту, ШИМ от 0.1 до 25 мс",
                                     L"\"Земля\""};
    for (int i = 0; i < 3; i++) {
      pins[i].name = names[i];
      pins[i].description = texts[i];
      pins[i].kind = kSchPinElectric;
      pins[i].side = kSchSideLeft;
    }
    SpacePins(true);
  }
}

void CSEN136B5B::Paint(HDC dc) { PaintRangeFinder(dc, this); }

void CSEN136B5B::Start() {
  ResetPulseEchoCycle(&cycle);
  CSCHOutSensor::Start();
}

void CSEN136B5B::Step(float dt) {
  if (pinCount < 3) return;
  RangeFinderSupply s = {};
  switch (StepRangeFinderSupply(this, kModel, &s)) {
    case RangeFinderPower::kBurnt: return;
    case RangeFinderPower::kOff: ReleaseRangeFinderPin(this, kTrigEchoPin); return;
    case RangeFinderPower::kOn: break;
  }
  if (!DetectPulseEchoTrigger(this, kTrigEchoPin, s, dt, &cycle)) return;
  FillPulseEcho(&cycle, RangeFinderDistance(this, axisDistance));
  DrivePulseEchoLine(this, kTrigEchoPin, s, &cycle);
  CountPulseEchoCycle(&cycle, dt);
}

CSCHBlock* CreateCSEN136B5B() { return new (std::nothrow) CSEN136B5B; }
