// Where the script compiler reports an error. The editor's default shows a
// message box; tests and tools give a sink of their own that records the
// message and its source position.
#pragma once

class VmErrorSink {
public:
  virtual ~VmErrorSink() {}
  virtual void ReportError(int position, const wchar_t* message) = 0;
};
