#include "components/devices/encoder_supply.h"

#include <cmath>

#include "foundation/numbers.h"
#include "scheme/model/block.h"
#include "scheme/simulation/pin_model.h"

EncoderSupply ReadEncoderSupply(const CSCHBlock* block, int supplyPin, int groundPin, float load) {
  EncoderSupply s = {0, 0, 0, 0, 0};
  block->GetPinInput(supplyPin, &s.Up, &s.Rp);
  block->GetPinInput(groundPin, &s.Ug, &s.Rg);
  s.Us = RoundToFloat(static_cast<double>(s.Up - s.Ug) * load / (static_cast<double>(load) + s.Rg + s.Rp));
  return s;
}

void DriveEncoderLoad(CSCHBlock* block, const EncoderSupply& s, int supplyPin, int groundPin, float load) {
  block->SetPinSource(groundPin, s.Up, s.Rp + load);
  block->SetPinSource(supplyPin, s.Ug, s.Rg + load);
}

EncoderSupply DriveEncoderSupply(CSCHBlock* block, int supplyPin, int groundPin, float load) {
  EncoderSupply s = ReadEncoderSupply(block, supplyPin, groundPin, load);
  DriveEncoderLoad(block, s, supplyPin, groundPin, load);
  return s;
}

float EncoderLoadResistance(float U, float I) {
  float R = I != 0 ? RoundToFloat(static_cast<double>(U) / I) : 0;
  return std::isfinite(R) && R > 0 ? R : kSchOpenResistance;
}

float EncoderSinkCurrent(const EncoderSupply& supply, float Uo, float Ro) {
  return RoundToFloat((static_cast<double>(Uo) - supply.Ug - 0.1) / (static_cast<double>(Ro) + supply.Rg));
}
