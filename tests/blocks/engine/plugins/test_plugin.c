/* A plug-in block module for the tests, built from the contract alone. Kinds:
   "Сумматор"   two int inputs, one int output = in0 + in1 + offset; its data
                is the offset (4 bytes) and a label (UTF-16, zero-terminated);
                the property "dialog" adds 1 to the offset and reports a change.
   "Генератор"  no inputs, one double output = level; data: level (8 bytes).
   "Пустой"     saves nothing; on load it counts the bytes it could read.
   The export TestQuery answers the module's counters. */
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "blocks/engine/plugin/plugin_api.h"

#define EXPORT __attribute__((dllexport))

enum { kAdder = 1, kGenerator = 2, kEmpty = 3 };

typedef struct Block {
  int kind;
  BePluginHostBlock* host;
  int32_t offset;
  wchar_t label[32];
  double level;
  int ticks;
  int loadedBytes;
} Block;

static const BeHostCallbacks* g_host;
static int g_live, g_made, g_inits, g_dones, g_ticks, g_saves, g_loads, g_registered;
static float g_lastDt;

static Block* NewBlock(BePluginHostBlock* host, int kind) {
  Block* b = (Block*)calloc(1, sizeof(Block));
  if (!b) return NULL;
  b->kind = kind;
  b->host = host;
  ++g_live;
  ++g_made;
  return b;
}

static BePluginHandle BE_PLUGIN_CALL CreateAdder(BePluginHostBlock* host) {
  Block* b = NewBlock(host, kAdder);
  if (!b) return 0;
  wcscpy(b->label, L"сумма");
  g_host->SetBlockCaption(host, L"Сумматор DLL");
  g_host->SetBlockSize(host, 120, 60);
  g_host->SetInputCount(host, 2);
  g_host->SetInputName(host, 0, L"a");
  g_host->SetInputName(host, 1, L"b");
  g_host->SetInputHint(host, 0, L"первое слагаемое");
  g_host->SetInputType(host, 0, 4);
  g_host->SetInputType(host, 1, 4);
  g_host->SetOutputCount(host, 1);
  g_host->SetOutputName(host, 0, L"a+b");
  g_host->SetOutputHint(host, 0, L"сумма");
  g_host->SetOutputType(host, 0, 4);
  return (BePluginHandle)b;
}

static BePluginHandle BE_PLUGIN_CALL CreateGenerator(BePluginHostBlock* host) {
  Block* b = NewBlock(host, kGenerator);
  if (!b) return 0;
  b->level = 2.5;
  g_host->SetOutputCount(host, 1);
  g_host->SetOutputName(host, 0, L"y");
  g_host->SetOutputType(host, 0, 6);
  return (BePluginHandle)b;
}

static BePluginHandle BE_PLUGIN_CALL CreateEmpty(BePluginHostBlock* host) {
  Block* b = NewBlock(host, kEmpty);
  return (BePluginHandle)b;
}

EXPORT int32_t InitPlugin(const BeHostCallbacks* host) {
  g_host = host;
  return 1;
}

EXPORT int32_t Init(void) {
  g_registered = g_host->RegisterBlock(CreateAdder, L"Сумматор");
  g_registered = g_host->RegisterBlock(CreateGenerator, L"Генератор");
  g_registered = g_host->RegisterBlock(CreateEmpty, L"Пустой");
  return 1;
}

EXPORT void DestroyBlock(BePluginHandle handle) {
  free((Block*)handle);
  --g_live;
}

EXPORT int32_t InitBlock(BePluginHandle handle) {
  (void)handle;
  ++g_inits;
  return 1;
}

EXPORT void TickBlock(BePluginHandle handle, float dt) {
  Block* b = (Block*)handle;
  ++g_ticks;
  ++b->ticks;
  g_lastDt = dt;
  if (b->kind == kAdder) {
    int32_t sum = g_host->GetInputInt(b->host, 0) + g_host->GetInputInt(b->host, 1) + b->offset;
    g_host->SetOutputInt(b->host, 0, sum);
  } else if (b->kind == kGenerator) {
    g_host->SetOutputDouble(b->host, 0, b->level);
  }
}

EXPORT int32_t DoneBlock(BePluginHandle handle) {
  (void)handle;
  ++g_dones;
  return 1;
}

EXPORT uint8_t BlockPropertyDlg(BePluginHandle handle) {
  Block* b = (Block*)handle;
  if (b->kind != kAdder) return 0;
  ++b->offset;
  return 1;
}

EXPORT void SaveBlock(BePluginHandle handle, BePluginStream* stream) {
  Block* b = (Block*)handle;
  ++g_saves;
  if (b->kind == kAdder) {
    g_host->WriteStream(stream, &b->offset, 4);
    g_host->WriteStream(stream, b->label, (int32_t)((wcslen(b->label) + 1) * sizeof(wchar_t)));
  } else if (b->kind == kGenerator) {
    g_host->WriteStream(stream, &b->level, 8);
  }
}

EXPORT void LoadBlock(BePluginHandle handle, BePluginStream* stream) {
  Block* b = (Block*)handle;
  ++g_loads;
  if (b->kind == kAdder) {
    int i = 0;
    g_host->ReadStream(stream, &b->offset, 4);
    for (i = 0; i < 31; ++i) {
      if (g_host->ReadStream(stream, &b->label[i], 2) != 2 || b->label[i] == 0) break;
    }
    b->label[i] = 0;
  } else if (b->kind == kGenerator) {
    g_host->ReadStream(stream, &b->level, 8);
  } else {
    char scratch[64];
    b->loadedBytes = g_host->ReadStream(stream, scratch, sizeof scratch);
  }
}

/* Counters for the tests: 0 live blocks, 1 blocks made, 2 InitBlock calls,
   3 DoneBlock calls, 4 TickBlock calls, 5 SaveBlock calls, 6 LoadBlock calls,
   7 the kind count RegisterBlock answered last, 8 the last dt in
   thousandths. */
EXPORT int32_t TestQuery(int32_t what) {
  switch (what) {
    case 0: return g_live;
    case 1: return g_made;
    case 2: return g_inits;
    case 3: return g_dones;
    case 4: return g_ticks;
    case 5: return g_saves;
    case 6: return g_loads;
    case 7: return g_registered;
    case 8: return (int32_t)(g_lastDt * 1000.0f + 0.5f);
    default: return -1;
  }
}

/* A block's own values: what 0 offset, 1 ticks, 2 bytes read by "Пустой",
   3 level in thousandths, 4 the label's first character. */
EXPORT int32_t TestBlockValue(BePluginHandle handle, int32_t what) {
  Block* b = (Block*)handle;
  if (!b) return -1;
  switch (what) {
    case 0: return b->offset;
    case 1: return b->ticks;
    case 2: return b->loadedBytes;
    case 3: return (int32_t)(b->level * 1000.0);
    case 4: return b->label[0];
    default: return -1;
  }
}

/* Sets the adder's offset and label (the test's stand-in for its dialog). */
EXPORT void TestSetAdder(BePluginHandle handle, int32_t offset, const wchar_t* label) {
  Block* b = (Block*)handle;
  b->offset = offset;
  wcsncpy(b->label, label, 31);
  b->label[31] = 0;
}
