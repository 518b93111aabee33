// The common base of the Kest framework's forms: the top-level windows (main
// MDI frame and dialogs) and the MDI child windows.
//
// Forms are heap objects that delete themselves when their window is
// destroyed.
#pragma once

#include <windows.h>

#include "kestui/containers/kest_container.h"

class CKestCustomForm : public CKestContainer {
public:
  // Marks the object top level and adds it to LiveForms.
  CKestCustomForm();
  // Removes it from LiveForms.
  ~CKestCustomForm() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void SetCaption(const wchar_t* text);

  // Valid only while the form handles WM_KEST_PAINT inside its WM_PAINT.
  HDC GetPaintDC() const { return paintDC_; }
  bool IsPainting() const { return painting_ != 0; }

  // The accelerator table used by both message loops while this form owns
  // them (Run: the main form; ShowModal: the dialog). The CKestForm
  // destructor destroys it.
  HACCEL GetAccelerators() const { return accelerators_; }
  void SetAccelerators(HACCEL table) { accelerators_ = table; }

  // False while a form fills in its widgets: derived forms ignore their
  // widgets' notifications then.
  bool IsReady() const { return ready_; }
  void SetReady(bool ready) { ready_ = ready; }

protected:
  HDC paintDC_ = nullptr;
  int painting_ = 0;
  HACCEL accelerators_ = nullptr;
  bool ready_ = false;
};

// Every CKestCustomForm constructed and not yet destroyed, in construction
// order. The capacity is the count rounded up to 32 entries.
struct KestLiveFormList {
  int count;
  CKestCustomForm** forms;
};
extern KestLiveFormList LiveForms;
bool AddLiveForm(CKestCustomForm* form);
void RemoveLiveForm(CKestCustomForm* form);
// Index of form in LiveForms, -1 when it is not live.
int FindLiveForm(const CKestCustomForm* form);
void RemoveLiveFormAt(int index);
// Grows or shrinks the list (new entries are null); false when out of memory.
bool SetLiveFormCount(int count);

