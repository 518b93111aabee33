#include "foundation/ansi_text.h"

#include <cstring>

#include "foundation/buffers.h"
#include "foundation/encoding.h"

std::wstring AnsiToWide(const char* text) {
  if (!text || !*text) return std::wstring();
  size_t length = strlen(text);
  if (length > 0x3FFFFFFF) return std::wstring();
  wchar_t* wide = DecodeAnsi(reinterpret_cast<const unsigned char*>(text),
                             static_cast<int>(length), nullptr);
  if (!wide) return std::wstring();
  std::wstring result(wide);
  FreeBuffer(wide);
  return result;
}

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  int count = 0;
  unsigned char* bytes =
      EncodeText(const_cast<wchar_t*>(text.c_str()), false, kFoundationEncodingAnsi, &count);
  if (!bytes) return std::string();
  std::string result(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
  FreeBuffer(bytes);
  return result;
}
