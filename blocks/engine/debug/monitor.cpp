#include "blocks/engine/debug/monitor.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"

namespace {
CBEMonitor* g_firstMonitor = nullptr;
CBEMonitor* g_lastMonitor = nullptr;
const int kBarWidth = 5;
}  // namespace

CBEMonitor::CBEMonitor() {
  int before = Count();
  previousMonitor = g_lastMonitor;
  if (g_lastMonitor) {
    g_lastMonitor->nextMonitor = this;
  } else {
    g_firstMonitor = this;
  }
  g_lastMonitor = this;
  wchar_t text[32];
  swprintf(text, 32, L"out%d", before + 1);
  SetCaption(text);
  rect = RECT{0, 0, 100, 22};
  fillColor = RGB(102, 102, 102);
  if (SetInputCount(1)) inputs[0]->type = kBeSignalAnyScalar;
}

CBEMonitor::~CBEMonitor() {
  if (logFile) fclose(logFile);
  logFile = nullptr;
  if (previousMonitor) {
    previousMonitor->nextMonitor = nextMonitor;
  } else if (g_firstMonitor == this) {
    g_firstMonitor = nextMonitor;
  }
  if (nextMonitor) {
    nextMonitor->previousMonitor = previousMonitor;
  } else if (g_lastMonitor == this) {
    g_lastMonitor = previousMonitor;
  }
  FreeBuffer(logFileName);
}

CBEBlock* CBEMonitor::Create() { return KeepIfPinsMade(new CBEMonitor, 1, 0); }
CBEMonitor* CBEMonitor::First() { return g_firstMonitor; }

int CBEMonitor::Count() {
  int n = 0;
  for (CBEMonitor* m = g_firstMonitor; m; m = m->nextMonitor) ++n;
  return n;
}

void CBEMonitor::SetLogFileName(const wchar_t* name) { ReplaceString(&logFileName, name); }

bool CBEMonitor::ShowProperties() { return ShowBlockDialog(this, kBeMonitorClassId); }

void CBEMonitor::Start() {
  if (logFile) fclose(logFile);
  logFile = logFileName ? _wfopen(logFileName, L"wt") : nullptr;
  lastWord = 0;
  time = 0;
}

void CBEMonitor::Step(float dt) {
  const BeOutputPin* source = inputs[0]->source;
  if (source && logFile) {
    unsigned int word;
    memcpy(&word, source->value, 4);
    if (time == 0 || word != lastWord) {
      lastWord = word;
      const unsigned char* v = source->value;
      float f;
      double d;
      switch (source->type) {
        case kBeSignalPwm:
          memcpy(&f, v + 4, 4);
          fprintf(logFile, "%0.3f\t%0.8f\n", time, f);
          break;
        case kBeSignalBit:
          fprintf(logFile, "%0.3f\t%d\n", time, v[0] & 1);
          break;
        case kBeSignalChar:
          fprintf(logFile, "%0.3f\t%d\n", time, static_cast<int>(static_cast<int8_t>(v[0])));
          break;
        case kBeSignalShort: {
          int16_t s;
          memcpy(&s, v, 2);
          fprintf(logFile, "%0.3f\t%d\n", time, static_cast<int>(s));
          break;
        }
        case kBeSignalInt: {
          int32_t i;
          memcpy(&i, v, 4);
          fprintf(logFile, "%0.3f\t%d\n", time, static_cast<int>(i));
          break;
        }
        case kBeSignalFloat:
        case kBeSignalAnalog:
          memcpy(&f, v, 4);
          fprintf(logFile, "%0.3f\t%0.8f\n", time, f);
          break;
        case kBeSignalDouble:
          memcpy(&d, v, 8);
          fprintf(logFile, "%0.3f\t%0.12f\n", time, d);
          break;
        default:
          break;
      }
    }
  }
  time += dt;
}

void CBEMonitor::Stop() {
  if (logFile) fclose(logFile);
  logFile = nullptr;
}

void CBEMonitor::Save(CStream* stream) {
  CBEBlock::Save(stream);
  stream->WriteStringW(logFileName);
}

bool CBEMonitor::Load(CStream* stream) {
  if (!CBEBlock::Load(stream)) return false;
  wchar_t* name = nullptr;
  if (!ReadStringWChecked(stream, &name)) return false;
  FreeBuffer(logFileName);
  logFileName = name;
  return true;
}

void CBEMonitor::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, caption);
  RECT bar = {rect.right - kBarWidth, rect.top, rect.right, rect.bottom};
  FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}
