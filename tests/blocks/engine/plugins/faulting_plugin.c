/* A plug-in block module whose calls fault, for the tests of the fault
   guard. One kind "Сбой": its creator and InitBlock work; TickBlock writes
   through a null pointer; BlockPropertyDlg divides by zero; SaveBlock writes
   two bytes and then faults. A second kind "Рекурсия" recurses without end
   in TickBlock until the stack runs out. Built with FAULT_IN_INIT, "Init"
   faults before it registers anything. */
#include <stdlib.h>

#include "blocks/engine/plugin/plugin_api.h"

#define EXPORT __attribute__((dllexport))

static const BeHostCallbacks* g_host;
static volatile int g_zero = 0;
static int* volatile g_nowhere = 0;
static int g_live;

static BePluginHandle BE_PLUGIN_CALL CreateFaulty(BePluginHostBlock* host) {
  int* b = (int*)calloc(1, sizeof(int));
  if (!b) return 0;
  ++g_live;
  g_host->SetInputCount(host, 1);
  g_host->SetOutputCount(host, 1);
  return (BePluginHandle)b;
}

static BePluginHandle BE_PLUGIN_CALL CreateRecursive(BePluginHostBlock* host) {
  int* b = (int*)calloc(1, sizeof(int));
  (void)host;
  if (!b) return 0;
  ++g_live;
  *b = 1;
  return (BePluginHandle)b;
}

/* Each level keeps a buffer the compiler cannot drop. */
static int Recurse(int depth) {
  volatile char buffer[512];
  buffer[depth % 512] = (char)depth;
  return Recurse(depth + 1) + buffer[(depth + 1) % 512];
}

EXPORT int32_t InitPlugin(const BeHostCallbacks* host) {
  g_host = host;
  return 1;
}

EXPORT int32_t Init(void) {
#ifdef FAULT_IN_INIT
  g_host->RegisterBlock(CreateFaulty, L"Сбой при загрузке");
  *g_nowhere = 1;
#endif
  g_host->RegisterBlock(CreateFaulty, L"Сбой");
  g_host->RegisterBlock(CreateRecursive, L"Рекурсия");
  return 1;
}

EXPORT void DestroyBlock(BePluginHandle handle) {
  free((int*)handle);
  --g_live;
}

EXPORT int32_t InitBlock(BePluginHandle handle) {
  (void)handle;
  return 1;
}

EXPORT void TickBlock(BePluginHandle handle, float dt) {
  (void)dt;
  if (*(int*)handle == 1) g_live += Recurse(0);
  *g_nowhere = 42;
}

EXPORT int32_t DoneBlock(BePluginHandle handle) {
  (void)handle;
  return 1;
}

EXPORT uint8_t BlockPropertyDlg(BePluginHandle handle) {
  return (uint8_t)(10 / g_zero + (int)(handle & 1));
}

EXPORT void SaveBlock(BePluginHandle handle, BePluginStream* stream) {
  (void)handle;
  g_host->WriteStream(stream, "ok", 2);
  *g_nowhere = 7;
}

EXPORT void LoadBlock(BePluginHandle handle, BePluginStream* stream) {
  (void)handle;
  (void)stream;
}

EXPORT int32_t TestQuery(int32_t what) { return what == 0 ? g_live : -1; }
