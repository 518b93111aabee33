// Shared pieces of the block-engine tests: a plain test block, a catalogue of
// test classes, a recorder for the engine's message boxes and a guard that
// puts the simulation log back as it was.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/engine/block.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/common_groups.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "kestui/core/kest_host.h"
#include "scheme/simulation/sim_log.h"

namespace betest {

const unsigned int kPlainClassId = 0x7E570001;
const unsigned int kTwoByTwoClassId = 0x7E570002;
const unsigned int kNestingClassId = kBeMacroBlockClassId;  // stands for a macro block

// A block with given pin counts whose step copies the first input's source
// value to every output and records its name in a shared trace.
class TestBlock : public CBEBlock {
public:
  TestBlock(int inputsWanted = 1, int outputsWanted = 1) {
    SetInputCount(inputsWanted);
    SetOutputCount(outputsWanted);
  }
  void Start() override { ++starts; }
  void Stop() override { ++stops; }
  void Step(float dt) override {
    ++steps;
    lastDt = dt;
    if (trace) trace->push_back(tag);
    if (inputCount > 0 && inputs[0]->source) {
      for (int i = 0; i < outputCount; ++i)
        memcpy(outputs[i]->value, inputs[0]->source->value, 8);
    }
  }
  int starts = 0, stops = 0, steps = 0;
  float lastDt = 0;
  std::vector<int>* trace = nullptr;
  int tag = 0;
};

// A block that carries a nested scheme, as a macro block does.
class NestingBlock : public TestBlock {
public:
  NestingBlock() : TestBlock(0, 0) {}
  BeScheme* GetNestedScheme() const override { return const_cast<BeScheme*>(&inner); }
  BeScheme inner;
};

inline CBEBlock* NewPlain() { return new TestBlock(1, 1); }
inline CBEBlock* NewTwoByTwo() { return new TestBlock(2, 2); }
inline CBEBlock* NewNesting() { return new NestingBlock; }

// Group 0 with nothing, then "Тест" with the test classes.
class TestCatalogue {
public:
  TestCatalogue() {
    catalogue.AddGroup(nullptr);
    BeCatalogueGroup* group = catalogue.AddGroup(L"Тест");
    group->AddEntry(kPlainClassId, NewPlain, L"Простой", L"plain.bmp");
    group->AddEntry(kTwoByTwoClassId, NewTwoByTwo, L"Два на два", L"two.bmp");
    group->AddEntry(kNestingClassId, NewNesting, L"Вложенный", L"macro.bmp");
  }
  BeCatalogue catalogue;
};

// A unit-like catalogue: group 0, the common groups (with the engine's own
// classes only), then "Тест" with the test classes.
class UnitCatalogue {
public:
  UnitCatalogue() {
    catalogue.AddGroup(nullptr);
    BeBlockCreatorTable none;
    AddCommonCatalogueGroups(&catalogue, none);
    BeCatalogueGroup* group = catalogue.AddGroup(L"Тест");
    group->AddEntry(kPlainClassId, NewPlain, L"Простой", L"plain.bmp");
    group->AddEntry(kTwoByTwoClassId, NewTwoByTwo, L"Два на два", L"two.bmp");
  }
  BeCatalogue catalogue;
};

// Records the engine's message boxes while alive and answers them with OK.
class RecordedMessages : public CKestHost {
public:
  RecordedMessages() { previous_ = SetKestHost(this); }
  ~RecordedMessages() override { SetKestHost(previous_); }
  int ShowMessage(UINT flags, const wchar_t* caption, const wchar_t* text) override {
    this->flags.push_back(flags);
    captions.push_back(caption ? caption : L"");
    texts.push_back(text ? text : L"");
    return IDOK;
  }
  std::vector<UINT> flags;
  std::vector<std::wstring> captions;
  std::vector<std::wstring> texts;

private:
  CKestHost* previous_;
};

// The messages the simulation log gained while alive; the log is put back
// to its former length when it goes.
class LogWatch {
public:
  LogWatch() : start_(SimMessageLog::Global().GetCount()) {}
  ~LogWatch() { SimMessageLog::Global().Resize(start_); }
  std::vector<std::wstring> Added() const {
    std::vector<std::wstring> out;
    const SimMessageLog& log = SimMessageLog::Global();
    for (int i = start_; i < log.GetCount(); ++i) out.push_back(log.GetItem(i));
    return out;
  }

private:
  int start_;
};

// Links input i of to to output o of from, with a route.
inline void Link(CBEBlock* from, int o, CBEBlock* to, int i, int x1 = 0, int y = 0, int x2 = 0) {
  to->inputs[i]->source = from->outputs[o];
  to->inputs[i]->routeX1 = x1;
  to->inputs[i]->routeY = y;
  to->inputs[i]->routeX2 = x2;
}

}  // namespace betest
