#include "modelpicker/modelpicker_app.h"

#include "kestui/core/kest_control.h"
#include "modelpicker/main_form.h"
#include "modelpicker/picker_state.h"

int RunModelPicker(HINSTANCE instance, const wchar_t* commandLine) {
  ApplicationIcon = LoadIconW(instance, MAKEINTRESOURCEW(kPickerIconId));
  InitDatabasePaths();

  PickerState state;
  ParseCommandLine(commandLine, &state);
  LoadTables(&state);
  // The caller learns of a new script only by its existence.
  DeleteOutputFile(state);

  CMainForm* form = new CMainForm(&state);
  if (form->GetHandle()) {
    form->Run();
  } else {
    delete form;
  }

  // The caller waits for the lock file to go, whatever happened here.
  DeleteLockFile(state);
  return 0;
}
