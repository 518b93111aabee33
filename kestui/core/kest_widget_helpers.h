// Small helpers shared by the framework's widget sources; for kestui's own
// sources only.
#pragma once

#include <windows.h>

class CKestControl;
class CKestImageList;

void SetWindowId(HWND window, int id);
void SetHintIfAny(CKestControl* control, const wchar_t* hint);
HBRUSH ReplaceBrush(HBRUSH old, COLORREF color);
// A new block with the text of an item, by its length and text messages.
wchar_t* CopyText(HWND window, UINT lengthMessage, UINT textMessage, int index);
void InitCommonControlClasses(DWORD classes);
// Keeps a referenced image list: the new one gains a reference before the
// old one loses its own, so setting the same list again is harmless.
void ReplaceImageList(CKestImageList** held, CKestImageList* list);
// Window rectangle of child in its parent's client coordinates.
RECT ChildRect(HWND parent, HWND child);

constexpr COLORREF KestWhite = RGB(255, 255, 255);
constexpr COLORREF KestBlack = RGB(0, 0, 0);
