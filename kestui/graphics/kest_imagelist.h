// A reference-counted image list for list and tree views.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CKestImage;

class CKestImageList {
public:
  // 24-bit colour with a mask, growing by 4 images.
  CKestImageList(int cx, int cy);
  virtual ~CKestImageList();
  CKestImageList(const CKestImageList&) = delete;
  CKestImageList& operator=(const CKestImageList&) = delete;

  void AddRef() { ++refCount_; }
  // Deletes the list when the count falls from 1 to 0; a list that was never
  // referenced (count 0) is left alone.
  void Release();
  int GetRefCount() const { return refCount_; }

  HIMAGELIST GetHandle() const { return list_; }
  int GetCount() const;

  // Adds the picture of bitmap; the colour of its pixel (0, 0) becomes
  // transparent. The caller's bitmap is not changed. The new index, or -1.
  int AddBitmap(HBITMAP bitmap);
  // Adds a framework picture like AddBitmap; -1 for an empty picture.
  int AddImage(CKestImage& image);
  // Loads the program's picture resource (a bitmap, or a PNG among the
  // program's data) and adds it like AddImage; -1 when the resource cannot be
  // loaded (nothing is added).
  int AddResourceImage(UINT resourceId);
  void SetBackColor(COLORREF color);

private:
  int refCount_ = 0;
  HIMAGELIST list_ = nullptr;
};
