// The one place where the palette reaches the component browser.
#include "app/editor/component_chooser.h"

#include "app/browser/db_explorer.h"

bool ChooseComponentRecord(CKestControl* owner, const wchar_t* tables, const ComponentRecordUse& use) {
  if (!tables) return false;
  CDBExplorer* explorer = new CDBExplorer(owner, tables, nullptr, nullptr);
  if (!explorer->GetHandle()) {
    delete explorer;
    return false;
  }
  explorer->ShowModal(false);
  // Only "Выбрать" leaves a selected row; the record lives as long as the
  // explorer does.
  CompDbRecord* record = explorer->GetSelectedRow();
  if (record && use) use(record);
  delete explorer;
  return record != nullptr;
}
