#include "blocks/library/navigation/fuzzy.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "blocks/engine/catalogue.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/engine/signal_type.h"
#include "blocks/library/base_record.h"
#include "blocks/library/navigation/fuzzy_module.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"

namespace {
const int kFuzzyCycles = 10000;
const int kFuzzyRom = 361984;
const int kFuzzyRam = 5444;
const int kFuzzyWidth = 200;
const int kFuzzyHeight = 50;
const COLORREF kFuzzyFill = 0xFFCCFF;
const wchar_t kBodyText[] = L"Fuzzy";
// The editor's titles, in code page 1251: "Отладка" when opened from a run,
// "Нечеткая логическая система" from the property dialog.
const char kDebugTitle[] = "\xCE\xF2\xEB\xE0\xE4\xEA\xE0";
const char kDialogTitle[] =
    "\xCD\xE5\xF7\xE5\xF2\xEA\xE0\xFF\x20\xEB\xEE\xE3\xE8\xF7\xE5\xF1\xEA\xE0\xFF\x20\xF1\xE8\xF1\xF2\xE5\xEC\xE0";

// Base-record sizes (CBEBlock::Save): one input link, one output identity.
const int kInputRecordBytes = 16;
const int kOutputRecordBytes = 5;
// A record read without the module names no pin count: at most this many
// pins are looked for.
const int kMaxSavedPins = 256;

// A heap copy of an 8-bit text in code page 1251; null for null or when
// memory ran out.
wchar_t* WideCopy1251(const char* text) {
  if (!text) return nullptr;
  int n = static_cast<int>(strnlen(text, 4096));
  wchar_t* wide = AllocWideString(static_cast<size_t>(n));
  if (!wide) return nullptr;
  int got = n > 0 ? MultiByteToWideChar(1251, 0, text, n, wide, n) : 0;
  wide[got] = 0;
  return wide;
}

int NonNegative(int n) { return n > 0 ? n : 0; }

uint32_t ReadU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// Every output written has an identity of its own (not 0, none twice) and
// a hardware byte of 0 or 1.
bool OutputsPlausible(const unsigned char* p, int count) {
  for (int j = 0; j < count; ++j) {
    const unsigned char* o = p + j * kOutputRecordBytes;
    if (ReadU32(o) == 0 || o[4] > 1) return false;
    for (int k = 0; k < j; ++k)
      if (ReadU32(p + k * kOutputRecordBytes) == ReadU32(o)) return false;
  }
  return true;
}

// The pins of a base record at the stream's position whose counts the
// block cannot know (it was saved with a model the module would have
// described): the fewest inputs and outputs whose links and identities end
// where the stream ends or where the next block's class id (one the
// scheme's catalogue offers) begins. When none does (the block was the
// last one of its scheme, inside a longer document), no pins: the record
// is read as a block without a model is. False when the stream ends inside
// the rectangle, caption or flags, or when memory ran out; the position is
// kept.
bool FindSavedPinCounts(CStream* stream, const BeScheme* scheme, int* inCount, int* outCount) {
  int start = stream->GetPosition();
  int header = MeasureBaseRecord(stream, 0, 0);
  if (header < 0) return false;
  int rest = BytesLeft(stream) - header;
  int window = rest;
  const int kWindowMax = kMaxSavedPins * kInputRecordBytes + 4;
  if (window > kWindowMax) window = kWindowMax;
  unsigned char* bytes = static_cast<unsigned char*>(AllocBuffer(static_cast<size_t>(window) + 1));
  if (!bytes) return false;
  stream->Seek(start + header, 0);
  bool read = ReadExact(stream, bytes, window);
  stream->Seek(start, 0);
  bool found = false;
  const BeCatalogue* catalogue = scheme ? scheme->catalogue : nullptr;
  for (int total = 0; read && !found && total <= kMaxSavedPins; ++total) {
    for (int outs = 0; outs <= total && !found; ++outs) {
      int ins = total - outs;
      int pins = ins * kInputRecordBytes + outs * kOutputRecordBytes;
      if (pins > window) continue;
      if (!OutputsPlausible(bytes + ins * kInputRecordBytes, outs)) continue;
      bool fits = pins == rest;
      if (!fits && pins + 4 <= window && catalogue)
        fits = catalogue->FindEntry(ReadU32(bytes + pins)) != nullptr;
      if (fits) {
        *inCount = ins;
        *outCount = outs;
        found = true;
      }
    }
  }
  FreeBuffer(bytes);
  if (!found) *inCount = *outCount = 0;
  return true;
}
}  // namespace

