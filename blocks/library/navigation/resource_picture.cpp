#include "blocks/library/navigation/resource_picture.h"

#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_owned_dc.h"

bool DrawResourcePictureCentred(HDC dc, const RECT& rect, int resourceId) {
  CKestOwnedBitmap picture(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId)));
  if (!picture) return false;
  BITMAP info;
  if (!GetObjectW(picture.Get(), sizeof info, &info)) return false;
  CKestOwnedDC memory(CreateCompatibleDC(dc));
  if (!memory) return false;
  CKestDcSelection selection(memory.Get());
  if (!selection.Select(picture.Get())) return false;
  int x = (rect.left + rect.right - info.bmWidth) / 2;
  int y = (rect.top + rect.bottom - info.bmHeight) / 2;
  return BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY) != 0;
}
