#include "foundation/stream.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "foundation/buffers.h"

// ---------------------------------------------------------------- CStream

int CStream::GetPosition() { return Seek(0, 1); }

int CStream::GetSize() {
  int here = Seek(0, 1);
  int size = Seek(0, 2);
  Seek(here, 0);
  return size;
}

int CStream::WriteInt32(int value) {
  unsigned char b[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  return Write(b, 4);
}

int CStream::WriteInt16(int value) {
  unsigned char b[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
  return Write(b, 2);
}

int CStream::WriteByte(int value) {
  unsigned char b = static_cast<unsigned char>(value);
  return Write(&b, 1);
}

// Typed reads clear the value first: a short read leaves zeros above the
// bytes it found, a read at the end gives 0.
int CStream::ReadInt32() {
  unsigned char b[4] = {0, 0, 0, 0};
  Read(b, 4);
  return static_cast<int>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<unsigned>(b[3]) << 24));
}

int CStream::ReadInt16() {
  unsigned char b[2] = {0, 0};
  Read(b, 2);
  return b[0] | (b[1] << 8);
}

int CStream::ReadByte() {
  unsigned char b = 0;
  Read(&b, 1);
  return b;
}

float CStream::ReadFloat() {
  unsigned char b[4] = {0, 0, 0, 0};
  Read(b, 4);
  float f;
  memcpy(&f, b, 4);
  return f;
}

int CStream::WriteStringA(const char* text) {
  if (!text) text = "";
  return Write(text, static_cast<int>(strlen(text)) + 1);
}

int CStream::WriteStringW(const wchar_t* text) {
  if (!text) text = L"";
  return Write(text, 2 * static_cast<int>(wcslen(text)) + 2);
}

// Scans to the terminator (or the end) and reads the string in one piece.
// The empty string and a lone last byte give null; a string cut off by the
// end of the stream loses its last character to the terminator.
char* CStream::ReadStringA() {
  int start = GetPosition();
  int end = GetSize();
  int counter = start;
  unsigned char b;
  do {
    b = 0;
    Read(&b, 1);
    counter += 1;
  } while (b != 0 && counter < end);
  if (counter <= start + 1) return nullptr;
  int n = counter - start;
  Seek(start, 0);
  char* block = static_cast<char*>(AllocBuffer(n));
  if (!block) {
    Seek(counter < end ? counter : end, 0);
    outOfMemory = true;
    return nullptr;
  }
  memset(block, 0, n);
  Read(block, n);
  block[n - 1] = 0;
  return block;
}

wchar_t* CStream::ReadStringW() {
  int start = GetPosition();
  int size = GetSize();
  int counter = start;
  wchar_t unit;
  do {
    unit = 0;
    Read(&unit, 2);
    counter += 2;
  } while (unit != 0 && counter < size - 1);
  if (counter <= start + 2) return nullptr;
  int n = (counter - start) / 2;
  Seek(start, 0);
  wchar_t* block = static_cast<wchar_t*>(AllocBuffer(2 * n));
  if (!block) {
    Seek(counter < size ? counter : size, 0);
    outOfMemory = true;
    return nullptr;
  }
  memset(block, 0, 2 * n);
  Read(block, 2 * n);
  block[n - 1] = 0;
  return block;
}

wchar_t* CStream::ReadStringAToW() {
  char* narrow = ReadStringA();
  if (!narrow) return nullptr;
  int n = static_cast<int>(strlen(narrow)) + 1;
  wchar_t* wide = static_cast<wchar_t*>(AllocBuffer(2 * n));
  if (wide) {
    int got = n > 1 ? MultiByteToWideChar(1251, 0, narrow, n - 1, wide, n - 1) : 0;
    wide[got] = 0;
  } else {
    outOfMemory = true;
  }
  FreeBuffer(narrow);
  return wide;
}

// ---------------------------------------------------------- CMemoryStream

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

// ------------------------------------------------------------ CFileStream

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
