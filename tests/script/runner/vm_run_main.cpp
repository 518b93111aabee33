// vm_run [--time] file.js: compiles the script, runs it to the end in
// slices of 4000 instructions and prints every log line (UTF-8). A
// compilation error prints "Ошибка: <message> (строка <n>)" and ends with
// code 2; with --time the compile and run times (and the run's processor
// time) go to the error output.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "foundation/buffers.h"
#include "foundation/encoding.h"
#include "runner/vm_runner.h"

namespace {

void PrintLine(const std::wstring& line) {
  int bytes = 0;
  char* utf8 = EncodeUtf8(line.c_str(), static_cast<int>(line.size() * 2), &bytes);
  if (utf8) fwrite(utf8, 1, bytes, stdout);
  fputc('\n', stdout);
  FreeBuffer(utf8);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  bool timing = false;
  const wchar_t* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (wcscmp(argv[i], L"--time") == 0) timing = true;
    else path = argv[i];
  }
  if (!path) {
    fprintf(stderr, "usage: vm_run [--time] file.js\n");
    return 1;
  }
  std::wstring source;
  if (!ReadVmScriptFile(path, &source)) {
    fprintf(stderr, "vm_run: cannot read %ls\n", path);
    return 1;
  }
  VmRunResult r = RunVmScript(source);
  if (!r.compiled) {
    PrintLine(L"Ошибка: " + r.error + L" (строка " + std::to_wstring(r.errorLine) + L")");
    return 2;
  }
  for (const std::wstring& line : r.lines) PrintLine(line);
  if (timing)
    fprintf(stderr, "compile %.3f ms run %.3f ms cpu %.3f ms instructions %lld slices %d\n",
            r.compileSeconds * 1000, r.runSeconds * 1000, r.runCpuSeconds * 1000, r.instructions, r.slices);
  fflush(stdout);
  return 0;
}
