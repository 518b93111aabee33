// CBENavController ("Драйвер навигационного приемника"): turns the messages
// of a simulated satellite-navigation receiver into a position fix,
// velocities, PDOP and a time stamp, in geocentric XYZ or in WGS-84 or
// ПЗ-90.02 geodetic coordinates.
//
// A message is the 8-byte value of a type-27 output: byte 0 a sequence
// number the receiver advances for every new message, bytes 1-2 the tag
// 0x31A0, byte 3 the receiver's precision, bytes 4-7 a payload handle of
// the antenna's world transform (Mat4f), whose translation row holds the
// position east, north and up in metres in the frame tangent to the sphere
// through the world's base point. The block adds slowly varying noise to
// the position and the velocity that depends only on the run time, which
// starts at a random phase.
#pragma once

#include "blocks/engine/block.h"

// Outputs.
enum BeNavOutput {
  kNavCtrl = 0,
  kNavPosition0 = 1,  // x / latitude
  kNavPosition1,      // y / longitude
  kNavPosition2,      // z / height
  kNavVelocity0,      // Vx / north
  kNavVelocity1,      // Vy / east
  kNavVelocity2,      // Vz / up
  kNavPdop,
  kNavTime,
  kNavOutputCount
};

// Coordinate systems.
const unsigned char kBeNavGeocentric = 0;
const unsigned char kBeNavWgs84 = 1;
const unsigned char kBeNavPz90 = 2;

// The message's tag, the geocentric base point of the simulated world, and
// PDOP without data.
const unsigned short kBeNavMessageTag = 0x31A0;
const double kBeNavBaseX = 2860955.53;
const double kBeNavBaseY = 2193805.89;
const double kBeNavBaseZ = 5243971.75;
const double kBeNavNoData = 1000.0;

class CBENavController : public CBEBlock {
public:
  // 150 x 150, 0xFFFFCC; input "nav" (27) beside output "ctrl" (28), six
  // double outputs, "PDOP" (double), "time" (int); 1800 cycles, 1200 ROM
  // bytes; WGS-84.
  CBENavController();
  static CBEBlock* Create();

  // The run state from the beginning, the run time at a random phase.
  void Start() override;
  // See the class comment; the first fix after Start reports a velocity
  // of 0, as does a fix in a pass of no duration.
  void Step(float dt) override;
  // The coordinate-system byte, then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record.
  bool Load(CStream* stream) override;
  // The body and "Драйвер\nнавигационного\nприемника" centred.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Names and describes outputs 1-6 by the coordinate system: geocentric
  // "x", "y", "z", "Vx", "Vy", "Vz"; any other value the geodetic ones.
  void SetOutputDescriptions();

  // Fields, in this order.
  unsigned char coordinateSystem = kBeNavWgs84;  // saved
  // Run state.
  float previous[3] = {0, 0, 0};  // the record's position, metres
  bool hasPrevious = false;       // a position was taken since Start
  float sinceData = 0;            // seconds since the last new message
  double runTime = 0;             // seconds
  unsigned char lastSequence = 0;

private:
  // A new message: noise, the turn to geocentric and the outputs.
  void MakeFix(const float* position, unsigned char precision, float dt);
};