CBEFuzzy::CBEFuzzy() {
  cycles = kFuzzyCycles;
  rom = kFuzzyRom;
  ram = kFuzzyRam;
  BeFuzzyModule* module = BeFuzzyModule::Program();
  if (module->Acquire()) {
    module_ = module;
    model = module_->CreateFuzzy();
  }
  rect = RECT{0, 0, kFuzzyWidth, kFuzzyHeight};
  fillColor = kFuzzyFill;
}

CBEBlock* CBEFuzzy::Create() { return new (std::nothrow) CBEFuzzy; }

CBEFuzzy::~CBEFuzzy() {
  if (module_) {
    if (model) module_->DestroyFuzzy(model);
    module_->Release();
  }
  // The pins go after this body: they must not point at freed names.
  for (int i = 0; i < inputCount; ++i) inputs[i]->name = nullptr;
  for (int j = 0; j < outputCount; ++j) outputs[j]->name = nullptr;
  FreeNames();
  FreeBuffer(keptForm_);
}

void CBEFuzzy::FreeNames() {
  for (int i = 0; i < inputNameCount_; ++i) FreeBuffer(inputNames_[i]);
  for (int j = 0; j < outputNameCount_; ++j) FreeBuffer(outputNames_[j]);
  FreeBuffer(inputNames_);
  FreeBuffer(outputNames_);
  inputNames_ = outputNames_ = nullptr;
  inputNameCount_ = outputNameCount_ = 0;
}

bool CBEFuzzy::SetFloatPins(int inCount, int outCount) {
  for (int i = 0; i < inputCount; ++i) inputs[i]->name = nullptr;
  for (int j = 0; j < outputCount; ++j) outputs[j]->name = nullptr;
  FreeNames();
  bool ok = SetInputCount(inCount) && SetOutputCount(outCount);
  for (int i = 0; i < inputCount; ++i) inputs[i]->type = kBeSignalFloat;
  for (int j = 0; j < outputCount; ++j) outputs[j]->type = kBeSignalFloat;
  return ok;
}

void CBEFuzzy::BuildPinsFromModel() {
  if (!module_ || !model) return;
  int ins = NonNegative(module_->FuzzyGetInputCount(model));
  int outs = NonNegative(module_->FuzzyGetOutputCount(model));
  int rows = ins > outs ? ins : outs;
  if (rows < 2) rows = 2;
  rect.bottom = rect.top + rows * 20 + 10;
  SetFloatPins(ins, outs);
  // Names: one owned copy per pin; a pin whose copy was refused stays
  // without a name.
  if (inputCount > 0) {
    inputNames_ = static_cast<wchar_t**>(AllocBuffer(sizeof(wchar_t*) * static_cast<size_t>(inputCount)));
    if (inputNames_) {
      inputNameCount_ = inputCount;
      for (int i = 0; i < inputCount; ++i) {
        inputNames_[i] = WideCopy1251(module_->GetFuzzyInputName(model, i));
        inputs[i]->name = inputNames_[i];
      }
    }
  }
  if (outputCount > 0) {
    outputNames_ = static_cast<wchar_t**>(AllocBuffer(sizeof(wchar_t*) * static_cast<size_t>(outputCount)));
    if (outputNames_) {
      outputNameCount_ = outputCount;
      for (int j = 0; j < outputCount; ++j) {
        outputNames_[j] = WideCopy1251(module_->GetFuzzyOutputName(model, j));
        outputs[j]->name = outputNames_[j];
      }
    }
  }
}

