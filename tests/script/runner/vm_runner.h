// Compiles a script and runs it to the end in slices, as a script block
// would, collecting what it logs. Used by the script tests and the
// command-line runner vm_run; not part of the programs.
#pragma once

#include <string>
#include <vector>

struct VmRunResult {
  bool compiled = false;
  std::wstring error;      // the compiler's first message
  int errorPosition = -1;  // its source position
  int errorLine = 0;
  std::vector<std::wstring> lines;  // the log, oldest first
  long long instructions = 0;
  int slices = 0;
  bool finished = false;  // the program reached its end within maxSlices
  double compileSeconds = 0;
  double runSeconds = 0;
  double runCpuSeconds = 0;  // processor time of the run (others may share the machine)
};

// Runs source on a fresh machine with its built-ins registered; what the
// script prints is collected from the machine's own log.
VmRunResult RunVmScript(const std::wstring& source, int maxSlices = 1000000);

// A script file's text: UTF-8 (with or without a byte order mark) or the
// ANSI code page, detected like the script editor does.
bool ReadVmScriptFile(const std::wstring& path, std::wstring* text);
