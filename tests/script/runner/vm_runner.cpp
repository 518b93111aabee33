#include "runner/vm_runner.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/encoding.h"
#include "scheme/simulation/sim_log.h"
#include "script/compiler/vm_compiler.h"
#include "script/compiler/vm_error_sink.h"
#include "script/machine/vm_engine.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// The processor time this thread has used, user and kernel, in 100 ns
// ticks. Differences are taken in ticks: two readings converted to seconds
// on the 32-bit build's x87 unit could differ in their last bits and give
// a run of no ticks a time below zero.
unsigned long long ThreadTicks() {
  FILETIME created, ended, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)) return 0;
  ULARGE_INTEGER k, u;
  k.LowPart = kernel.dwLowDateTime;
  k.HighPart = kernel.dwHighDateTime;
  u.LowPart = user.dwLowDateTime;
  u.HighPart = user.dwHighDateTime;
  return k.QuadPart + u.QuadPart;
}

class RecordingSink : public VmErrorSink {
public:
  void ReportError(int position, const wchar_t* message) override {
    this->position = position;
    this->message = message;
  }
  int position = -1;
  std::wstring message;
};

// Whether the bytes are well-formed UTF-8 (plain ASCII is).
bool IsValidUtf8(const unsigned char* b, int n) {
  for (int i = 0; i < n;) {
    int extra = b[i] < 0x80 ? 0 : (b[i] & 0xE0) == 0xC0 ? 1 : (b[i] & 0xF0) == 0xE0 ? 2 : (b[i] & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= n + (extra ? 0 : 1)) return false;
    for (int k = 1; k <= extra; ++k)
      if (i + k >= n || (b[i + k] & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace

VmRunResult RunVmScript(const std::wstring& source, int maxSlices) {
  VmRunResult result;
  RecordingSink sink;
  VmCompiler compiler;
  compiler.SetErrorSink(&sink);
  double t0 = Now();
  result.compiled = compiler.Compile(source.c_str(), static_cast<int>(source.size()));
  result.compileSeconds = Now() - t0;
  if (!result.compiled) {
    result.error = sink.message;
    result.errorPosition = sink.position;
    result.errorLine = compiler.GetLineAt(sink.position);
    return result;
  }
  SimMessageLog log;
  VmEngine vm;
  vm.SetLog(&log);
  vm.SetCode(compiler.GetCode(), compiler.GetCodeSize());
  vm.RegisterBuiltins();
  t0 = Now();
  const unsigned long long cpu0 = ThreadTicks();
  while (vm.ProgramCounter() >= 0 && result.slices < maxSlices) {
    result.instructions += vm.Run();
    ++result.slices;
  }
  result.runSeconds = Now() - t0;
  const unsigned long long cpu1 = ThreadTicks();
  result.runCpuSeconds = cpu1 >= cpu0 ? static_cast<double>(cpu1 - cpu0) * 1e-7 : 0;
  result.finished = vm.ProgramCounter() < 0;
  for (int i = 0; i < log.GetCount(); ++i) result.lines.push_back(log.GetItem(i) ? log.GetItem(i) : L"");
  return result;
}

bool ReadVmScriptFile(const std::wstring& path, std::wstring* text) {
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return false;
  std::string bytes;
  char chunk[65536];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
  fclose(f);
  const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
  int size = static_cast<int>(bytes.size());
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
    data += 3;
    size -= 3;
  }
  TextEncoding encoding = IsValidUtf8(data, size) ? kFoundationEncodingUtf8 : kFoundationEncodingAnsi;
  int produced = 0;
  wchar_t* wide = encoding == kFoundationEncodingUtf8 ? DecodeUtf8(data, size, &produced) : DecodeAnsi(data, size, &produced);
  if (!wide && size > 0) return false;
  text->assign(wide ? wide : L"", wide ? wcslen(wide) : 0);
  FreeBuffer(wide);
  return true;
}
