// Common dialogs and the message box.
#include "kestui/forms/kest_dialogs.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>

#include "foundation/buffers.h"
#include "kestui/forms/kest_custom_form.h"
#include "kestui/forms/kest_form.h"
#include "kestui/hints/kest_hint.h"

int LastFileFilterIndex = 1;
COLORREF* CustomColors = nullptr;

namespace {

const KestCommonDialogSeam* g_seam = nullptr;

constexpr size_t SingleFileCapacity = 260 + 1;
constexpr size_t MultipleFileCapacity = 8192 + 1;
constexpr int MessageTextCapacity = 2048;

constexpr DWORD SaveDialogFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXTENSIONDIFFERENT |
                                  OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER |
                                  OFN_LONGNAMES | OFN_ENABLESIZING;
constexpr DWORD OpenDialogFlags = SaveDialogFlags & ~static_cast<DWORD>(OFN_OVERWRITEPROMPT);

// Hints stay off while a system dialog runs its own message loop.
class HintsOff {
public:
  HintsOff() : previous_(HintsEnabled) { HintsEnabled = false; }
  ~HintsOff() { HintsEnabled = previous_; }
  HintsOff(const HintsOff&) = delete;
  HintsOff& operator=(const HintsOff&) = delete;

private:
  bool previous_;
};

HWND WindowOf(CKestControl* control) { return control ? control->GetHandle() : nullptr; }

wchar_t* RunFileDialog(bool save, CKestControl* owner, const wchar_t* initialName, bool multiple,
                       const wchar_t* defaultExtension, const wchar_t* filter, const wchar_t* title,
                       const wchar_t* initialDirectory) {
  wchar_t* filterList = nullptr;
  if (filter) {
    filterList = BuildFileFilterList(filter);
    if (!filterList) return nullptr;
  }
  size_t capacity = (!save && multiple) ? MultipleFileCapacity : SingleFileCapacity;
  wchar_t* buffer = AllocWideString(capacity - 1);
  if (!buffer) {
    FreeBuffer(filterList);
    return nullptr;
  }
  wmemset(buffer, 0, capacity);
  CopyInitialFileName(buffer, capacity, initialName);

  OPENFILENAMEW info = {};
  info.lStructSize = sizeof info;
  info.hwndOwner = WindowOf(owner);
  info.hInstance = GetModuleHandleW(nullptr);
  info.lpstrFilter = filterList;
  info.nFilterIndex = 0;
  info.lpstrFile = buffer;
  info.nMaxFile = static_cast<DWORD>(capacity);
  info.lpstrTitle = title;
  info.lpstrInitialDir = initialDirectory;
  info.lpstrDefExt = defaultExtension;
  info.Flags = save ? SaveDialogFlags : OpenDialogFlags;
  if (!save && multiple) info.Flags |= OFN_ALLOWMULTISELECT;
  if (initialDirectory) info.Flags |= OFN_NOCHANGEDIR;

  BOOL accepted = FALSE;
  {
    HintsOff hints;
    if (save) {
      accepted = (g_seam && g_seam->getSaveFileName) ? g_seam->getSaveFileName(&info)
                                                      : GetSaveFileNameW(&info);
    } else {
      accepted = (g_seam && g_seam->getOpenFileName) ? g_seam->getOpenFileName(&info)
                                                      : GetOpenFileNameW(&info);
    }
  }
  FreeBuffer(filterList);
  if (!accepted) {
    FreeBuffer(buffer);
    return nullptr;
  }
  buffer[capacity - 1] = 0;
  LastFileFilterIndex = static_cast<int>(info.nFilterIndex);
  return buffer;
}

// What the message box changes and gives back: the live forms' enabled
// states and the active window.
struct RememberedForm {
  CKestCustomForm* form;
  HWND window;
  bool enabled;
};

}  // namespace

void SetCommonDialogSeam(const KestCommonDialogSeam* seam) { g_seam = seam; }

wchar_t* BuildFileFilterList(const wchar_t* filter) {
  if (!filter) return nullptr;
  size_t length = wcslen(filter);
  wchar_t* list = AllocWideString(length + 1);
  if (!list) return nullptr;
  for (size_t i = 0; i < length; ++i) list[i] = filter[i] == L'|' ? L'\0' : filter[i];
  list[length] = 0;
  list[length + 1] = 0;
  return list;
}

