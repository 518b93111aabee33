// CSearchForm "Поиск": the modeless find dialog of the script editor. At
// most one is open at a time (OpenSearchForm); the search text is kept for
// the whole run of the program (LastSearchText).
#pragma once

#include "kestui/forms/kest_form.h"

class CKestEdit;
class CVMScriptEditor;

const UINT kScriptSearchBackwardId = 21042;
const UINT kScriptSearchForwardId = 41745;

class CSearchForm : public CKestForm {
public:
  // The form over editor (its owner), the edit holding the last search
  // text; not shown yet (Show).
  explicit CSearchForm(CVMScriptEditor* editor);
  // Clears OpenSearchForm when it is this form.
  ~CSearchForm() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Searches the editor's text from its caret for the edit's text; a match
  // puts the caret at its start, none tells "Больше не найдено!". An empty
  // edit does nothing.
  void FindNext(bool backward);

  CKestEdit* GetSearchEdit() const { return edit_; }

private:
  CVMScriptEditor* editor_;
  CKestEdit* edit_ = nullptr;
};

// The open find dialog; null when none is open.
extern CSearchForm* OpenSearchForm;
// The last text searched for (owned); null until the first search.
extern wchar_t* LastSearchText;
