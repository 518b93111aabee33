#include "blocks/engine/plugin/plugin_block.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/plugin/plugin_host.h"
#include "blocks/engine/plugin/plugin_list.h"
#include "blocks/engine/plugin/plugin_load_error.h"
#include "blocks/engine/plugin/plugin_module.h"
#include "blocks/engine/record_io.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "kestui/core/kest_host.h"

namespace {

const unsigned int kBlockSignature = 0x4C504542;  // "BEPL"
const int kMessageChars = 512;
// Bytes each pin takes in the base record.
const int kInputRecordBytes = 16;
const int kOutputRecordBytes = 5;

BePluginChoice g_choice = {nullptr, 0};

// Is m one of the program's loaded modules.
bool IsLoaded(const BePluginModule* m) {
  for (const BePluginModule* p = ProgramPluginList().head; p; p = p->next)
    if (p == m) return true;
  return false;
}

void ShowPluginMessage(UINT icon, const wchar_t* text) {
  GetKestHost()->ShowMessage(MB_OK | icon, L"Ошибка плагина", text);
}

// Owns a heap text until it is handed on.
struct OwnedText {
  ~OwnedText() { FreeBuffer(text); }
  wchar_t* Release() {
    wchar_t* t = text;
    text = nullptr;
    return t;
  }
  wchar_t* text = nullptr;
};

}  // namespace

void SetPluginChoice(BePluginModule* module, int kindIndex) {
  g_choice.module = module;
  g_choice.kindIndex = module ? kindIndex : 0;
}

BePluginChoice GetPluginChoice() { return g_choice; }

void ClearPluginChoice() { SetPluginChoice(nullptr, 0); }

CBEPluginBlock::CBEPluginBlock() : signature(kBlockSignature) {
  fillColor = kBePluginBlockFill;
  rect = RECT{0, 0, kBeNewBlockWidth, kBeNewBlockHeight};
}

CBEPluginBlock::~CBEPluginBlock() {
  DestroyHandle();
  FreePinTexts(true, 0);
  FreePinTexts(false, 0);
  FreeBuffer(storedModule_);
  FreeBuffer(storedKind_);
  storedModule_ = storedKind_ = nullptr;
  signature = 0;
}

CBEBlock* CBEPluginBlock::Create() { return new CBEPluginBlock; }

CBEPluginBlock* CBEPluginBlock::FromHost(BePluginHostBlock* block) {
  CBEPluginBlock* b = reinterpret_cast<CBEPluginBlock*>(block);
  return b && b->signature == kBlockSignature ? b : nullptr;
}

bool CBEPluginBlock::CreateHandle(BePluginModule* m, int kindIndex) {
  DestroyHandle();
  module = m;
  kindName = nullptr;
  const BePluginKind* kind = m ? m->Kind(kindIndex) : nullptr;
  if (!kind) return false;
  kindName = kind->name;
  handle = kind->creator(AsHost());
  return handle != 0;
}

void CBEPluginBlock::DestroyHandle() {
  if (module && handle) module->DestroyBlock(handle);
  handle = 0;
}

void CBEPluginBlock::AttachToScheme(BeScheme* newScheme) {
  bool first = !attached_ && newScheme;
  if (newScheme) attached_ = true;
  CBEBlock::AttachToScheme(newScheme);
  if (!first || newScheme->reading || module || handle) return;
  BePluginChoice choice = g_choice;
  if (!choice.module) return;
  ClearPluginChoice();
  if (!IsLoaded(choice.module)) return;
  CreateHandle(choice.module, choice.kindIndex);
}

void CBEPluginBlock::Start() {
  if (module && handle) module->InitBlock(handle);
}

void CBEPluginBlock::Step(float dt) {
  if (module && handle) module->TickBlock(handle, dt);
}

void CBEPluginBlock::Stop() {
  if (module && handle) module->DoneBlock(handle);
}

bool CBEPluginBlock::ShowProperties() {
  if (!module || !handle) return false;
  return module->BlockPropertyDlg(handle) != 0;
}

