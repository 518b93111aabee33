#include "script/editor/script_example.h"

#include <cwchar>

#include "foundation/buffers.h"

ScriptExample::ScriptExample(ScriptExample** list) : next(list ? *list : nullptr) {
  if (list) *list = this;
}

ScriptExample::~ScriptExample() { FreeBuffer(text); }

bool ScriptExample::AppendLine(const wchar_t* line) {
  if (!line) line = L"";
  bool hadLines = text != nullptr;
  size_t old = hadLines ? wcslen(text) : 0;
  size_t add = wcslen(line) + (hadLines ? 2 : 0);
  auto* grown = static_cast<wchar_t*>(ReallocBuffer(text, (old + add + 1) * sizeof(wchar_t)));
  if (!grown) return false;
  if (!hadLines) grown[0] = 0;
  text = grown;
  if (hadLines) wcscat(text, L"\r\n");
  wcscat(text, line);
  return true;
}

void DeleteScriptExamples(ScriptExample** list) {
  while (list && *list) {
    ScriptExample* example = *list;
    *list = example->next;
    delete example;
  }
}
