#include "blocks/panel/items/item_strings.h"

#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/stream.h"

wchar_t* CopyItemString(const wchar_t* text) {
  if (!text || !*text) return nullptr;
  size_t n = wcslen(text) + 1;
  wchar_t* copy = static_cast<wchar_t*>(AllocBuffer(static_cast<int>(2 * n)));
  if (copy) wmemcpy(copy, text, n);
  return copy;
}

int ItemBytesLeft(CStream* stream) { return stream->GetSize() - stream->GetPosition(); }

bool ReadItemString(CStream* stream, wchar_t** field) {
  if (ItemBytesLeft(stream) < 2) return false;
  FreeBuffer(*field);
  *field = stream->ReadStringW();
  // A string the stream cuts off before its terminator is damage.
  int end = stream->GetPosition();
  unsigned char last[2] = {1, 1};
  stream->Seek(end - 2, 0);
  stream->Read(last, 2);
  if (last[0] != 0 || last[1] != 0) {
    FreeBuffer(*field);
    *field = nullptr;
    return false;
  }
  return true;
}
