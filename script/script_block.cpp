#include "script/script_block.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <new>

#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "foundation/stream.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "script/editor/script_editor.h"
#include "script/script_resources.h"
#include "script/values/vm_variable.h"

const wchar_t kScriptBlockCaption[] = L"Виртуальный процессор на основе JavaScript";
const wchar_t kScriptBlockBitmap[] = L"js.bmp";
const wchar_t kScriptBlockGroup[] = L"Интеллект";

bool AddScriptBlockEntry(BeCatalogueGroup* group) {
  return group && group->AddEntry(kScriptBlockClassId, CBEVirtualMachine::Create, kScriptBlockCaption,
                                  kScriptBlockBitmap);
}

namespace {

const wchar_t kBodyText[] = L"JavaScript";
const int kPictureWidth = 18;
const int kPictureHeight = 22;
const int kPinPitch = 20;   // pixels of height per pin
const int kPinMargin = 10;  // beside the pins
const int kMinPinRecordBytes = 3;  // an empty name's terminator and the type byte

// The value rounded to single precision. The sum is kept in a float in
// memory: on x87 an expression may keep more precision than its type, and
// the clock must count exactly as single-precision seconds do.
float SingleSum(float a, float b) {
  volatile float sum = a + b;
  return sum;
}

// One pin of a record while it is read, before anything of the block
// changes.
struct PinRecord {
  wchar_t* name;
  unsigned char type;
};

void FreeRecords(CPlainArray<PinRecord>* pins) {
  for (PinRecord& p : *pins) FreeBuffer(p.name);
  pins->Clear();
}

// A pin count (unsigned 16-bit) and that many names and type bytes; false
// when the count cannot fit in the bytes left or the stream ends early.
bool ReadPinRecords(CStream* stream, CPlainArray<PinRecord>* pins) {
  unsigned char b[2];
  if (!ReadExact(stream, b, 2)) return false;
  int count = b[0] | (b[1] << 8);
  if (count * kMinPinRecordBytes > BytesLeft(stream) || !pins->Resize(count)) return false;
  for (PinRecord& p : *pins) {
    p.name = nullptr;
    p.type = 0;
  }
  for (PinRecord& p : *pins) {
    if (!ReadStringWChecked(stream, &p.name) || !ReadByteChecked(stream, &p.type)) return false;
  }
  return true;
}

void WritePins(CStream* stream, int count, const wchar_t* (*nameOf)(CBEBlock*, int), BeSignalType (*typeOf)(CBEBlock*, int),
               CBEBlock* block) {
  stream->WriteInt16(count);
  for (int i = 0; i < count; ++i) {
    stream->WriteStringW(nameOf(block, i));
    stream->WriteByte(typeOf(block, i));
  }
}

const wchar_t* InputName(CBEBlock* b, int i) { return b->inputs[i]->name; }
const wchar_t* OutputName(CBEBlock* b, int i) { return b->outputs[i]->name; }
BeSignalType InputType(CBEBlock* b, int i) { return b->inputs[i]->type; }
BeSignalType OutputType(CBEBlock* b, int i) { return b->outputs[i]->type; }

// Replaces a pin's name with a copy (null or empty: none).
bool ReplacePinName(const wchar_t** slot, const wchar_t* name) {
  wchar_t* copy = nullptr;
  if (name && *name) {
    copy = DupString(name);
    if (!copy) return false;
  }
  FreeBuffer(const_cast<wchar_t*>(*slot));
  *slot = copy;
  return true;
}

}  // namespace

CBEVirtualMachine::CBEVirtualMachine() {
  rect = RECT{0, 0, kWidth, kHeight};
  fillColor = RGB(255, 255, 255);
  cycles = kCycles;
  rom = kRom;
  ram = kRam;
}

CBEVirtualMachine::~CBEVirtualMachine() {
  FreePinNames();
  FreeBuffer(source_);
}

CBEBlock* CBEVirtualMachine::Create() { return new (std::nothrow) CBEVirtualMachine; }

void CBEVirtualMachine::FreePinNames() {
  for (int i = 0; i < inputCount; ++i) ReplacePinName(&inputs[i]->name, nullptr);
  for (int i = 0; i < outputCount; ++i) ReplacePinName(&outputs[i]->name, nullptr);
}

bool CBEVirtualMachine::SetInputPins(int count) {
  if (count < 0) count = 0;
  if (count > inputCount) return SetInputCount(count);
  for (int i = count; i < inputCount; ++i) ReplacePinName(&inputs[i]->name, nullptr);
  return SetInputCount(count);
}

