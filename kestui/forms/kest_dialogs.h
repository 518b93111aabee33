// The system's common dialogs and the message box, with the conventions the
// forms rely on: filters written as one text with "|" between display names
// and patterns ("Файлы Torvalk electric (*.vlkx)|*.vlkx"), paths returned as
// new heap blocks (FreeBuffer), the last chosen file filter and the custom
// colours remembered for the process, hints switched off while a system
// dialog runs its own loop, and a message box that is modal over every form
// of the program.
#pragma once

#include <windows.h>
// PRINTDLGEXW needs the COM declarations first.
#include <objbase.h>
#include <commdlg.h>

#include <cstddef>
#include <cstdint>

#include "kestui/core/kest_control.h"

// 1-based index of the filter selected in the last accepted open or save
// dialog; 1 at start.
extern int LastFileFilterIndex;
// The 16 custom colours of the colour dialog, made (all 0) by its first use
// and kept for the process; null before.
constexpr int KestCustomColorCount = 16;
extern COLORREF* CustomColors;

// The caller's page choice, kept between print dialogs.
constexpr int KestMaxPrintPageRanges = 32;
struct PrintPageSelection {
  uint32_t minPage;
  uint32_t maxPage;
  int32_t currentPage;       // negative: the document has no current page
  uint32_t previousMaxPage;  // kept by ShowPrintDialog
  uint32_t rangeCount;
  PRINTPAGERANGE ranges[KestMaxPrintPageRanges];
};

// Result of a cancelled colour dialog: never use it as a colour.
constexpr COLORREF KestColorCancelled = 0xFFFFFFFF;

// File dialogs. owner may be null; so may the initial file name (cut to the
// dialog's buffer when longer), default extension, filter (no filter list),
// title and initial directory (given: the process's current directory is
// left alone). The chosen path as a new block, or null when cancelled. With
// multiple selection and several files chosen: the folder, a zero, each file
// name and a zero, then a final zero.
wchar_t* ShowOpenFileDialog(CKestControl* owner, const wchar_t* initialName, bool multiple,
                            const wchar_t* defaultExtension, const wchar_t* filter,
                            const wchar_t* title, const wchar_t* initialDirectory);
wchar_t* ShowSaveFileDialog(CKestControl* owner, const wchar_t* initialName,
                            const wchar_t* defaultExtension, const wchar_t* filter,
                            const wchar_t* title, const wchar_t* initialDirectory);

// The chosen colour, or KestColorCancelled. Without memory for the custom
// colours the initial colour comes back at once.
COLORREF ShowColorDialog(CKestControl* owner, COLORREF initial);

// The print dialog. owner null: the main form. selection non-null offers
// "selection" (preselected) and receives whether the user chose it; pages
// (may be null) offers the page ranges and receives the choice. The printer
// DC (the caller deletes it) when the user pressed Print, else 0.
HDC ShowPrintDialog(CKestControl* owner, bool* selection, PrintPageSelection* pages);

// MessageBoxW with the text formatted printf-style (wide format functions:
// %ls for wide text, %hs for 8-bit text) and cut to 2047 characters. Every
// live form is disabled while the box is open and gets its enabled state
// back after it, with the window that was active. Never pass text from a
// user or a file as the format: use "%ls" or ShowMessageText.
int ShowMessageBox(CKestControl* owner, UINT flags, const wchar_t* caption, const wchar_t* format,
                   ...);
// The same with a ready text (not a format).
int ShowMessageText(CKestControl* owner, UINT flags, const wchar_t* caption, const wchar_t* text);

// Building blocks, exposed for tests.
// The double-terminated list the system expects: every "|" becomes a zero
// and one more zero follows. Null for a null filter or no memory.
wchar_t* BuildFileFilterList(const wchar_t* filter);
// Copies name into buffer of capacity characters, cut to fit with the
// terminator. Answers whether the whole name fitted.
bool CopyInitialFileName(wchar_t* buffer, size_t capacity, const wchar_t* name);
// Before the dialog: a selection without ranges gets one range over all
// pages; ranges that ended at the previous last page end at the new one;
// ranges are kept inside the document (ranges wholly past its end are
// dropped, and one over all pages is made when none is left); then the
// previous last page becomes the current one.
void UpdatePrintPageSelection(PrintPageSelection* pages);
// After the dialog (printing or applying), when pages were offered: the
// current page alone when the user chose it (PD_CURRENTPAGE in flags),
// otherwise the number of ranges the dialog wrote.
void ApplyPrintPageChoice(PrintPageSelection* pages, DWORD flags, DWORD rangeCount);

// Where the dialog functions reach the system; tests put fakes here. Null
// members (or a null seam) mean the real functions.
struct KestCommonDialogSeam {
  BOOL (*getOpenFileName)(OPENFILENAMEW* info);
  BOOL (*getSaveFileName)(OPENFILENAMEW* info);
  BOOL (*chooseColor)(CHOOSECOLORW* info);
  HRESULT (*printDialog)(PRINTDLGEXW* info);
};
void SetCommonDialogSeam(const KestCommonDialogSeam* seam);
