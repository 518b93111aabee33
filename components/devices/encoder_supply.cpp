#include "components/devices/encoder_supply.h"

#include "foundation/numbers.h"
#include "scheme/model/block.h"

EncoderSupply DriveEncoderSupply(CSCHBlock* block, int supplyPin, int groundPin, float load) {
  EncoderSupply s = {0, 0, 0, 0, 0};
  block->GetPinInput(supplyPin, &s.Up, &s.Rp);
  block->GetPinInput(groundPin, &s.Ug, &s.Rg);
  block->SetPinSource(groundPin, s.Up, s.Rp + load);
  block->SetPinSource(supplyPin, s.Ug, s.Rg + load);
  s.Us = RoundToFloat(static_cast<double>(s.Up - s.Ug) * load / (static_cast<double>(load) + s.Rg + s.Rp));
  return s;
}

float EncoderSinkCurrent(const EncoderSupply& supply, float Uo, float Ro) {
  return RoundToFloat((static_cast<double>(Uo) - supply.Ug - 0.1) / (static_cast<double>(Ro) + supply.Rg));
}
