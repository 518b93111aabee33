// CKestRichEdit: a multi-line edit over the system rich edit control
// ("RichEdit20W"), with its text streamed in and out through memory or
// files in rich text (SF_RTF) or plain text (SF_TEXT) form.
//
// Beside it stand the EDITSTREAM callbacks it uses: reading from a memory
// block, writing into a growing memory block, and reading from or writing to
// an open file (ReadFile / WriteFile). A callback answers 0 when it moved
// data (or reached the end) and 1 when it failed; it never reads or writes
// past the buffers it is given.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <cstdint>

#include "kestui/edits/kest_custom_memo.h"

// The source of KestRichEditReadMemory: data[position .. size) is what is
// left to read.
struct KestRichEditSource {
  const uint8_t* data;
  size_t size;
  size_t position;
};

// The target of KestRichEditWriteMemory: size bytes written into a block of
// capacity bytes (ReallocBuffer; the owner frees data with FreeBuffer).
struct KestRichEditBuffer {
  uint8_t* data;
  size_t size;
  size_t capacity;
};

// cookie: KestRichEditSource*.
DWORD CALLBACK KestRichEditReadMemory(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
// cookie: KestRichEditBuffer*; the block grows as needed.
DWORD CALLBACK KestRichEditWriteMemory(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
// cookie: a file HANDLE open for reading / writing.
DWORD CALLBACK KestRichEditReadFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
DWORD CALLBACK KestRichEditWriteFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);

class CKestRichEdit : public CKestCustomMemo {
public:
  // Enter starts a new line; without word wrap the text scrolls sideways.
  CKestRichEdit(CKestControl* parent, int id, uint32_t position, int width, int height,
                bool readOnly, bool wordWrap, bool clientEdge);
  ~CKestRichEdit() override;

  // EM_SETBKGNDCOLOR with the colour (besides the stored colour and brush).
  HBRUSH SetBackColor(COLORREF color) override;
  // The colour of all text and of text typed later.
  void SetTextColor(COLORREF color) override;
  // Alignment of the selected paragraphs: PFA_LEFT, PFA_CENTER or PFA_RIGHT.
  bool SetParagraphAlignment(WORD alignment);

  // format: SF_RTF or SF_TEXT (with SF_UNICODE for UTF-16 text). Loading
  // replaces the whole text; false when the control reported an error.
  bool LoadFromMemory(const void* data, size_t size, UINT format);
  // Keeps the bytes in the widget (GetSavedData, until the next save).
  bool SaveToMemory(UINT format);
  const uint8_t* GetSavedData() const { return saved_->data; }
  size_t GetSavedSize() const { return saved_->size; }
  // False when the file cannot be opened or a read or write failed; a
  // failed load leaves the text as it was only when nothing was read.
  bool LoadFromFile(const wchar_t* path, UINT format);
  bool SaveToFile(const wchar_t* path, UINT format);

private:
  bool Stream(UINT message, UINT format, EDITSTREAMCALLBACK callback, DWORD_PTR cookie);

  // The widget's own objects, deleted with it.
  CHARFORMAT2W* charFormat_;
  PARAFORMAT2* paraFormat_;
  KestRichEditBuffer* saved_;
};
