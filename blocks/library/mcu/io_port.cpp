#include "blocks/library/mcu/io_port.h"

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/block_text.h"
#include "blocks/library/base_record.h"
#include "foundation/stream.h"
#include "kestui/core/kest_host.h"
#include "kestui/graphics/kest_dc_selection.h"

const wchar_t* const kBeAltModeRefusal = L"Порт переведен в режим альтернативной функции и настройке не подлежит";

namespace {

const wchar_t* const kPortHint = L"Входное значение (регистр PORT)";
const wchar_t* const kDdrHint = L"Направление (регистр DDR): 0 - вход; 1 - выход";
const wchar_t* const kPinHint = L"Выходное значение (регистр PIN)";

bool IsWordChar(wchar_t c) { return c == L'_' || iswalnum(c); }

}  // namespace

bool CaptionHoldsWord(const wchar_t* caption, const wchar_t* text) {
  if (!caption || !text || !*text) return false;
  const size_t n = wcslen(text);
  for (const wchar_t* at = wcsstr(caption, text); at; at = wcsstr(at + 1, text)) {
    bool before = at > caption && IsWordChar(at[-1]);
    bool after = IsWordChar(at[n]);
    if (!before && !after) return true;
  }
  return false;
}

CBEIOPort::CBEIOPort() {
  flags |= kBeBlockDevice;
  rect = RECT{0, 0, kWidth, kHeight};
  BuildPins();
}

CBEIOPort::~CBEIOPort() { LeavePortList(); }

CBEBlock* CBEIOPort::Create() { return new (std::nothrow) CBEIOPort; }

void CBEIOPort::LeavePortList() {
  if (!scheme) return;
  CBEIOPort** link = reinterpret_cast<CBEIOPort**>(&scheme->portBlocks);
  while (*link && *link != this) link = &(*link)->nextPort;
  if (*link) *link = nextPort;
  nextPort = nullptr;
}

void CBEIOPort::AttachToScheme(BeScheme* newScheme) {
  LeavePortList();
  CBEBlock::AttachToScheme(newScheme);
  if (!scheme) return;
  nextPort = static_cast<CBEIOPort*>(scheme->portBlocks);
  scheme->portBlocks = this;
}

CBEIOPort* CBEIOPort::Find(const BeScheme* scheme, const wchar_t* text) {
  if (!scheme) return nullptr;
  for (CBEIOPort* p = static_cast<CBEIOPort*>(scheme->portBlocks); p; p = p->nextPort)
    if (CaptionHoldsWord(p->GetCaption(), text)) return p;
  return nullptr;
}

CBEIOPort* CBEIOPort::OwnerOf(const BeOutputPin* output) {
  if (!output || !output->owner || output->owner->GetClassId() != kBePortPinBlockClassId) return nullptr;
  return dynamic_cast<CBEIOPort*>(output->owner);
}

int CBEIOPort::InputCountOf(int m) {
  if (m == kModeSwitchable) return 2;
  return m == kModeOutput || m == kModeAltOutput || m == kModeAltReleased ? 1 : 0;
}

int CBEIOPort::OutputCountOf(int m) { return InputCountOf(m) == 1 ? 0 : 1; }

bool CBEIOPort::BuildPins() {
  rect.bottom = rect.top + (mode == kModeSwitchable ? kSwitchableHeight : kHeight);
  bool ok = SetInputCount(InputCountOf(mode));
  ok = SetOutputCount(OutputCountOf(mode)) && ok;
  SpreadInputs();
  SpreadOutputs();
  if (inputCount > 0) inputs[0]->description = kPortHint;
  if (inputCount > 1) inputs[1]->description = kDdrHint;
  if (outputCount > 0) outputs[0]->description = kPinHint;
  return ok;
}

bool CBEIOPort::SetMode(int newMode) {
  mode = newMode;
  return BuildPins();
}

void CBEIOPort::OnInputDisconnected(BeInputPin*) {
  const bool samePins =
      InputCountOf(mode) == InputCountOf(kModeOutput) && OutputCountOf(mode) == OutputCountOf(kModeOutput);
  mode = kModeOutput;
  // A switchable pin loses its DDR input and its PIN output, so that its
  // pins and its record agree with its mode again.
  if (!samePins) BuildPins();
}

