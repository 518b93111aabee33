// A stream over one Win32 file handle.
#pragma once

#include <windows.h>

#include "foundation/stream.h"

class CFileStream : public CStream {
public:
  CFileStream() {}
  ~CFileStream() override;
  CFileStream(const CFileStream&) = delete;
  CFileStream& operator=(const CFileStream&) = delete;

  int Write(const void* data, int length) override;
  int Read(void* data, int length) override;
  int Seek(int offset, int origin) override;

  HANDLE handle = INVALID_HANDLE_VALUE;
};
