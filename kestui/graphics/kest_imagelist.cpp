#include "kestui/graphics/kest_imagelist.h"

#include "kestui/graphics/image.h"

CKestImageList::CKestImageList(int cx, int cy) {
  list_ = ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 0, 4);
}

CKestImageList::~CKestImageList() {
  if (list_) ImageList_Destroy(list_);
}

void CKestImageList::Release() {
  if (refCount_ <= 0) return;  // never referenced: its creator keeps it
  if (--refCount_ == 0) delete this;
}

int CKestImageList::GetCount() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

int CKestImageList::AddBitmap(HBITMAP bitmap) {
  if (!list_ || !bitmap) return -1;
  // Adding with a mask blackens the transparent pixels of the source, so a
  // copy is added and the caller's picture stays as it was.
  HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!copy) return -1;
  COLORREF transparent = CLR_INVALID;
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc) {
    HGDIOBJ old = SelectObject(dc, copy);
    transparent = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  int index = -1;
  if (transparent != CLR_INVALID) index = ImageList_AddMasked(list_, copy, transparent);
  DeleteObject(copy);
  return index;
}

int CKestImageList::AddImage(CKestImage& image) {
  if (image.IsNull()) return -1;
  return AddBitmap(static_cast<HBITMAP>(image));
}

int CKestImageList::AddResourceImage(UINT resourceId) {
  CKestImage image;
  if (FAILED(image.LoadFromResource(nullptr, resourceId))) return -1;
  return AddImage(image);
}

void CKestImageList::SetBackColor(COLORREF color) {
  if (list_) ImageList_SetBkColor(list_, color);
}
