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

// Reads both nets, drives the ground pin as Up behind Rp + load and the
// supply pin as Ug behind Rg + load, and answers what it read with the
// supply voltage Us = (Up - Ug) * load / (load + Rg + Rp), rounded to float.
EncoderSupply DriveEncoderSupply(CSCHBlock* block, int supplyPin, int groundPin, float load);

// The sink current of an open-collector output whose net rests at Uo behind
// Ro: (Uo - Ug - 0.1) / (Ro + Rg), rounded to float.
float EncoderSinkCurrent(const EncoderSupply& supply, float Uo, float Ro);
