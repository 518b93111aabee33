// The GoogleTest entry point of every test executable. Under Wine a crash
// would start the debugger and wait for an answer that never comes, so a
// fault is printed and ends the process with a failing code instead.
#include <windows.h>

#include <cstdio>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  std::fprintf(stderr, "\nFATAL: exception 0x%08lX at %p\n", static_cast<unsigned long>(r->ExceptionCode),
               r->ExceptionAddress);
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}
}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(ReportCrash);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  ::testing::InitGoogleMock(&argc, argv);
  int result = RUN_ALL_TESTS();
  std::fflush(stdout);
  return result;
}