bool CopyInitialFileName(wchar_t* buffer, size_t capacity, const wchar_t* name) {
  if (!buffer || capacity == 0) return false;
  buffer[0] = 0;
  if (!name) return true;
  size_t length = wcslen(name);
  bool fits = length < capacity;
  size_t copied = fits ? length : capacity - 1;
  wmemcpy(buffer, name, copied);
  buffer[copied] = 0;
  return fits;
}

wchar_t* ShowOpenFileDialog(CKestControl* owner, const wchar_t* initialName, bool multiple,
                            const wchar_t* defaultExtension, const wchar_t* filter,
                            const wchar_t* title, const wchar_t* initialDirectory) {
  return RunFileDialog(false, owner, initialName, multiple, defaultExtension, filter, title,
                       initialDirectory);
}

wchar_t* ShowSaveFileDialog(CKestControl* owner, const wchar_t* initialName,
                            const wchar_t* defaultExtension, const wchar_t* filter,
                            const wchar_t* title, const wchar_t* initialDirectory) {
  return RunFileDialog(true, owner, initialName, false, defaultExtension, filter, title,
                       initialDirectory);
}

COLORREF ShowColorDialog(CKestControl* owner, COLORREF initial) {
  if (!CustomColors) {
    CustomColors = static_cast<COLORREF*>(AllocBuffer(sizeof(COLORREF) * KestCustomColorCount));
    if (!CustomColors) return initial;
    for (int i = 0; i < KestCustomColorCount; ++i) CustomColors[i] = 0;
  }
  CHOOSECOLORW info = {};
  info.lStructSize = sizeof info;
  info.hwndOwner = WindowOf(owner);
  info.rgbResult = initial;
  info.lpCustColors = CustomColors;
  info.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
  BOOL chosen;
  {
    HintsOff hints;
    chosen = (g_seam && g_seam->chooseColor) ? g_seam->chooseColor(&info) : ChooseColorW(&info);
  }
  return chosen ? info.rgbResult : KestColorCancelled;
}

void UpdatePrintPageSelection(PrintPageSelection* pages) {
  if (!pages) return;
  if (pages->rangeCount > KestMaxPrintPageRanges) pages->rangeCount = KestMaxPrintPageRanges;
  if (pages->rangeCount == 0) {
    pages->ranges[0].nFromPage = pages->minPage;
    pages->ranges[0].nToPage = pages->maxPage;
    pages->rangeCount = 1;
  } else {
    uint32_t kept = 0;
    for (uint32_t i = 0; i < pages->rangeCount; ++i) {
      PRINTPAGERANGE range = pages->ranges[i];
      if (range.nToPage == pages->previousMaxPage) range.nToPage = pages->maxPage;
      // A document that shrank: ranges stay inside it.
      if (range.nToPage > pages->maxPage) range.nToPage = pages->maxPage;
      if (range.nFromPage < pages->minPage) range.nFromPage = pages->minPage;
      if (range.nFromPage > range.nToPage) continue;
      pages->ranges[kept++] = range;
    }
    if (kept == 0) {
      pages->ranges[0].nFromPage = pages->minPage;
      pages->ranges[0].nToPage = pages->maxPage;
      kept = 1;
    }
    pages->rangeCount = kept;
  }
  pages->previousMaxPage = pages->maxPage;
}

void ApplyPrintPageChoice(PrintPageSelection* pages, DWORD flags, DWORD rangeCount) {
  if (!pages) return;
  if (flags & PD_CURRENTPAGE) {
    uint32_t page = pages->currentPage < 0 ? pages->minPage : static_cast<uint32_t>(pages->currentPage);
    pages->ranges[0].nFromPage = page;
    pages->ranges[0].nToPage = page;
    pages->rangeCount = 1;
  } else {
    pages->rangeCount = rangeCount > KestMaxPrintPageRanges ? KestMaxPrintPageRanges : rangeCount;
  }
}