void CBEPluginBlock::Save(CStream* stream) {
  stream->WriteInt16(kBePluginRecordVersion);
  stream->WriteInt16(inputCount);
  stream->WriteInt16(outputCount);
  int sizeAt = stream->GetPosition();
  stream->WriteInt32(0);
  stream->WriteStringW(module ? module->fileName : storedModule_);
  stream->WriteStringW(kindName ? kindName : storedKind_);
  int dataAt = stream->GetPosition();
  if (module && handle) {
    BePluginStream out(stream, true, -1);
    module->SaveBlock(handle, &out);
  } else if (storedData_.Count() > 0) {
    // The DLL cannot be asked: its data as the record held it.
    stream->Write(storedData_.Data(), storedData_.Count());
  }
  int end = stream->GetPosition();
  int written = end - dataAt;
  if (written < 0) written = 0;
  stream->Seek(sizeAt, 0);
  stream->WriteInt32(written);
  stream->Seek(end, 0);
  CBEBlock::Save(stream);
}

bool CBEPluginBlock::Load(CStream* stream) {
  unsigned char first[2];
  if (!ReadExact(stream, first, 2)) return false;
  int version = first[0] | (first[1] << 8);
  if (version == kBePluginRecordVersion) return LoadCurrent(stream);
  stream->Seek(-2, 1);
  return LoadOlder(stream);
}

void CBEPluginBlock::TellMissing(bool moduleMissing, const wchar_t* moduleName, const wchar_t* kind) {
  wchar_t text[kMessageChars];
  if (moduleMissing) {
    _snwprintf(text, kMessageChars - 1, L"Плагин \"%ls\" не найден!", moduleName ? moduleName : L"");
  } else {
    _snwprintf(text, kMessageChars - 1, L"Блок \"%ls\" в плагине \"%ls\" не существует!",
               kind ? kind : L"", moduleName ? moduleName : L"");
  }
  text[kMessageChars - 1] = 0;
  ShowPluginMessage(MB_ICONWARNING, text);
}

bool CBEPluginBlock::LoadCurrent(CStream* stream) {
  unsigned char counts[4];
  unsigned int dataSize;
  OwnedText moduleName, kind;
  if (!ReadExact(stream, counts, 4) || !ReadUInt32Checked(stream, &dataSize) ||
      !ReadStringWChecked(stream, &moduleName.text) || !ReadStringWChecked(stream, &kind.text))
    return false;
  int inputsWanted = counts[0] | (counts[1] << 8);
  int outputsWanted = counts[2] | (counts[3] << 8);
  int left = BytesLeft(stream);
  if (dataSize > static_cast<unsigned int>(left)) return false;
  int dataAt = stream->GetPosition();
  CPlainArray<unsigned char> data(256);
  if (!data.Resize(static_cast<int>(dataSize)) ||
      !ReadExact(stream, data.Data(), static_cast<int>(dataSize)))
    return false;
  // Each pin takes its bytes in the base record that follows.
  left = BytesLeft(stream);
  if (inputsWanted > left / kInputRecordBytes || outputsWanted > left / kOutputRecordBytes)
    return false;
  FreePinTexts(true, inputsWanted);
  FreePinTexts(false, outputsWanted);
  if (!SetInputCount(inputsWanted) || !SetOutputCount(outputsWanted)) return false;
  if (!CBEBlock::Load(stream)) return false;

  // The record is read whole; what follows cannot fail the read.
  DestroyHandle();
  module = nullptr;
  kindName = nullptr;
  FreeBuffer(storedModule_);
  FreeBuffer(storedKind_);
  storedModule_ = moduleName.Release();
  storedKind_ = kind.Release();
  storedData_.Clear();
  if (storedData_.Resize(data.Count()) && data.Count() > 0)
    memcpy(storedData_.Data(), data.Data(), static_cast<size_t>(data.Count()));

  BePluginModule* found = storedModule_ ? ProgramPluginList().FindModule(storedModule_) : nullptr;
  if (!found) {
    TellMissing(true, storedModule_, storedKind_);
    return true;
  }
  int kindIndex = found->FindKind(storedKind_);
  if (kindIndex < 0) {
    module = found;
    TellMissing(false, storedModule_, storedKind_);
    return true;
  }
  if (!CreateHandle(found, kindIndex)) {
    TellMissing(false, storedModule_, storedKind_);
    return true;
  }
  int after = stream->GetPosition();
  stream->Seek(dataAt, 0);
  {
    BePluginStream in(stream, false, dataAt + static_cast<int>(dataSize));
    module->LoadBlock(handle, &in);
  }
  stream->Seek(after, 0);
  return true;
}

