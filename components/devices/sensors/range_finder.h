// What the ultrasonic range finders share: their supply and burn-out model,
// the logic inputs with a pull-up, the released pins, the measured
// distance and the symbol (the picture "distsensor.png" with the pin leads
// and the instance name).
#pragma once

#include <windows.h>

#include <cstdint>

class CSCHBlock;
class CSCHOutSensor;

// The constants of one range-finder model.
struct RangeFinderModel {
  float load;        // ohm: 5 V over the supply current
  int plusPin;       // supply +
  int minusPin;      // supply -
  float burnAbove;   // V: burns above it (and below kRangeFinderReverse)
  float worksAbove;  // V: off at or below it
};

// Burns below this supply voltage (reverse supply).
const float kRangeFinderReverse = -0.5f;
// Inputs may leave the supply rails by this much before the finder burns.
const float kRangeFinderRailMargin = 0.5f;
// The pull-up of the logic inputs to the + supply.
const float kRangeFinderPullUp = 10000;
// The width of the picture beside the pin leads.
const int kRangeFinderPictureWidth = 44;
const int kRangeFinderPictureHeight = 84;
// The burn-out message (one %s for the instance name).
extern const wchar_t kRangeFinderBurntMessage[];

// What a step reads of the supply nets.
struct RangeFinderSupply {
  float Uv, Rv;  // the rest of the + pin's net
  float Ug, Rg;  // the rest of the - pin's net
  float V;       // the voltage across the finder's load
  float Vmid;    // the logic threshold Ug + V / 2
};

enum class RangeFinderPower { kBurnt, kOff, kOn };

// The supply model at the start of a step: reads both supply nets, loads
// them with the model's load, and answers kBurnt (the finder burnt now:
// message logged, pins released), kOff (V not above the working limit) or
// kOn. A finder burnt before releases its pins and answers kBurnt.
RangeFinderPower StepRangeFinderSupply(CSCHBlock* finder, const RangeFinderModel& model, RangeFinderSupply* supply);

// Sets the burnt flag, logs the burn-out message once and releases every pin.
void BurnRangeFinder(CSCHBlock* finder);

// Whether a level lies within the supply rails widened by the margin.
bool WithinRails(const RangeFinderSupply& supply, float U);

// Reads a logic input with a 10 kohm pull-up to the + supply into *U. False
// when the level leaves the rails by more than 0.5 V: the finder has then
// burnt (BurnRangeFinder).
bool ReadPullUpInput(CSCHBlock* finder, int pin, const RangeFinderSupply& supply, float* U);

// 0 V behind 5,000,000 ohm: the pin left to its net.
void ReleaseRangeFinderPin(CSCHBlock* finder, int pin);

// The distance along the finder's axis in metres: 0 without a world pose
// (the finder then measures nothing), otherwise what the robot simulator
// supplied with the pose (axisDistance), never negative or no number.
float RangeFinderDistance(const CSCHOutSensor* finder, float axisDistance);

// The symbol of every range finder: the class picture at (right - 44, top)
// when it loads, a lead from the left edge to the picture for every pin and
// the instance name centred on 100 px below the body.
void PaintRangeFinder(HDC dc, const CSCHBlock* finder);

class SchPacket;
class SchPacketSet;

// A request id that any id matches.
const int kRangeFinderAnyId = -1;

// The index of the first packet of the set (null: none) with the format,
// the id (or any, kRangeFinderAnyId) and a sequence other than lastSequence;
// -1 when there is none.
int FindRangeFinderRequest(const SchPacketSet* set, int format, int id, unsigned char lastSequence);
// The command of a request: the first payload byte, -1 for an empty payload.
int RangeFinderRequestCommand(const SchPacket* request);
// Puts a new answer into each non-null set (replacing the packet of the same
// id): the id, the sequence and format, the payload sequence, command and
// value (16 bits, little-endian). The sets hold the only references. False
// when memory runs out: then neither set holds a packet of that id.
bool PutRangeFinderAnswer(SchPacketSet* first, SchPacketSet* second, unsigned char id, unsigned char sequence,
                          int format, unsigned char command, uint16_t value);