bool CBEVirtualMachine::SetOutputPins(int count) {
  if (count < 0) count = 0;
  if (count > outputCount) return SetOutputCount(count);
  for (int i = count; i < outputCount; ++i) ReplacePinName(&outputs[i]->name, nullptr);
  return SetOutputCount(count);
}

bool CBEVirtualMachine::SetInputName(int i, const wchar_t* name) {
  BeInputPin* pin = Input(i);
  return pin && ReplacePinName(&pin->name, name);
}

bool CBEVirtualMachine::SetOutputName(int i, const wchar_t* name) {
  BeOutputPin* pin = Output(i);
  return pin && ReplacePinName(&pin->name, name);
}

bool CBEVirtualMachine::SetSource(const wchar_t* text) {
  wchar_t* copy = nullptr;
  if (text && *text) {
    copy = DupString(text);
    if (!copy) return false;
  }
  FreeBuffer(source_);
  source_ = copy;
  return true;
}

void CBEVirtualMachine::UpdateSize() {
  int height = kMinHeight;
  if (kPinPitch * inputCount + kPinMargin > height) height = kPinPitch * inputCount + kPinMargin;
  if (kPinPitch * outputCount + kPinMargin > height) height = kPinPitch * outputCount + kPinMargin;
  rect.bottom = rect.top + height;
  SpreadInputs();
  SpreadOutputs();
}

void CBEVirtualMachine::AddPinVariable(const wchar_t* name, BeSignalType type) {
  if (!name) return;
  VmVariable* v = new (std::nothrow) VmVariable();
  if (!v) return;
  if (!v->SetName(name)) {
    delete v;
    return;
  }
  switch (type) {
    case kBeSignalBit:
      v->value.SetBool(false);
      break;
    case kBeSignalChar:
    case kBeSignalShort:
    case kBeSignalInt:
      v->value.SetInt(0);
      break;
    case kBeSignalFloat:
    case kBeSignalDouble:
      v->value.SetDouble(0);
      break;
    default:
      break;
  }
  machine_.AddGlobal(v);
}

void CBEVirtualMachine::Start() {
  accumulator_ = 0;
  runTime_ = 0;
  machine_.RegisterBuiltins();
  for (int i = 0; i < inputCount; ++i) AddPinVariable(inputs[i]->name, inputs[i]->type);
  for (int i = 0; i < outputCount; ++i) AddPinVariable(outputs[i]->name, outputs[i]->type);
  CBEBlock::Start();
}

void CBEVirtualMachine::Step(float dt) {
  runTime_ += dt;
  accumulator_ = SingleSum(accumulator_, dt);
  if (accumulator_ <= kRunPeriod) return;
  accumulator_ = 0;
  CopyInputs();
  machine_.SetSimulatedTime(runTime_);
  machine_.Run();
  CopyOutputs();
}

void CBEVirtualMachine::CopyInputs() {
  for (int i = 0; i < inputCount; ++i) {
    const BeInputPin* pin = inputs[i];
    if (!pin->source || !pin->name) continue;
    VmVariable* v = machine_.FindGlobal(pin->name);
    if (!v) continue;
    const unsigned char* value = pin->source->value;
    switch (pin->type) {
      case kBeSignalBit:
        v->value.SetBool(value[0] != 0);
        break;
      case kBeSignalChar:
        v->value.SetInt(static_cast<int8_t>(value[0]));
        break;
      case kBeSignalShort: {
        int16_t s;
        memcpy(&s, value, 2);
        v->value.SetInt(s);
        break;
      }
      case kBeSignalInt: {
        int32_t n;
        memcpy(&n, value, 4);
        v->value.SetInt(n);
        break;
      }
      case kBeSignalFloat: {
        float f;
        memcpy(&f, value, 4);
        v->value.SetDouble(f);
        break;
      }
      case kBeSignalDouble: {
        double d;
        memcpy(&d, value, 8);
        v->value.SetDouble(d);
        break;
      }
      default:
        break;
    }
  }
}

