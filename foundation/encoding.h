// Text encodings of files. All text inside the programs is UTF-16.
#pragma once

#include <cstddef>

typedef int TextEncoding;
const TextEncoding kFoundationEncodingDetect = 0;
const TextEncoding kFoundationEncodingAnsi = 1;
const TextEncoding kFoundationEncodingUtf16 = 2;
const TextEncoding kFoundationEncodingUtf8 = 3;

TextEncoding DetectTextEncoding(const unsigned char* bytes, int n);
// bytes must be a heap block from AllocBuffer when owns is set.
wchar_t* DecodeText(unsigned char* bytes, int n, bool owns, TextEncoding encoding);
// text must be a heap block when owns is set.
unsigned char* EncodeText(wchar_t* text, bool owns, TextEncoding encoding, int* outBytes);
wchar_t* DecodeUtf8(const unsigned char* bytes, int n, int* outBytes);
wchar_t* DecodeAnsi(const unsigned char* bytes, int n, int* outBytes);
char* EncodeUtf8(const wchar_t* text, int byteCount, int* outBytes);
char* EncodeAnsi(const wchar_t* text, int byteCount, int* outBytes);
