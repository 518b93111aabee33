#include "blocks/engine/block_clipboard.h"

#include <cstring>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "foundation/memory_stream.h"

UINT BeBlockClipboard::Format() { return RegisterClipboardFormatW(L"BE5"); }

bool BeBlockClipboard::CanPaste() {
  UINT format = Format();
  return format != 0 && IsClipboardFormatAvailable(format);
}

bool BeBlockClipboard::Copy(BeScheme* scheme, HWND window) {
  UINT format = Format();
  if (!scheme || !format) return false;
  CMemoryStream stream;
  scheme->Save(&stream, true);
  if (stream.size <= 0) return false;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(stream.size));
  if (!memory) return false;
  void* bytes = GlobalLock(memory);
  if (!bytes) {
    GlobalFree(memory);
    return false;
  }
  memcpy(bytes, stream.data, static_cast<size_t>(stream.size));
  GlobalUnlock(memory);
  if (!OpenClipboard(window)) {
    GlobalFree(memory);
    return false;
  }
  bool placed = EmptyClipboard() && SetClipboardData(format, memory) != nullptr;
  CloseClipboard();
  // The clipboard owns the memory once SetClipboardData took it.
  if (!placed) GlobalFree(memory);
  return placed;
}

bool BeBlockClipboard::Paste(BeScheme* scheme, HWND window, HWND notify) {
  if (!scheme || !CanPaste()) return false;
  for (CBEBlock* block = scheme->blocks; block; block = block->next) block->flags &= ~kBeBlockSelected;
  CMemoryStream stream;
  if (!OpenClipboard(window)) return false;
  bool copied = false;
  HANDLE data = GetClipboardData(Format());
  if (data) {
    SIZE_T size = GlobalSize(data);
    const void* bytes = GlobalLock(data);
    if (bytes && size > 0 && size <= 0x7FFFFFFF) {
      copied = stream.Write(bytes, static_cast<int>(size)) == static_cast<int>(size);
    }
    if (bytes) GlobalUnlock(data);
  }
  CloseClipboard();
  if (!copied) return false;
  stream.Seek(0, 0);
  bool loaded = false;
  try {
    loaded = scheme->Load(&stream, true);
  } catch (...) {
    loaded = false;  // the scheme is left as it was
  }
  if (!loaded) return false;
  if (notify) SendMessageW(notify, WM_SCHEME_MODIFIED, 0, 0);
  for (CBEBlock* block = scheme->blocks; block; block = block->next) {
    if (block->IsSelected()) block->MoveBy(kBePasteOffset, kBePasteOffset);
  }
  return true;
}