bool CBEPluginBlock::LoadOlder(CStream* stream) {
  OwnedText moduleName, kind;
  if (!ReadStringWChecked(stream, &moduleName.text) || !ReadStringWChecked(stream, &kind.text))
    return false;
  DestroyHandle();
  module = nullptr;
  kindName = nullptr;
  BePluginModule* found = moduleName.text ? ProgramPluginList().FindModule(moduleName.text) : nullptr;
  int kindIndex = found ? found->FindKind(kind.text) : -1;
  if (kindIndex < 0 || !CreateHandle(found, kindIndex)) throw BePluginLoadError();
  FreeBuffer(storedModule_);
  FreeBuffer(storedKind_);
  storedModule_ = moduleName.Release();
  storedKind_ = kind.Release();
  storedData_.Clear();
  // The DLL reads its data in place; only it knows the length.
  {
    BePluginStream in(stream, false, -1);
    module->LoadBlock(handle, &in);
  }
  return CBEBlock::Load(stream);
}

void CBEPluginBlock::FreePinTexts(bool ofInputs, int from) {
  if (from < 0) from = 0;
  if (ofInputs) {
    for (int i = from; i < inputCount; ++i) {
      FreeBuffer(const_cast<wchar_t*>(inputs[i]->name));
      FreeBuffer(const_cast<wchar_t*>(inputs[i]->description));
      inputs[i]->name = inputs[i]->description = nullptr;
    }
  } else {
    for (int i = from; i < outputCount; ++i) {
      FreeBuffer(const_cast<wchar_t*>(outputs[i]->name));
      FreeBuffer(const_cast<wchar_t*>(outputs[i]->description));
      outputs[i]->name = outputs[i]->description = nullptr;
    }
  }
}

void CBEPluginBlock::HostSetSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  long long right = static_cast<long long>(rect.left) + width;
  long long bottom = static_cast<long long>(rect.top) + height;
  rect.right = right > INT_MAX ? INT_MAX : static_cast<LONG>(right);
  rect.bottom = bottom > INT_MAX ? INT_MAX : static_cast<LONG>(bottom);
}

void CBEPluginBlock::HostSetInputCount(int n) {
  if (n < 0 || n > kBeMaxPluginPins) return;
  FreePinTexts(true, n);
  SetInputCount(n);
}

void CBEPluginBlock::HostSetOutputCount(int n) {
  if (n < 0 || n > kBeMaxPluginPins) return;
  FreePinTexts(false, n);
  SetOutputCount(n);
}

void CBEPluginBlock::HostSetInputText(int index, const wchar_t* text, bool hint) {
  BeInputPin* pin = Input(index);
  if (!pin) return;
  const wchar_t** slot = hint ? &pin->description : &pin->name;
  wchar_t* copy = DupString(text);
  FreeBuffer(const_cast<wchar_t*>(*slot));
  *slot = copy;
}

void CBEPluginBlock::HostSetOutputText(int index, const wchar_t* text, bool hint) {
  BeOutputPin* pin = Output(index);
  if (!pin) return;
  const wchar_t** slot = hint ? &pin->description : &pin->name;
  wchar_t* copy = DupString(text);
  FreeBuffer(const_cast<wchar_t*>(*slot));
  *slot = copy;
}

void CBEPluginBlock::HostSetInputType(int index, int type) {
  BeInputPin* pin = Input(index);
  if (pin && type >= 0 && type < kBeSignalTypeNameCount) pin->type = type;
}

void CBEPluginBlock::HostSetOutputType(int index, int type) {
  BeOutputPin* pin = Output(index);
  if (pin && type >= 0 && type <= kBeLastConcreteSignalType) pin->type = type;
}

void CBEPluginBlock::HostDisconnectInput(int index) {
  if (BeInputPin* pin = Input(index)) pin->source = nullptr;
}

void CBEPluginBlock::HostDisconnectOutput(int index) {
  if (BeOutputPin* pin = Output(index)) pin->Disconnect();
}

const unsigned char* CBEPluginBlock::HostInputValue(int index) const {
  BeInputPin* pin = Input(index);
  return pin && pin->source ? pin->source->value : nullptr;
}

unsigned char* CBEPluginBlock::HostOutputValue(int index) {
  BeOutputPin* pin = Output(index);
  return pin ? pin->value : nullptr;
}

bool AddPluginCatalogueEntry(BeCatalogue* catalogue) {
  if (!catalogue) return false;
  for (int i = 1; i < catalogue->groupCount; ++i) {
    BeCatalogueGroup* group = catalogue->Group(i);
    if (group && group->name && wcscmp(group->name, L"Макро и DLL") == 0)
      return group->AddEntry(kBePluginBlockClassId, CBEPluginBlock::Create, L"Плагин", L"plugin.bmp");
  }
  return false;
}
