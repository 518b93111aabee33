#include "blocks/engine/plugin/plugin_host.h"

#include <cstring>

#include "blocks/engine/plugin/plugin_block.h"
#include "blocks/engine/plugin/plugin_module.h"
#include "foundation/stream.h"

namespace {

const unsigned int kStreamSignature = 0x53504542;  // "BEPS"

// Every function checks what the DLL passed: a block or stream that is not
// one of ours is ignored, and getters then answer 0.
template <typename T>
T ReadInput(BePluginHostBlock* b, int32_t index) {
  CBEPluginBlock* block = CBEPluginBlock::FromHost(b);
  const unsigned char* value = block ? block->HostInputValue(index) : nullptr;
  T result = 0;
  if (value) memcpy(&result, value, sizeof(T));
  return result;
}

template <typename T>
void WriteOutput(BePluginHostBlock* b, int32_t index, T v) {
  CBEPluginBlock* block = CBEPluginBlock::FromHost(b);
  unsigned char* value = block ? block->HostOutputValue(index) : nullptr;
  if (value) memcpy(value, &v, sizeof(T));
}

void BE_PLUGIN_CALL SetBlockCaption(BePluginHostBlock* b, const wchar_t* text) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->SetCaption(text);
}
void BE_PLUGIN_CALL SetBlockSize(BePluginHostBlock* b, int32_t width, int32_t height) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostSetSize(width, height);
}
void BE_PLUGIN_CALL SetInputCount(BePluginHostBlock* b, int32_t n) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostSetInputCount(n);
}
void BE_PLUGIN_CALL SetInputName(BePluginHostBlock* b, int32_t index, const wchar_t* text) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostSetInputText(index, text, false);
}
void BE_PLUGIN_CALL SetInputHint(BePluginHostBlock* b, int32_t index, const wchar_t* text) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostSetInputText(index, text, true);
}
void BE_PLUGIN_CALL SetInputType(BePluginHostBlock* b, int32_t index, int32_t type) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostSetInputType(index, type);
}
void BE_PLUGIN_CALL DisconnectInput(BePluginHostBlock* b, int32_t index) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostDisconnectInput(index);
}
uint8_t BE_PLUGIN_CALL IsInputConnected(BePluginHostBlock* b, int32_t index) {
  CBEPluginBlock* block = CBEPluginBlock::FromHost(b);
  return block && block->HostInputValue(index) ? 1 : 0;
}
uint8_t BE_PLUGIN_CALL GetInputBit(BePluginHostBlock* b, int32_t index) {
  return ReadInput<uint8_t>(b, index);
}
int8_t BE_PLUGIN_CALL GetInputChar(BePluginHostBlock* b, int32_t index) {
  return ReadInput<int8_t>(b, index);
}
int16_t BE_PLUGIN_CALL GetInputShort(BePluginHostBlock* b, int32_t index) {
  return ReadInput<int16_t>(b, index);
}
int32_t BE_PLUGIN_CALL GetInputInt(BePluginHostBlock* b, int32_t index) {
  return ReadInput<int32_t>(b, index);
}
float BE_PLUGIN_CALL GetInputFloat(BePluginHostBlock* b, int32_t index) {
  return ReadInput<float>(b, index);
}
double BE_PLUGIN_CALL GetInputDouble(BePluginHostBlock* b, int32_t index) {
  return ReadInput<double>(b, index);
}
void BE_PLUGIN_CALL SetOutputCount(BePluginHostBlock* b, int32_t n) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostSetOutputCount(n);
}
void BE_PLUGIN_CALL SetOutputName(BePluginHostBlock* b, int32_t index, const wchar_t* text) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostSetOutputText(index, text, false);
}
void BE_PLUGIN_CALL SetOutputHint(BePluginHostBlock* b, int32_t index, const wchar_t* text) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostSetOutputText(index, text, true);
}
void BE_PLUGIN_CALL SetOutputType(BePluginHostBlock* b, int32_t index, int32_t type) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostSetOutputType(index, type);
}
void BE_PLUGIN_CALL DisconnectOutput(BePluginHostBlock* b, int32_t index) {
  if (CBEPluginBlock* block = CBEPluginBlock::FromHost(b)) block->HostDisconnectOutput(index);
}
void BE_PLUGIN_CALL SetOutputBit(BePluginHostBlock* b, int32_t index, uint8_t v) { WriteOutput(b, index, v); }
void BE_PLUGIN_CALL SetOutputChar(BePluginHostBlock* b, int32_t index, int8_t v) { WriteOutput(b, index, v); }
void BE_PLUGIN_CALL SetOutputShort(BePluginHostBlock* b, int32_t index, int16_t v) { WriteOutput(b, index, v); }
void BE_PLUGIN_CALL SetOutputInt(BePluginHostBlock* b, int32_t index, int32_t v) { WriteOutput(b, index, v); }
void BE_PLUGIN_CALL SetOutputFloat(BePluginHostBlock* b, int32_t index, float v) { WriteOutput(b, index, v); }
void BE_PLUGIN_CALL SetOutputDouble(BePluginHostBlock* b, int32_t index, double v) { WriteOutput(b, index, v); }

int32_t BE_PLUGIN_CALL WriteStream(BePluginStream* s, const void* data, int32_t size) {
  BePluginStream* stream = BePluginStream::FromHandle(s);
  if (!stream || !stream->writable || !data || size <= 0) return 0;
  return stream->stream->Write(data, size);
}

int32_t BE_PLUGIN_CALL ReadStream(BePluginStream* s, void* buffer, int32_t size) {
  BePluginStream* stream = BePluginStream::FromHandle(s);
  if (!stream || stream->writable || !buffer || size <= 0) return 0;
  int position = stream->stream->GetPosition();
  int end = stream->limit >= 0 ? stream->limit : stream->stream->GetSize();
  int left = end - position;
  if (left <= 0) return 0;
  if (size > left) size = left;
  return stream->stream->Read(buffer, size);
}

int32_t BE_PLUGIN_CALL RegisterBlock(BePluginCreator creator, const wchar_t* name) {
  return RegisterPluginKind(creator, name);
}

}  // namespace

const BeHostCallbacks kBeHostCallbacks = {
    SetBlockCaption, SetBlockSize,    SetInputCount,    SetInputName,   SetInputHint,
    SetInputType,    DisconnectInput, IsInputConnected, GetInputBit,    GetInputChar,
    GetInputShort,   GetInputInt,     GetInputFloat,    GetInputDouble, SetOutputCount,
    SetOutputName,   SetOutputHint,   SetOutputType,    DisconnectOutput, SetOutputBit,
    SetOutputChar,   SetOutputShort,  SetOutputInt,     SetOutputFloat, SetOutputDouble,
    WriteStream,     ReadStream,      RegisterBlock};

static_assert(sizeof(BeHostCallbacks) == 28 * sizeof(void*), "the host table has 28 functions");

BePluginStream::BePluginStream(CStream* s, bool canWrite, int end)
    : signature(kStreamSignature), stream(s), writable(canWrite), limit(end) {}

BePluginStream::~BePluginStream() {
  signature = 0;
  stream = nullptr;
}

BePluginStream* BePluginStream::FromHandle(BePluginStream* s) {
  return s && s->signature == kStreamSignature && s->stream ? s : nullptr;
}