void CBEVirtualMachine::CopyOutputs() {
  for (int i = 0; i < outputCount; ++i) {
    BeOutputPin* pin = outputs[i];
    if (!pin->name) continue;
    VmVariable* v = machine_.FindGlobal(pin->name);
    if (!v) continue;
    const VmValue& value = v->value;
    switch (pin->type) {
      case kBeSignalBit:
        pin->value[0] = value.ToBool() ? 1 : 0;
        break;
      case kBeSignalChar:
        pin->value[0] = static_cast<unsigned char>(value.ToInt() & 0xFF);
        break;
      case kBeSignalShort: {
        uint16_t s = static_cast<uint16_t>(value.ToInt() & 0xFFFF);
        memcpy(pin->value, &s, 2);
        break;
      }
      case kBeSignalInt:
        pin->SetInt(value.ToInt());
        break;
      case kBeSignalFloat:
        pin->SetFloat(static_cast<float>(value.ToDouble()));
        break;
      case kBeSignalDouble:
        pin->SetDouble(value.ToDouble());
        break;
      default:
        break;
    }
  }
}

void CBEVirtualMachine::Save(CStream* stream) {
  WritePins(stream, inputCount, InputName, InputType, this);
  WritePins(stream, outputCount, OutputName, OutputType, this);
  stream->WriteStringW(source_);
  int size = machine_.CodeSize();
  stream->WriteInt32(size);
  if (size > 0) stream->Write(machine_.Code(), size);
  CBEBlock::Save(stream);
}

bool CBEVirtualMachine::Load(CStream* stream) {
  CPlainArray<PinRecord> ins(16), outs(16);
  wchar_t* source = nullptr;
  unsigned char* code = nullptr;
  int size = 0;
  bool ok = ReadPinRecords(stream, &ins) && ReadPinRecords(stream, &outs) && ReadStringWChecked(stream, &source) &&
            ReadInt32Checked(stream, &size) && size >= 0 && size <= BytesLeft(stream);
  if (ok && size > 0) {
    code = static_cast<unsigned char*>(AllocBuffer(size));
    ok = code && ReadExact(stream, code, size);
  }
  // The pins change only when the record was whole and memory held.
  int oldInputs = inputCount, oldOutputs = outputCount;
  if (ok) ok = SetInputCount(ins.Count() > oldInputs ? ins.Count() : oldInputs) &&
               SetOutputCount(outs.Count() > oldOutputs ? outs.Count() : oldOutputs) && machine_.SetCode(code, size);
  if (ok) {
    FreePinNames();
    SetInputCount(ins.Count());  // shrinking never fails
    SetOutputCount(outs.Count());
    for (int i = 0; i < ins.Count(); ++i) {
      inputs[i]->name = ins[i].name;
      inputs[i]->type = ins[i].type;
      ins[i].name = nullptr;
    }
    for (int i = 0; i < outs.Count(); ++i) {
      outputs[i]->name = outs[i].name;
      outputs[i]->type = outs[i].type;
      outs[i].name = nullptr;
    }
    FreeBuffer(source_);
    source_ = source;
    source = nullptr;
  } else {
    SetInputCount(oldInputs);
    SetOutputCount(oldOutputs);
  }
  FreeRecords(&ins);
  FreeRecords(&outs);
  FreeBuffer(source);
  FreeBuffer(code);
  if (!ok) return false;
  UpdateSize();
  return CBEBlock::Load(stream);
}

void CBEVirtualMachine::Draw(HDC dc) {
  DrawBody(dc);
  int saved = SaveDC(dc);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  int length = static_cast<int>(wcslen(kBodyText));
  SIZE extent = {0, 0};
  GetTextExtentPoint32W(dc, kBodyText, length, &extent);
  TextOutW(dc, (rect.left + rect.right - extent.cx) / 2, (rect.top + rect.bottom + 24) / 2, kBodyText, length);
  RestoreDC(dc, saved);

  // As a section of its own colours, so it is copied unchanged whatever
  // the screen's depth.
  CKestGdiObject<HBITMAP> picture(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SCRIPT_BLOCK), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  HDC source = picture ? CreateCompatibleDC(dc) : nullptr;
  if (!source) return;
  {
    CKestDcSelection selection(source);
    if (selection.Select(picture.Get()))
      BitBlt(dc, (rect.left + rect.right - kPictureWidth) / 2, (rect.top + rect.bottom - 32) / 2, kPictureWidth,
             kPictureHeight, source, 0, 0, SRCCOPY);
  }
  DeleteDC(source);
}

bool CBEVirtualMachine::ShowProperties() {
  auto* editor = new CVMScriptEditor(this);
  HWND window = editor->GetHandle();
  if (!window) {
    delete editor;
    return false;
  }
  int result = editor->ShowModal(false);
  // The form is still there until its posted destruction arrives.
  if (IsWindow(window) && GetControlFromHandle(window) == editor) delete editor;
  return result == 1;
}
