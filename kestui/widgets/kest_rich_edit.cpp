#include "kestui/widgets/kest_rich_edit.h"

#include <cstring>

#include "foundation/buffers.h"

namespace {

constexpr size_t kFirstCapacity = 4096;

// The rich edit classes live in this module; it stays loaded for the
// process, as the control's windows may exist until the end.
bool LoadRichEditModule() {
  static HMODULE module = LoadLibraryW(L"riched20.dll");
  return module != nullptr;
}

}  // namespace

DWORD CALLBACK KestRichEditReadMemory(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  if (done) *done = 0;
  auto* source = reinterpret_cast<KestRichEditSource*>(cookie);
  if (!source || !buffer || count < 0 || source->position > source->size) return 1;
  if (source->size > 0 && !source->data) return 1;
  size_t left = source->size - source->position;
  size_t n = static_cast<size_t>(count) < left ? static_cast<size_t>(count) : left;
  if (n > 0) memcpy(buffer, source->data + source->position, n);
  source->position += n;
  if (done) *done = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK KestRichEditWriteMemory(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  if (done) *done = 0;
  auto* target = reinterpret_cast<KestRichEditBuffer*>(cookie);
  if (!target || count < 0 || (count > 0 && !buffer) || target->size > target->capacity) return 1;
  size_t n = static_cast<size_t>(count);
  if (n > SIZE_MAX / 2 - target->size) return 1;
  if (target->size + n > target->capacity) {
    size_t capacity = target->capacity ? target->capacity : kFirstCapacity;
    while (capacity < target->size + n) capacity *= 2;
    void* grown = ReallocBuffer(target->data, capacity);
    if (!grown) return 1;
    target->data = static_cast<uint8_t*>(grown);
    target->capacity = capacity;
  }
  if (n > 0) memcpy(target->data + target->size, buffer, n);
  target->size += n;
  if (done) *done = count;
  return 0;
}

DWORD CALLBACK KestRichEditReadFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  if (done) *done = 0;
  HANDLE file = reinterpret_cast<HANDLE>(cookie);
  if (!file || file == INVALID_HANDLE_VALUE || !buffer || count < 0) return 1;
  DWORD read = 0;
  if (!ReadFile(file, buffer, static_cast<DWORD>(count), &read, nullptr)) return 1;
  if (read > static_cast<DWORD>(count)) return 1;
  if (done) *done = static_cast<LONG>(read);
  return 0;
}

DWORD CALLBACK KestRichEditWriteFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  if (done) *done = 0;
  HANDLE file = reinterpret_cast<HANDLE>(cookie);
  if (!file || file == INVALID_HANDLE_VALUE || count < 0 || (count > 0 && !buffer)) return 1;
  DWORD written = 0;
  if (!WriteFile(file, buffer, static_cast<DWORD>(count), &written, nullptr)) return 1;
  if (written != static_cast<DWORD>(count)) return 1;
  if (done) *done = count;
  return 0;
}

// ---------------------------------------------------------------------------

CKestRichEdit::CKestRichEdit(CKestControl* parent, int id, uint32_t position, int width,
                             int height, bool readOnly, bool wordWrap, bool clientEdge)
    : charFormat_(new CHARFORMAT2W()),
      paraFormat_(new PARAFORMAT2()),
      saved_(new KestRichEditBuffer()) {
  charFormat_->cbSize = sizeof(CHARFORMAT2W);
  paraFormat_->cbSize = sizeof(PARAFORMAT2);
  enterAccepted_ = true;
  if (!LoadRichEditModule()) return;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                ES_WANTRETURN;
  if (readOnly) style |= ES_READONLY;
  if (!wordWrap) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if (!CreateControlWindow(clientEdge ? WS_EX_CLIENTEDGE : 0, RICHEDIT_CLASSW, L"", style,
                           position, width, height, parent, nullptr, nullptr)) {
    return;
  }
  SetWindowLongW(window_, GWL_ID, id);
  SendMessageW(window_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

CKestRichEdit::~CKestRichEdit() {
  delete charFormat_;
  delete paraFormat_;
  FreeBuffer(saved_->data);
  delete saved_;
}

HBRUSH CKestRichEdit::SetBackColor(COLORREF color) {
  HBRUSH brush = CKestCustomMemo::SetBackColor(color);
  if (window_) {
    COLORREF shown = color == KEST_TRANSPARENT ? GetSysColor(COLOR_WINDOW) : color;
    SendMessageW(window_, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(shown));
  }
  return brush;
}

void CKestRichEdit::SetTextColor(COLORREF color) {
  CKestCustomMemo::SetTextColor(color);
  charFormat_->dwMask = CFM_COLOR;
  charFormat_->dwEffects = 0;
  charFormat_->crTextColor = color;
  if (!window_) return;
  SendMessageW(window_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(charFormat_));
  SendMessageW(window_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(charFormat_));
}

bool CKestRichEdit::SetParagraphAlignment(WORD alignment) {
  if (!window_) return false;
  paraFormat_->dwMask = PFM_ALIGNMENT;
  paraFormat_->wAlignment = alignment;
  return SendMessageW(window_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(paraFormat_)) != 0;
}

bool CKestRichEdit::Stream(UINT message, UINT format, EDITSTREAMCALLBACK callback,
                           DWORD_PTR cookie) {
  if (!window_) return false;
  EDITSTREAM stream = {};
  stream.dwCookie = cookie;
  stream.pfnCallback = callback;
  SendMessageW(window_, message, format, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0;
}

bool CKestRichEdit::LoadFromMemory(const void* data, size_t size, UINT format) {
  if (!data && size > 0) return false;
  KestRichEditSource source = {static_cast<const uint8_t*>(data), size, 0};
  return Stream(EM_STREAMIN, format, KestRichEditReadMemory, reinterpret_cast<DWORD_PTR>(&source));
}

bool CKestRichEdit::SaveToMemory(UINT format) {
  KestRichEditBuffer buffer = {nullptr, 0, 0};
  if (!Stream(EM_STREAMOUT, format, KestRichEditWriteMemory, reinterpret_cast<DWORD_PTR>(&buffer))) {
    FreeBuffer(buffer.data);
    return false;
  }
  FreeBuffer(saved_->data);
  *saved_ = buffer;
  return true;
}

bool CKestRichEdit::LoadFromFile(const wchar_t* path, UINT format) {
  if (!path || !window_) return false;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = Stream(EM_STREAMIN, format, KestRichEditReadFile, reinterpret_cast<DWORD_PTR>(file));
  CloseHandle(file);
  return ok;
}

bool CKestRichEdit::SaveToFile(const wchar_t* path, UINT format) {
  if (!path || !window_) return false;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = Stream(EM_STREAMOUT, format, KestRichEditWriteFile, reinterpret_cast<DWORD_PTR>(file));
  CloseHandle(file);
  return ok;
}
