// How the scheme editor's palette gets a database record for a new
// component: the component browser shown modally on the tables of a
// category. An editor holds one chooser object; a test gives the editor its
// own chooser instead.
#pragma once

#include <functional>

class CKestControl;
class CompDbRecord;

// Receives the chosen record while it is valid (the browser still exists).
using ComponentRecordUse = std::function<void(CompDbRecord* record)>;

// Shows the component browser owned by owner on tables (names separated by
// ";"), without a model to show. When the user closed it with "Выбрать" and
// a record is selected, hands that record to use and answers true; answers
// false when it was cancelled, closed without a record or could not be
// shown.
bool ChooseComponentRecord(CKestControl* owner, const wchar_t* tables, const ComponentRecordUse& use);

class CComponentChooser {
public:
  virtual ~CComponentChooser() = default;
  // ChooseComponentRecord; a test overrides it with a stand-in browser.
  virtual bool Choose(CKestControl* owner, const wchar_t* tables, const ComponentRecordUse& use) {
    return ChooseComponentRecord(owner, tables, use);
  }
};
