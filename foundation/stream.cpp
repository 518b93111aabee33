#include "foundation/stream.h"

#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "foundation/buffers.h"

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
