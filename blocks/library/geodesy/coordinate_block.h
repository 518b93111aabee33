// The common ground of the six coordinate converters of the "Навигация"
// group: three or six double inputs, three double outputs, names and
// descriptions from a table, a white body with the block's text centred.
// They keep no state: each step reads the inputs (0.0 when unlinked),
// converts and writes the outputs; their record is the base record alone.
#pragma once

#include "blocks/engine/block.h"

// One pin: name and description (not owned; static texts).
struct BeCoordinatePin {
  const wchar_t* name;
  const wchar_t* description;
};

// What a converter class is made of.
struct BeCoordinateLayout {
  int width;
  int height;
  int cycles;
  int rom;
  bool shared;
  const wchar_t* text;  // drawn centred in the body
  int inputCount;       // 3 or 6
  const BeCoordinatePin* inputs;
  const BeCoordinatePin* outputs;  // 3
  // Fixed offsets from the top (null: spread over the height).
  const int* inputOffsets;
  const int* outputOffsets;
};

// The pins the converters share: geocentric X, Y, Z, and the geodetic
// latitude, longitude and height of each ellipsoid.
extern const BeCoordinatePin kBeGeocentricPins[3];
extern const BeCoordinatePin kBeWgs84Pins[3];
extern const BeCoordinatePin kBePz90Pins[3];

class CBECoordinateBlock : public CBEBlock {
public:
  explicit CBECoordinateBlock(const BeCoordinateLayout& layout);

  // The body and the layout's text centred in it.
  void Draw(HDC dc) override;
  // The base record; false, with the block as it was, for a cut one.
  bool Load(CStream* stream) override;

  // Input i as a double: the source's value read in its type (char to
  // double); 0.0 when unlinked or of another type.
  double ReadInput(int i) const;
  // The three outputs.
  void WriteOutputs(double a, double b, double c);

private:
  const wchar_t* text_;
};

// The creators' check: the block with all its pins, or null.
CBEBlock* KeepIfCoordinatePinsMade(CBECoordinateBlock* block, const BeCoordinateLayout& layout);
