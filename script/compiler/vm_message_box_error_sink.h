// The editor's default sink for compiler errors.
#pragma once

#include "script/compiler/vm_error_sink.h"

// The modal message box "Ошибка" with the error icon and no owner window.
class VmMessageBoxErrorSink : public VmErrorSink {
public:
  void ReportError(int position, const wchar_t* message) override;
  static VmMessageBoxErrorSink* Instance();
};
