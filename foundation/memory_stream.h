// A stream held in memory: a growable buffer with a position. Documents
// always pass through one.
#pragma once

#include "foundation/stream.h"

class CMemoryStream : public CStream {
public:
  CMemoryStream();
  ~CMemoryStream() override;
  CMemoryStream(const CMemoryStream&) = delete;
  CMemoryStream& operator=(const CMemoryStream&) = delete;

  int Write(const void* data, int length) override;
  int Read(void* data, int length) override;
  int Seek(int offset, int origin) override;
  // Answers false (and changes nothing) when the buffer cannot grow.
  bool SetSize(int n);
  bool SaveToFile(const wchar_t* path);
  bool LoadFromFile(const wchar_t* path);

  // The content is the bytes [0, size) of data.
  unsigned char* data = nullptr;
  int position = 0;
  int size = 0;
  int granularity = 1024;

private:
  int capacity_ = 0;  // bytes allocated; at least size rounded up to granularity
};
