// Byte streams. Every binary format of the programs is written to and read
// from a CStream; documents always pass through a CMemoryStream.
#pragma once

class CStream {
public:
  virtual ~CStream() {}
  virtual int Write(const void* data, int length) = 0;
  virtual int Read(void* data, int length) = 0;
  // origin 0 start, 1 current, 2 end; returns the new position.
  virtual int Seek(int offset, int origin) = 0;
  // Both work through Seek; no stream overrides them.
  virtual int GetSize();
  virtual int GetPosition();

  // Raw little-endian fields without tags or padding.
  int WriteInt32(int value);
  int WriteInt16(int value);
  int WriteByte(int value);
  int ReadInt32();
  int ReadInt16();  // the low 16 bits; the caller decides on the sign
  int ReadByte();   // the low 8 bits; the caller decides on the sign
  float ReadFloat();

  // Zero-terminated strings; null is written as the terminator alone and an
  // empty string reads back as null. Returned blocks are freed with FreeBuffer.
  int WriteStringA(const char* text);
  int WriteStringW(const wchar_t* text);
  char* ReadStringA();
  wchar_t* ReadStringAToW();  // 8-bit text in code page 1251
  wchar_t* ReadStringW();

  // Set by the string readers when a string could not be kept for want of
  // memory (they then answer null, as for an empty string); a reader that
  // sees it treats its record as broken. Never cleared by the stream.
  bool outOfMemory = false;
};
