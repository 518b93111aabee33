// The window list "MDI-окна" of an MDI frame: opened by the window menu's
// "More windows" entry when the frame has more than nine children. It lists
// the captions of the frame's MDI children in z-order; a double click on one
// (or Enter with one selected) closes it with 1 and the chosen index, Esc or
// the close box cancel.
#pragma once

#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_list_box.h"

class CMDISelectForm : public CKestForm {
public:
  // index receives the chosen z-order index when the form closes with 1; it
  // must outlive the form's modal loop.
  CMDISelectForm(CKestForm* frame, int* index);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CKestListBox* GetListBox() const { return list_; }

private:
  // Stores the selected index and closes with 1; nothing without a selection.
  bool Choose();

  CKestListBox* list_ = nullptr;
  int* index_;
  bool closing_ = false;
};

// The frame's "More windows" handler: shows the list modally; true with the
// chosen z-order index, false when cancelled.
bool ShowMDIWindowList(CKestForm* frame, int* index);
