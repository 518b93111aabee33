#include "script/compiler/vm_message_box_error_sink.h"

#include <windows.h>

void VmMessageBoxErrorSink::ReportError(int, const wchar_t* message) {
  MessageBoxW(nullptr, message ? message : L"", L"Ошибка", MB_OK | MB_ICONERROR);
}

VmMessageBoxErrorSink* VmMessageBoxErrorSink::Instance() {
  static VmMessageBoxErrorSink sink;
  return &sink;
}
