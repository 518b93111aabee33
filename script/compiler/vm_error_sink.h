// Where the script compiler reports an error. The editor's default shows a
// message box; tests and tools give a sink of their own that records the
// message and its source position.
#pragma once

class VmErrorSink {
public:
  virtual ~VmErrorSink() {}
  virtual void ReportError(int position, const wchar_t* message) = 0;
};

// The modal message box "Ошибка" with the error icon and no owner window.
class VmMessageBoxErrorSink : public VmErrorSink {
public:
  void ReportError(int position, const wchar_t* message) override;
  static VmMessageBoxErrorSink* Instance();
};
