// The supply of an incremental encoder: a load between its supply pin and
// its ground pin, and the levels its outputs are driven from.
#pragma once

class CSCHBlock;

// What one step reads of the supply and ground nets.
struct EncoderSupply {
  float Up, Rp;  // the rest of the supply pin's net
  float Ug, Rg;  // the rest of the ground pin's net
  float Us;      // the voltage across the encoder's load
};

// Reads both nets and answers them with the supply voltage across the load,
// Us = (Up - Ug) * load / (load + Rg + Rp), rounded to float. Drives nothing.
EncoderSupply ReadEncoderSupply(const CSCHBlock* block, int supplyPin, int groundPin, float load);

// Drives the ground pin as Up behind Rp + load and the supply pin as Ug
// behind Rg + load: the encoder as a load between the two nets it read.
void DriveEncoderLoad(CSCHBlock* block, const EncoderSupply& supply, int supplyPin, int groundPin, float load);

// ReadEncoderSupply, then DriveEncoderLoad; answers what it read.
EncoderSupply DriveEncoderSupply(CSCHBlock* block, int supplyPin, int groundPin, float load);

// The load of an encoder that draws I amperes at its nominal U volts: U / I
// rounded to float, or an open load (5,000,000 ohm) when that is no positive
// finite number (a model that names no current).
float EncoderLoadResistance(float U, float I);

// The sink current of an open-collector output whose net rests at Uo behind
// Ro: (Uo - Ug - 0.1) / (Ro + Rg), rounded to float.
float EncoderSinkCurrent(const EncoderSupply& supply, float Uo, float Ro);
