#include "foundation/file_stream.h"

CFileStream::~CFileStream() {
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

int CFileStream::Write(const void* src, int length) {
  DWORD done = 0;
  if (length < 0 || !WriteFile(handle, src, static_cast<DWORD>(length), &done, nullptr)) return -1;
  return static_cast<int>(done);
}

int CFileStream::Read(void* dst, int length) {
  DWORD done = 0;
  if (length < 0 || !ReadFile(handle, dst, static_cast<DWORD>(length), &done, nullptr)) return -1;
  return static_cast<int>(done);
}

int CFileStream::Seek(int offset, int origin) {
  return static_cast<int>(SetFilePointer(handle, offset, nullptr, static_cast<DWORD>(origin)));
}
