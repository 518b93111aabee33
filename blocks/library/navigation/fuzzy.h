// CBEFuzzy ("Нечеткая логическая система"): runs a fuzzy-logic model of the
// module "fuzzydll.dll" inside a block scheme. The block owns one model,
// takes its float inputs and outputs from it, feeds the inputs to it every
// step and reads the outputs back, and keeps the model's saved form in its
// record. Where the module is missing the block has no model: it keeps the
// saved form of a record it read (and its pins) and writes them back
// unchanged.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/library/navigation/fuzzy_api.h"

class BeFuzzyModule;

// The largest saved form of a model a record may hold.
const int kBeFuzzyMaxModelBytes = 10000000;

class CBEFuzzy : public CBEBlock {
public:
  // 10,000 cycles, 361,984 ROM and 5,444 RAM bytes, 200 x 50, no pins; the
  // program's module (BeFuzzyModule::Program) is acquired and a model made
  // when it loaded.
  CBEFuzzy();
  // Destroys the model and releases the module.
  ~CBEFuzzy() override;
  static CBEBlock* Create();

  // Without a model, or while another fuzzy step runs: nothing. Otherwise
  // the linked inputs go to the model, it runs, the key F held opens its
  // editor ("Отладка") and shows the cursor once, the cursor is hidden once
  // the editor has closed, and the outputs are read back. An exception
  // ends the step (the outputs keep what was written); a processor fault
  // inside the module is not caught.
  void Step(float dt) override;
  // int32 n and the n bytes of the model's saved form (or of the form kept
  // from a record read without the module; 0 and none without either),
  // then the base record.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, a size outside
  // 0..10,000,000 or beyond the bytes left, or a base record that does not
  // follow for the pins of the loaded model. Without the module the form
  // is kept and the pins it was saved with are taken from the record.
  bool Load(CStream* stream) override;
  // Body, "Fuzzy" centred, the caption below the block.
  void Draw(HDC dc) override;
  // Without a model false; otherwise the model's editor ("Нечеткая
  // логическая система"), then the pins from the model; true.
  bool ShowProperties() override;

  // Without a model nothing. Otherwise height max(in, out, 2) 20 + 10, and
  // as many float inputs and outputs as the model has, named by it.
  void BuildPinsFromModel();

  BeFuzzyHandle GetModel() const { return model; }
  // The saved form kept from a record read without the module.
  const unsigned char* GetKeptForm() const { return keptForm_; }
  int GetKeptFormSize() const { return keptSize_; }

  // Fields, in this order.
  BeFuzzyHandle model = 0;  // 0: no model

private:
  // count float pins on each side (names dropped first); false when memory
  // for the pins ran out.
  bool SetFloatPins(int inCount, int outCount);
  void FreeNames();

  BeFuzzyModule* module_ = nullptr;  // acquired; null without the module
  wchar_t** inputNames_ = nullptr;   // owned, with the texts
  int inputNameCount_ = 0;
  wchar_t** outputNames_ = nullptr;  // owned, with the texts
  int outputNameCount_ = 0;
  unsigned char* keptForm_ = nullptr;  // owned
  int keptSize_ = 0;
};
