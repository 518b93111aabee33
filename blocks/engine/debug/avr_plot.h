// The graph builder: a debugging block of the microcontroller that samples
// its input at a fixed interval into memory, charges the unit the RAM the
// samples take, and writes them to a text file when the run stops.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/signal_type.h"

class CMemoryStream;

const unsigned int kBeAvrPlotClassId = 0x55443300;

class CBEAvrPlot : public CBEBlock {
public:
  // Sample formats.
  static constexpr unsigned char kValuesOnly = 0;    // "Только значения (время фиксировано)"
  static constexpr unsigned char kTimeAndValue = 1;  // "Время + значение в момент изменения"

  CBEAvrPlot();
  ~CBEAvrPlot() override;

  // A new sample buffer when the data input is connected; the RAM cost is
  // recomputed for the data source.
  void Start() override;
  void Step(float dt) override;
  // Writes the samples to the log file, frees the buffer.
  void Stop() override;
  // The base record, the low byte of the RAM cost, the log file name, the
  // format, the capacity and the interval.
  void Save(CStream* stream) override;
  bool Load(CStream* stream) override;
  // The class picture at the top-left corner.
  void Draw(HDC dc) override;
  void OnLinksResolved() override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // RAM the samples take: the data source's value size (4 when unlinked)
  // times the capacity; with time and value per change one byte more per
  // sample, and one more when the capacity is 256 or more.
  void UpdateRamCost();
  void SetLogFileName(const wchar_t* name);

  static CBEBlock* Create();

  wchar_t* logFileName = nullptr;  // owned
  int interval = 4;                // milliseconds
  unsigned char format = kValuesOnly;
  unsigned char started = 0;  // stays set once the sync input was seen high
  int capacity = 100;         // samples
  int sampleCount = 0;
  float time = 0;         // seconds since the first recorded moment
  float accumulator = 0;  // milliseconds since the last sample
  CMemoryStream* buffer = nullptr;  // owned while running

private:
  int DataValueSize() const;
  // The cost for samples of that value size (capped at INT_MAX).
  int RamCostFor(int valueSize) const;
  // The type of the samples in the buffer, taken from the first one; a
  // value of another type (a source whose type changes while it runs) or of
  // a type the data input does not take is not stored, so every record has
  // one size and reads back in its own type. -1 before the first sample.
  BeSignalType sampleType_ = -1;
};
