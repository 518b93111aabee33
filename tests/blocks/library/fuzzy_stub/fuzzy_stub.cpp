// A stand-in "fuzzydll.dll" built from the module's contract
// (blocks/library/navigation/fuzzy_api.h) for the fuzzy block's tests.
//
// A model has up to 8 inputs named "вх<i>" (code page 1251) and up to 8
// outputs named "y<j>"; output j is (j + 1) times the sum of the inputs. Its
// saved form is "FZ", the input count and the output count (one byte each).
// The editor changes the model to the counts a test asked for
// (StubSetNextEdit); opened with flag 0 it stays open until the test closes
// it (StubCloseEditor), with flag 1 it closes before it returns. The exports
// named Stub* let the tests steer and watch it. Built without "FuzzyLoad"
// (FUZZY_STUB_WITHOUT_LOAD) it is a module that lacks an entry point.
#include <cstdio>
#include <cstring>

#include "blocks/library/navigation/fuzzy_api.h"

#define STUB_EXPORT extern "C" __declspec(dllexport)

namespace {
const int kMaxModels = 16384;
const int kMaxPins = 8;

struct Model {
  bool live;
  int inCount;
  int outCount;
  float in[kMaxPins];
  double out[kMaxPins];
};

Model g_models[kMaxModels];
char g_name[32];
int g_nextIn = -1, g_nextOut = -1;
bool g_editorOpen = false;
int g_editorOpens = 0;
char g_lastTitle[128];
int g_lastFlag = -1;
int g_executes = 0;
void (*g_executeHook)(void*) = nullptr;
void* g_executeHookData = nullptr;

Model* Find(BeFuzzyHandle h) {
  if (h == 0 || h > static_cast<BeFuzzyHandle>(kMaxModels) || !g_models[h - 1].live) return nullptr;
  return &g_models[h - 1];
}

int Clamp(int n) { return n < 0 ? 0 : n > kMaxPins ? kMaxPins : n; }
}  // namespace

STUB_EXPORT BeFuzzyHandle __cdecl CreateFuzzy(void) {
  for (int i = 0; i < kMaxModels; ++i) {
    if (!g_models[i].live) {
      memset(&g_models[i], 0, sizeof g_models[i]);
      g_models[i].live = true;
      return static_cast<BeFuzzyHandle>(i + 1);
    }
  }
  return 0;
}

STUB_EXPORT void __cdecl DestroyFuzzy(BeFuzzyHandle h) {
  if (Model* m = Find(h)) m->live = false;
}

STUB_EXPORT void __cdecl FuzzyExecute(BeFuzzyHandle h) {
  Model* m = Find(h);
  if (!m) return;
  ++g_executes;
  if (g_executeHook) g_executeHook(g_executeHookData);
  double sum = 0;
  for (int i = 0; i < m->inCount; ++i) sum += m->in[i];
  for (int j = 0; j < m->outCount; ++j) m->out[j] = (j + 1) * sum;
}

STUB_EXPORT int __cdecl FuzzyGetInputCount(BeFuzzyHandle h) {
  Model* m = Find(h);
  return m ? m->inCount : 0;
}

STUB_EXPORT int __cdecl FuzzyGetOutputCount(BeFuzzyHandle h) {
  Model* m = Find(h);
  return m ? m->outCount : 0;
}

STUB_EXPORT const char* __cdecl GetFuzzyInputName(BeFuzzyHandle h, int i) {
  Model* m = Find(h);
  if (!m || i < 0 || i >= m->inCount) return nullptr;
  snprintf(g_name, sizeof g_name, "\xE2\xF5%d", i);
  return g_name;
}

STUB_EXPORT const char* __cdecl GetFuzzyOutputName(BeFuzzyHandle h, int j) {
  Model* m = Find(h);
  if (!m || j < 0 || j >= m->outCount) return nullptr;
  snprintf(g_name, sizeof g_name, "y%d", j);
  return g_name;
}

STUB_EXPORT void __cdecl FuzzySetInput(BeFuzzyHandle h, int i, float value) {
  Model* m = Find(h);
  if (m && i >= 0 && i < m->inCount) m->in[i] = value;
}

STUB_EXPORT double __cdecl FuzzyGetOutput(BeFuzzyHandle h, int j) {
  Model* m = Find(h);
  return m && j >= 0 && j < m->outCount ? m->out[j] : 0.0;
}

STUB_EXPORT void __cdecl FuzzyOpenEditor(BeFuzzyHandle h, const char* title, int flag) {
  Model* m = Find(h);
  if (!m) return;
  ++g_editorOpens;
  snprintf(g_lastTitle, sizeof g_lastTitle, "%s", title ? title : "");
  g_lastFlag = flag;
  if (g_nextIn >= 0) {
    m->inCount = Clamp(g_nextIn);
    m->outCount = Clamp(g_nextOut);
    g_nextIn = g_nextOut = -1;
  }
  g_editorOpen = flag == 0;
}

STUB_EXPORT unsigned char __cdecl FuzzyIsEditor(BeFuzzyHandle h) { return Find(h) && g_editorOpen ? 1 : 0; }

STUB_EXPORT int __cdecl FuzzySave(BeFuzzyHandle h, void* buffer) {
  Model* m = Find(h);
  if (!m) return 0;
  if (buffer) {
    unsigned char* b = static_cast<unsigned char*>(buffer);
    b[0] = 'F';
    b[1] = 'Z';
    b[2] = static_cast<unsigned char>(m->inCount);
    b[3] = static_cast<unsigned char>(m->outCount);
  }
  return 4;
}

#ifndef FUZZY_STUB_WITHOUT_LOAD
STUB_EXPORT void __cdecl FuzzyLoad(BeFuzzyHandle h, const void* buffer, int size) {
  Model* m = Find(h);
  const unsigned char* b = static_cast<const unsigned char*>(buffer);
  if (!m || !b || size != 4 || b[0] != 'F' || b[1] != 'Z') return;
  m->inCount = Clamp(b[2]);
  m->outCount = Clamp(b[3]);
}
#endif

// ---------------------------------------------------------------- steering

// The counts the next editor opened gives the model.
STUB_EXPORT void __cdecl StubSetNextEdit(int inCount, int outCount) {
  g_nextIn = inCount;
  g_nextOut = outCount;
}
STUB_EXPORT void __cdecl StubCloseEditor(void) { g_editorOpen = false; }
STUB_EXPORT int __cdecl StubEditorOpens(void) { return g_editorOpens; }
STUB_EXPORT const char* __cdecl StubLastTitle(void) { return g_lastTitle; }
STUB_EXPORT int __cdecl StubLastFlag(void) { return g_lastFlag; }
STUB_EXPORT int __cdecl StubExecutes(void) { return g_executes; }
STUB_EXPORT int __cdecl StubLiveModels(void) {
  int n = 0;
  for (const Model& m : g_models) n += m.live ? 1 : 0;
  return n;
}
// Called inside every FuzzyExecute (null: none).
STUB_EXPORT void __cdecl StubSetExecuteHook(void (*hook)(void*), void* data) {
  g_executeHook = hook;
  g_executeHookData = data;
}
// Back to the state of a fresh load (the models stay).
STUB_EXPORT void __cdecl StubReset(void) {
  g_nextIn = g_nextOut = -1;
  g_editorOpen = false;
  g_editorOpens = 0;
  g_lastTitle[0] = 0;
  g_lastFlag = -1;
  g_executes = 0;
  g_executeHook = nullptr;
  g_executeHookData = nullptr;
}
