#include "foundation/memory_stream.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "foundation/buffers.h"

CMemoryStream::CMemoryStream() {}

CMemoryStream::~CMemoryStream() { FreeBuffer(data); }

namespace {
long long RoundUp(long long n, int g) { return (n + g - 1) / g * g; }
}  // namespace

// The capacity stays a whole number of granules. It doubles when it must
// grow, so that appending is linear (each byte is copied about once more),
// falls back to the exact need when the doubled block cannot be had, and
// shrinks back when the size drops below half of it; size 0 frees the buffer.
bool CMemoryStream::SetSize(int n) {
  if (n < 0) n = 0;
  long long needed = RoundUp(n, granularity);
  if (needed > INT_MAX) needed = INT_MAX;  // the capacity is an int too
  long long wanted = needed;
  if (needed > capacity_) {
    long long grown = RoundUp(2LL * capacity_, granularity);
    if (grown > wanted && size > 0) wanted = grown;
  } else if (needed * 2 > capacity_ && needed != 0) {
    wanted = capacity_;  // small shrink: keep the block
  }
  if (wanted > INT_MAX) wanted = needed;
  if (wanted != capacity_) {
    void* block = ReallocBuffer(data, static_cast<size_t>(wanted));
    if (!block && wanted != 0 && wanted < capacity_) {
      block = data;  // a shrink that fails keeps the larger block
      wanted = capacity_;
    } else if (!block && wanted != 0) {
      if (wanted == needed) return false;
      block = ReallocBuffer(data, static_cast<size_t>(needed));
      if (!block) return false;
      wanted = needed;
    }
    data = static_cast<unsigned char*>(block);
    capacity_ = static_cast<int>(wanted);
  }
  size = n;
  if (position > n) position = n;
  return true;
}

int CMemoryStream::Write(const void* src, int length) {
  if (length <= 0) return 0;
  if (static_cast<long long>(position) + length > INT_MAX) return 0;
  // The bytes may come from this stream's own buffer, which growing can move.
  const unsigned char* from = static_cast<const unsigned char*>(src);
  const bool own = data && from >= data && from < data + size;
  const int offset = own ? static_cast<int>(from - data) : 0;
  if (position + length > size && !SetSize(position + length)) return 0;
  if (own) from = data + offset;
  memmove(data + position, from, length);
  position += length;
  return length;
}

int CMemoryStream::Read(void* dst, int length) {
  if (length <= 0) return 0;
  if (static_cast<long long>(position) + length > size) length = size - position;
  if (length > 0) memcpy(dst, data + position, length);
  position += length;
  return length;
}

int CMemoryStream::Seek(int offset, int origin) {
  long long p = position;
  if (origin == 0) p = offset;
  else if (origin == 1) p = static_cast<long long>(position) + offset;
  else if (origin == 2) p = static_cast<long long>(size) + offset;
  if (p > size) p = size;
  if (p < 0) p = 0;
  position = static_cast<int>(p);
  return position;
}

bool CMemoryStream::SaveToFile(const wchar_t* path) {
  FILE* f = path ? _wfopen(path, L"wb") : nullptr;
  if (!f) return false;
  size_t written = size > 0 ? fwrite(data, 1, size, f) : 0;
  bool closed = fclose(f) == 0;
  return closed && written == static_cast<size_t>(size);
}

bool CMemoryStream::LoadFromFile(const wchar_t* path) {
  position = 0;
  FILE* f = path ? _wfopen(path, L"rb") : nullptr;
  if (!f) return false;
  bool ok = false;
  if (_fseeki64(f, 0, SEEK_END) == 0) {
    long long length = _ftelli64(f);
    // Positions are 32-bit: a file past 2 GB cannot be held.
    if (length == 0) {
      ok = SetSize(0);
    } else if (length > 0 && length <= INT_MAX && _fseeki64(f, 0, SEEK_SET) == 0) {
      if (SetSize(static_cast<int>(length))) {
        ok = fread(data, 1, static_cast<size_t>(length), f) == static_cast<size_t>(length);
      }
    }
  }
  fclose(f);
  position = 0;
  return ok;
}
