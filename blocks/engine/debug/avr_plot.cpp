#include "blocks/engine/debug/avr_plot.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/engine/signal_type.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "foundation/stream.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"

namespace {
const int kDefaultDataSize = 4;
const int kTimeBytes = 4;

// The class picture, loaded once for the whole program.
CKestImage& PlotPicture() {
  static CKestImage image;
  return image;
}
}  // namespace

CBEAvrPlot::CBEAvrPlot() {
  fillColor = RGB(204, 204, 204);
  rect = RECT{0, 0, 80, 40};
  if (SetInputCount(2)) {
    inputs[0]->name = L"D";
    inputs[0]->type = kBeSignalAnyScalar;
    inputs[0]->description = L"Записываемые данные";
    inputs[1]->name = L"C";
    inputs[1]->type = kBeSignalBit;
    inputs[1]->description =
        L"Синхроимпульс начала записи. Если не подключен, то запись начинается с момента запуска "
        L"процессора";
  }
  UpdateRamCost();
}

CBEAvrPlot::~CBEAvrPlot() {
  delete buffer;
  FreeBuffer(logFileName);
}

CBEBlock* CBEAvrPlot::Create() { return KeepIfPinsMade(new CBEAvrPlot, 2, 0); }

void CBEAvrPlot::SetLogFileName(const wchar_t* name) { ReplaceString(&logFileName, name); }

int CBEAvrPlot::DataValueSize() const {
  const BeOutputPin* source = inputs[0]->source;
  return source ? GetSignalValueSize(source->type) : kDefaultDataSize;
}

int CBEAvrPlot::RamCostFor(int valueSize) const {
  int64_t s = valueSize;
  int64_t perSample = format == kValuesOnly ? s : s + 1 + (capacity >= 256 ? 1 : 0);
  int64_t cost = perSample * (capacity > 0 ? capacity : 0);
  return cost > INT_MAX ? INT_MAX : static_cast<int>(cost);
}

void CBEAvrPlot::UpdateRamCost() { ram = RamCostFor(DataValueSize()); }

void CBEAvrPlot::OnLinksResolved() { UpdateRamCost(); }

bool CBEAvrPlot::ShowProperties() { return ShowBlockDialog(this, kBeAvrPlotClassId); }

void CBEAvrPlot::Start() {
  UpdateRamCost();
  if (!inputs[0]->source) return;
  time = 0;
  accumulator = static_cast<float>(interval);
  sampleCount = 0;
  sampleType_ = -1;
  delete buffer;
  buffer = new CMemoryStream;
}

void CBEAvrPlot::Step(float dt) {
  const BeOutputPin* data = inputs[0]->source;
  if (!data) return;
  const BeOutputPin* sync = inputs[1]->source;
  if (!sync || sync->value[0] != 0) started = 1;
  if (!started || sampleCount >= capacity || !buffer) return;
  if (accumulator >= interval) {
    accumulator -= interval;
    int s = GetSignalValueSize(data->type);
    bool accepted = IsSignalTypeCompatible(data->type, inputs[0]->type) &&
                    (sampleType_ < 0 || data->type == sampleType_);
    bool unchanged = format == kTimeAndValue && buffer->size >= s && buffer->size > 0 &&
                     memcmp(buffer->data + buffer->size - s, data->value, s) == 0;
    if (accepted && !unchanged) {
      sampleType_ = data->type;
      buffer->Seek(0, 2);
      buffer->Write(&time, kTimeBytes);
      buffer->Write(data->value, s);
      ++sampleCount;
    }
  }
  time += dt;
  accumulator += dt * 1000.0f;
}

void CBEAvrPlot::Stop() {
  const BeOutputPin* data = inputs[0]->source;
  FILE* file = nullptr;
  if (logFileName && data && buffer) file = _wfopen(logFileName, L"wt");
  if (file) {
    // The samples' own type: the source may carry another one by now.
    BeSignalType type = sampleType_ >= 0 ? sampleType_ : data->type;
    int s = GetSignalValueSize(type);
    const unsigned char* p = buffer->data;
    int left = buffer->size;
    while (left >= kTimeBytes + s) {
      float t;
      memcpy(&t, p, kTimeBytes);
      const unsigned char* v = p + kTimeBytes;
      switch (type) {
        case kBeSignalBit:
        case kBeSignalChar:
          fprintf(file, "%0.3f\t%d\n", t, static_cast<int>(static_cast<int8_t>(v[0])));
          break;
        case kBeSignalShort: {
          int16_t x;
          memcpy(&x, v, 2);
          fprintf(file, "%0.3f\t%d\n", t, static_cast<int>(x));
          break;
        }
        case kBeSignalInt: {
          int32_t x;
          memcpy(&x, v, 4);
          fprintf(file, "%0.3f\t%d\n", t, static_cast<int>(x));
          break;
        }
        case kBeSignalFloat: {
          float x;
          memcpy(&x, v, 4);
          fprintf(file, "%0.3f\t%f\n", t, x);
          break;
        }
        case kBeSignalDouble: {
          double x;
          memcpy(&x, v, 8);
          fprintf(file, "%0.3f\t%f\n", t, x);
          break;
        }
        default:
          break;
      }
      p += kTimeBytes + s;
      left -= kTimeBytes + s;
    }
    fclose(file);
  }
  delete buffer;
  buffer = nullptr;
}

void CBEAvrPlot::Save(CStream* stream) {
  CBEBlock::Save(stream);
  // The cost the block will have once read back: a source that the stream
  // leaves out (no identity in it) is written unconnected, and the read
  // block counts with the size of an unconnected input. So a block copied
  // without its source writes the same byte every time.
  const BeOutputPin* source = inputs[0]->source;
  int size = source && source->savedId != 0 ? GetSignalValueSize(source->type) : kDefaultDataSize;
  stream->WriteByte(RamCostFor(size) & 0xFF);
  stream->WriteStringW(logFileName);
  stream->WriteByte(format);
  stream->WriteInt32(capacity);
  stream->WriteInt32(interval);
}

bool CBEAvrPlot::Load(CStream* stream) {
  if (!CBEBlock::Load(stream)) return false;
  unsigned char ramLow, storedFormat;
  wchar_t* name = nullptr;
  int storedCapacity, storedInterval;
  if (!ReadByteChecked(stream, &ramLow)) return false;
  if (!ReadStringWChecked(stream, &name)) return false;
  if (!ReadByteChecked(stream, &storedFormat) || !ReadInt32Checked(stream, &storedCapacity) ||
      !ReadInt32Checked(stream, &storedInterval) || storedFormat > kTimeAndValue ||
      storedCapacity < 0 || storedInterval < 0) {
    FreeBuffer(name);
    return false;
  }
  // The stored byte replaces the low byte of the cost; the whole cost is
  // recomputed once the block's links are resolved.
  ram = (ram & ~0xFF) | ramLow;
  FreeBuffer(logFileName);
  logFileName = name;
  format = storedFormat;
  capacity = storedCapacity;
  interval = storedInterval;
  return true;
}

void CBEAvrPlot::Draw(HDC dc) {
  CKestImage& picture = PlotPicture();
  if (!LoadSchemeIcon(&picture, L"avrplot.bmp")) return;
  picture.Draw(dc, rect.left, rect.top);
}
