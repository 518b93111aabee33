// CBEDistanceControl ("Драйвер управления дальномером"): the driver between
// a data link and a range finder. It sends the finder's commands on "out"
// (1 measure, 2 read the distance, 3 read the temperature), reads its
// answers on "in" (byte 0 an answer number that changes with every answer,
// byte 1 the kind, 2 distance or 3 temperature, bytes 2-3 the result) and
// puts the results on "dist" and, with the temperature option, on "t".
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"

// The states of a measuring cycle.
enum BeRangeFinderState : unsigned char {
  kRangeIdle = 0,            // sends command 1
  kRangeMeasuring = 1,       // 0.04 s, then command 2
  kRangeAwaitDistance = 2,   // at most 0.05 s for a distance answer
  kRangeHoldDistance = 3,    // 0.008 s
  kRangeAskTemperature = 4,  // sends command 3
  kRangeAwaitTemperature = 5,  // at most 0.02 s for a temperature answer
  kRangeHoldTemperature = 6,   // 0.008 s
};

// Commands on "out" and answer kinds on "in".
const unsigned char kRangeCommandMeasure = 1;
const unsigned char kRangeCommandDistance = 2;
const unsigned char kRangeCommandTemperature = 3;
const unsigned char kRangeAnswerDistance = 2;
const unsigned char kRangeAnswerTemperature = 3;

class CBEDistanceControl : public CBEBlock {
public:
  // 100 x 100, its own caption "Драйвер управления дальномером"; input "in"
  // (type 33), outputs "out" (type 32) and "dist" (short); 20 cycles, 50
  // ROM bytes; the temperature option off.
  CBEDistanceControl();
  static CBEBlock* Create();

  // State 0, timer 0, last answer number 0, command 0.
  void Start() override;
  // While "in" is linked, one action of the state a pass (see the states).
  // An answer counts when its number differs from the one that stood on
  // "in" when the driver sent its request, and when its kind is the one
  // asked for; an answer without a request pending is not taken. A timeout
  // keeps the last result and starts the cycle again.
  void Step(float dt) override;
  // Temperature option (a byte), then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or an option byte
  // other than 0 and 1; the outputs follow the option before the base
  // record is read.
  bool Load(CStream* stream) override;
  // Asks "Запрашивать температуру?" (Yes / No, the current choice the
  // default); true, with the outputs made again, when the option changed.
  bool ShowProperties() override;

  // Three outputs with the temperature option ("t" the third), two without
  // it ("t" and its links go).
  bool UpdateOutputs();

  // Fields, in this order.
  unsigned char state = kRangeIdle;
  float timer = 0;  // seconds
  unsigned char lastAnswer = 0;
  unsigned char temperatureOption = 0;

private:
  // The action of the two waiting states: true when the answer asked for
  // arrived (its result is then on output `out`).
  bool TakeAnswer(const unsigned char* answer, unsigned char kind, int out);
  // Sends a command and notes the answer standing on "in".
  void Send(unsigned char command, const unsigned char* answer);
};