void CBEFuzzy::Step(float) {
  if (!module_ || !model || module_->running) return;
  BeFuzzyModule* module = module_;
  module->running = true;
  try {
    for (int i = 0; i < inputCount; ++i) {
      const BeOutputPin* source = inputs[i]->source;
      if (!source) continue;
      float x;
      memcpy(&x, source->value, sizeof x);
      module->FuzzySetInput(model, i, x);
    }
    module->FuzzyExecute(model);
    if (module->IsEditorKeyDown()) {
      // The cursor is shown once for as long as the flag stays set.
      if (!module->editorFromRun) {
        module->ShowMouseCursor(true);
        module->editorFromRun = true;
      }
      if (!module->FuzzyIsEditor(model)) module->FuzzyOpenEditor(model, kDebugTitle, 0);
    }
    if (module->editorFromRun && !module->FuzzyIsEditor(model)) {
      module->ShowMouseCursor(false);
      module->editorFromRun = false;
    }
    for (int j = 0; j < outputCount; ++j) {
      float y = static_cast<float>(module->FuzzyGetOutput(model, j));
      memcpy(outputs[j]->value, &y, sizeof y);
    }
  } catch (...) {
    // The step ends where the exception arose.
  }
  module->running = false;
}

void CBEFuzzy::Save(CStream* stream) {
  if (module_ && model) {
    int n = module_->FuzzySave(model, nullptr);
    unsigned char* form = n > 0 ? static_cast<unsigned char*>(AllocBuffer(static_cast<size_t>(n))) : nullptr;
    if (form) {
      module_->FuzzySave(model, form);
      stream->WriteInt32(n);
      stream->Write(form, n);
      FreeBuffer(form);
    } else {
      // An empty form, or one whose memory was refused.
      stream->WriteInt32(0);
    }
  } else {
    stream->WriteInt32(keptSize_);
    if (keptSize_ > 0) stream->Write(keptForm_, keptSize_);
  }
  CBEBlock::Save(stream);
}

bool CBEFuzzy::Load(CStream* stream) {
  int start = stream->GetPosition();
  int n;
  if (!ReadInt32Checked(stream, &n)) return false;
  if (n < 0 || n > kBeFuzzyMaxModelBytes || n > BytesLeft(stream)) {
    stream->Seek(start, 0);
    return false;
  }
  unsigned char* form = static_cast<unsigned char*>(AllocBuffer(static_cast<size_t>(n) + 1));
  if (!form || !ReadExact(stream, form, n)) {
    FreeBuffer(form);
    stream->Seek(start, 0);
    return false;
  }
  if (module_ && model) {
    // The form goes into a model of its own first, so that a record whose
    // base record does not follow leaves the block's model as it was.
    BeFuzzyHandle fresh = module_->CreateFuzzy();
    if (fresh) module_->FuzzyLoad(fresh, form, n);
    FreeBuffer(form);
    if (!fresh) {
      stream->Seek(start, 0);
      return false;
    }
    int ins = NonNegative(module_->FuzzyGetInputCount(fresh));
    int outs = NonNegative(module_->FuzzyGetOutputCount(fresh));
    if (!BaseRecordFollows(stream, ins, outs)) {
      module_->DestroyFuzzy(fresh);
      stream->Seek(start, 0);
      return false;
    }
    module_->DestroyFuzzy(model);
    model = fresh;
    BuildPinsFromModel();
    if (inputCount != ins || outputCount != outs) {
      stream->Seek(start, 0);
      return false;
    }
    return LoadBaseRecord(this, stream);
  }
  // Without the module the form is kept as it was read, and the pins are
  // the ones the record was saved with.
  int ins = 0, outs = 0;
  if (!FindSavedPinCounts(stream, scheme, &ins, &outs) || !BaseRecordFollows(stream, ins, outs)) {
    FreeBuffer(form);
    stream->Seek(start, 0);
    return false;
  }
  if (!SetFloatPins(ins, outs)) {
    FreeBuffer(form);
    stream->Seek(start, 0);
    return false;
  }
  FreeBuffer(keptForm_);
  keptForm_ = n > 0 ? form : nullptr;
  keptSize_ = n;
  if (n == 0) FreeBuffer(form);
  return LoadBaseRecord(this, stream);
}

void CBEFuzzy::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, kBodyText);
  DrawCaptionBelow(dc);
}

bool CBEFuzzy::ShowProperties() {
  if (!module_ || !model) return false;
  module_->FuzzyOpenEditor(model, kDialogTitle, 1);
  BuildPinsFromModel();
  return true;
}