void CBEIOPort::Start() {
  storedType = kBeSignalBit;
  memset(storedValue, 0, 4);
}

void CBEIOPort::StoreFromPort() {
  const BeOutputPin* source = inputCount > 0 ? inputs[0]->source : nullptr;
  if (!source) return;
  storedType = source->type;
  memcpy(storedValue, source->value, sizeof storedValue);
}

void CBEIOPort::WritePin() {
  if (outputCount < 1) return;
  outputs[0]->type = storedType;
  memcpy(outputs[0]->value, storedValue, sizeof storedValue);
}

void CBEIOPort::Step(float) {
  switch (mode) {
    case kModeOutput:
    case kModeAltOutput:
    case kModeAltReleased:
      StoreFromPort();
      break;
    case kModeSwitchable: {
      const BeOutputPin* ddrSource = inputCount > 1 ? inputs[1]->source : nullptr;
      if (!ddrSource) {
        StoreFromPort();
        break;
      }
      ddr = ddrSource->value[0];
      const BeOutputPin* portSource = inputs[0]->source;
      port = portSource && portSource->type == kBeSignalBit ? portSource->value[0] : 0;
      if (ddr != 0) StoreFromPort();
      else WritePin();
      break;
    }
    case kModeInput:
    case kModePullUp:
    case kModeAltInput:
    case kModeAnalog:
      WritePin();
      break;
    default:
      // The bus line: the microcontroller handles it itself.
      break;
  }
}

void CBEIOPort::Draw(HDC dc) {
  CKestDcSelection selection(dc);
  selection.Select(GetStockObject(BLACK_PEN));
  selection.Select(GetStockObject(WHITE_BRUSH));
  const int left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  const wchar_t* text = GetCaption();
  if (mode == kModeOutput) {
    const int h = Height() / 2;
    POINT points[5] = {{left, top + h}, {left + h, top}, {right - 4, top}, {right - 4, bottom - 1}, {left + h, bottom - 1}};
    Polygon(dc, points, 5);
    RECT bar = {right - 4, top, right, bottom};
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawBlockText(dc, right - 25, top - 15, text);
    return;
  }
  Rectangle(dc, left + 4, top, right, bottom);
  RECT bar = {left, top, left + 4, bottom};
  FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (mode == kModePullUp) {
    MoveToEx(dc, right - 4, top, nullptr);
    LineTo(dc, right - 4, top - 30);
    Ellipse(dc, right - 4 - 2, top - 30 - 2, right - 4 + 3, top - 30 + 3);
    Rectangle(dc, right - 7, top - 22, right - 1, top - 8);
  }
  if (text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    DrawBlockText(dc, right - 10 - size.cx, top - 15, text);
  }
}

void CBEIOPort::Save(CStream* stream) {
  stream->WriteInt16(pinId);
  stream->WriteByte(static_cast<unsigned char>(mode & 0xFF));
  BeSignalType first = inputCount > 0 ? inputs[0]->type : outputCount > 0 ? outputs[0]->type : kBeSignalBit;
  stream->WriteByte(static_cast<unsigned char>(first & 0xFF));
  CBEBlock::Save(stream);
}

bool CBEIOPort::Load(CStream* stream) {
  unsigned char low, high, storedMode, type;
  if (!ReadByteChecked(stream, &low) || !ReadByteChecked(stream, &high) ||
      !ReadByteChecked(stream, &storedMode) || storedMode > kLastMode || !ReadByteChecked(stream, &type) ||
      type > kBeLastConcreteSignalType ||
      !BaseRecordFollows(stream, InputCountOf(storedMode), OutputCountOf(storedMode)))
    return false;
  pinId = static_cast<unsigned short>(low | (high << 8));
  if (!SetMode(storedMode)) return false;
  if (inputCount > 0) inputs[0]->type = type;
  else if (outputCount > 0) outputs[0]->type = type;
  return CBEBlock::Load(stream);
}

bool CBEIOPort::ShowProperties() {
  if (mode >= kModeAltInput && mode <= kModeBus) {
    GetKestHost()->ShowMessage(MB_OK, GetCaption(), kBeAltModeRefusal);
    return false;
  }
  return ShowBlockDialog(this, kBePortPinBlockClassId);
}
