#include "foundation/encoding.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "foundation/buffers.h"

TextEncoding DetectTextEncoding(const unsigned char* bytes, int n) {
  if (!bytes || n <= 0) return kFoundationEncodingAnsi;
  if (n > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return kFoundationEncodingUtf8;
  for (int i = 0; i + 1 < n && i + 1 < 1000; i += 2)
    if (bytes[i] != 0 && bytes[i + 1] == 0) return kFoundationEncodingUtf16;
  return kFoundationEncodingAnsi;
}

wchar_t* DecodeText(unsigned char* bytes, int n, bool owns, TextEncoding encoding) {
  if (!bytes) return nullptr;
  if (n < 0) n = 0;
  if (encoding == kFoundationEncodingDetect) encoding = DetectTextEncoding(bytes, n);
  if (encoding == kFoundationEncodingAnsi || encoding == kFoundationEncodingUtf8) {
    wchar_t* text = encoding == kFoundationEncodingAnsi ? DecodeAnsi(bytes, n, nullptr) : DecodeUtf8(bytes, n, nullptr);
    if (owns) FreeBuffer(bytes);
    return text;
  }
  // UTF-16LE: an odd last byte is dropped so the terminator stays aligned.
  n &= ~1;
  bool marked = n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
  if (owns) {
    if (marked) {
      memmove(bytes, bytes + 2, n - 2);
      n -= 2;
    }
    unsigned char* block = static_cast<unsigned char*>(ReallocBuffer(bytes, n + 2));
    if (!block) {
      FreeBuffer(bytes);
      return nullptr;
    }
    block[n] = block[n + 1] = 0;
    return reinterpret_cast<wchar_t*>(block);
  }
  // A block the caller keeps is left as it is.
  const unsigned char* from = bytes;
  if (marked) {
    from += 2;
    n -= 2;
  }
  unsigned char* block = static_cast<unsigned char*>(AllocBuffer(n + 2));
  if (!block) return nullptr;
  memcpy(block, from, n);
  block[n] = block[n + 1] = 0;
  return reinterpret_cast<wchar_t*>(block);
}

unsigned char* EncodeText(wchar_t* text, bool owns, TextEncoding encoding, int* outBytes) {
  if (outBytes) *outBytes = 0;
  if (!text) return nullptr;
  int byteCount = 2 * static_cast<int>(wcslen(text));
  if (encoding == kFoundationEncodingAnsi || encoding == kFoundationEncodingUtf8) {
    int count = 0;
    char* out = encoding == kFoundationEncodingAnsi ? EncodeAnsi(text, byteCount, &count) : EncodeUtf8(text, byteCount, &count);
    if (owns) FreeBuffer(text);
    if (out && outBytes) *outBytes = count;
    return reinterpret_cast<unsigned char*>(out);
  }
  if (owns) {
    if (outBytes) *outBytes = byteCount;
    return reinterpret_cast<unsigned char*>(text);
  }
  unsigned char* copy = static_cast<unsigned char*>(AllocBuffer(byteCount));
  if (copy) {
    memcpy(copy, text, byteCount);
    if (outBytes) *outBytes = byteCount;
  }
  return copy;
}

wchar_t* DecodeAnsi(const unsigned char* bytes, int n, int* outBytes) {
  if (n < 0) n = 0;
  wchar_t* text = AllocWideString(n);
  if (!text) return nullptr;
  int count = n > 0 ? MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes), n, text, n) : 0;
  text[count] = 0;
  if (outBytes) *outBytes = 2 * count;
  return text;
}

// Decodes one, two and three byte sequences, and four byte ones as surrogate
// pairs. Reads never pass the input: a cut-off sequence, a stray
// continuation byte or a lead without its continuations becomes U+FFFD.
wchar_t* DecodeUtf8(const unsigned char* bytes, int n, int* outBytes) {
  if (n < 0) n = 0;
  int i = 0;
  if (n > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) i = 3;
  // Never more units than bytes.
  wchar_t* text = AllocWideString(n - i);
  if (!text) return nullptr;
  auto cont = [&](int k) { return k < n && (bytes[k] & 0xC0) == 0x80; };
  int count = 0;
  while (i < n) {
    unsigned b0 = bytes[i];
    if (b0 < 0x80) {
      text[count++] = static_cast<wchar_t>(b0);
      i += 1;
    } else if ((b0 & 0xE0) == 0xC0 && cont(i + 1)) {
      unsigned cp = ((b0 & 0x1F) << 6) | (bytes[i + 1] & 0x3F);
      text[count++] = cp < 0x80 ? 0xFFFD : static_cast<wchar_t>(cp);  // overlong forms are malformed
      i += 2;
    } else if ((b0 & 0xF0) == 0xE0 && cont(i + 1) && cont(i + 2)) {
      // Surrogates coded one by one (as EncodeUtf8 writes them) are kept.
      unsigned cp = ((b0 & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F);
      text[count++] = cp < 0x800 ? 0xFFFD : static_cast<wchar_t>(cp);
      i += 3;
    } else if ((b0 & 0xF8) == 0xF0 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
      unsigned cp = ((b0 & 0x07) << 18) | ((bytes[i + 1] & 0x3F) << 12) | ((bytes[i + 2] & 0x3F) << 6) |
                    (bytes[i + 3] & 0x3F);
      if (cp >= 0x10000 && cp <= 0x10FFFF) {
        cp -= 0x10000;
        text[count++] = static_cast<wchar_t>(0xD800 + (cp >> 10));
        text[count++] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      } else {
        text[count++] = 0xFFFD;
      }
      i += 4;
    } else {
      text[count++] = 0xFFFD;
      i += 1;
    }
  }
  text[count] = 0;
  if (outBytes) *outBytes = 2 * count;
  return text;
}

char* EncodeUtf8(const wchar_t* text, int byteCount, int* outBytes) {
  if (!text || byteCount < 0) byteCount = 0;
  int units = byteCount / 2;
  char* out = static_cast<char*>(AllocBuffer(3 * static_cast<size_t>(units) + 1));
  if (!out) return nullptr;
  int k = 0;
  for (int i = 0; i < units; ++i) {
    unsigned u = static_cast<unsigned short>(text[i]);
    if (u < 0x80) {
      out[k++] = static_cast<char>(u);
    } else if (u < 0x800) {
      out[k++] = static_cast<char>(0xC0 | (u >> 6));
      out[k++] = static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out[k++] = static_cast<char>(0xE0 | (u >> 12));
      out[k++] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out[k++] = static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  out[k] = 0;
  if (outBytes) *outBytes = k;
  return out;
}

char* EncodeAnsi(const wchar_t* text, int byteCount, int* outBytes) {
  if (outBytes) *outBytes = 0;
  if (!text) return nullptr;
  if (byteCount >= 2 && text[0] == 0xFEFF) {
    ++text;
    byteCount -= 2;
    if (byteCount < 2) return nullptr;
  }
  int n = byteCount > 0 ? byteCount / 2 : 0;
  // A double-byte code page may need more bytes than characters.
  int room = n > 0 ? WideCharToMultiByte(CP_ACP, 0, text, n, nullptr, 0, nullptr, nullptr) : 0;
  if (room < n) room = n;
  char* out = static_cast<char*>(AllocBuffer(static_cast<size_t>(room) + 1));
  if (!out) return nullptr;
  int count = n > 0 ? WideCharToMultiByte(CP_ACP, 0, text, n, out, room, nullptr, nullptr) : 0;
  out[count] = 0;
  if (outBytes) *outBytes = count;
  return out;
}