HDC ShowPrintDialog(CKestControl* owner, bool* selection, PrintPageSelection* pages) {
  PRINTDLGEXW info = {};
  info.lStructSize = sizeof info;
  // The system refuses a print dialog without an owner.
  info.hwndOwner = WindowOf(owner);
  if (!info.hwndOwner && MainKestForm) info.hwndOwner = MainKestForm->GetHandle();
  info.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;
  info.ExclusionFlags = PD_EXCL_COPIESANDCOLLATE;
  info.nCopies = 1;
  info.nStartPage = START_PAGE_GENERAL;
  if (pages) UpdatePrintPageSelection(pages);
  bool pageNumbers = pages && pages->minPage < pages->maxPage;
  if (pageNumbers) {
    info.nMinPage = pages->minPage;
    info.nMaxPage = pages->maxPage;
    info.nMaxPageRanges = KestMaxPrintPageRanges;
    info.nPageRanges = pages->rangeCount;
    info.lpPageRanges = pages->ranges;
  } else {
    info.Flags |= PD_NOPAGENUMS;
  }
  info.Flags |= selection ? PD_SELECTION : PD_NOSELECTION;
  if (!pages || pages->currentPage < 0) info.Flags |= PD_NOCURRENTPAGE;

  HRESULT result;
  {
    HintsOff hints;
    result = (g_seam && g_seam->printDialog) ? g_seam->printDialog(&info) : PrintDlgExW(&info);
  }
  if (info.hDevMode) GlobalFree(info.hDevMode);
  if (info.hDevNames) GlobalFree(info.hDevNames);
  if (result != S_OK || info.dwResultAction == PD_RESULT_CANCEL) {
    if (info.hDC) DeleteDC(info.hDC);
    return nullptr;
  }
  if (selection) {
    *selection = (info.Flags & PD_SELECTION) != 0;
  } else if (pageNumbers) {
    ApplyPrintPageChoice(pages, info.Flags, info.nPageRanges);
  }
  if (info.dwResultAction == PD_RESULT_PRINT) return info.hDC;
  if (info.hDC) DeleteDC(info.hDC);
  return nullptr;
}

int ShowMessageBox(CKestControl* owner, UINT flags, const wchar_t* caption, const wchar_t* format,
                   ...) {
  wchar_t text[MessageTextCapacity] = {};
  if (format) {
    va_list args;
    va_start(args, format);
    // Writes at most capacity - 1 characters; a longer text is cut there.
    _vsnwprintf(text, MessageTextCapacity - 1, format, args);
    va_end(args);
    text[MessageTextCapacity - 1] = 0;
  }
  return ShowMessageText(owner, flags, caption, text);
}

int ShowMessageText(CKestControl* owner, UINT flags, const wchar_t* caption, const wchar_t* text) {
  int count = LiveForms.count;
  RememberedForm* remembered = nullptr;
  if (count > 0) {
    remembered = static_cast<RememberedForm*>(AllocBuffer(sizeof(RememberedForm) * count));
    if (!remembered) count = 0;
  }
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    CKestCustomForm* form = LiveForms.forms[i];
    if (!form || !form->GetHandle()) continue;
    remembered[kept++] = {form, form->GetHandle(), IsWindowEnabled(form->GetHandle()) != FALSE};
  }
  HWND active = GetActiveWindow();
  for (int i = 0; i < kept; ++i) remembered[i].form->Enable(false);

  int result = MessageBoxW(WindowOf(owner), text ? text : L"", caption, flags);

  for (int i = 0; i < kept; ++i) {
    // A form destroyed while the box was open is left alone.
    const RememberedForm& entry = remembered[i];
    if (FindLiveForm(entry.form) >= 0 && entry.form->GetHandle() == entry.window) {
      entry.form->Enable(entry.enabled);
    }
  }
  FreeBuffer(remembered);
  if (active && IsWindow(active)) SetActiveWindow(active);
  return result;
}

// The records keep the sizes the 32-bit system expects.
static_assert(sizeof(void*) != 4 || sizeof(OPENFILENAMEW) == 88, "OPENFILENAMEW size");
static_assert(sizeof(void*) != 4 || sizeof(PRINTDLGEXW) == 84, "PRINTDLGEXW size");
