// The start-up sequence of Velkboard and its message loop.
#include "units/unit_classes.h"
#include "app/resource.h"
#include "app/shell/main_form.h"
#include "app/shell/startup.h"
#include "app/shell/velkboard_host.h"
#include "blocks/dialogs/dialog_classes.h"
#include "blocks/engine/plugin/plugin_list.h"
#include "blocks/library/library_classes.h"
#include "blocks/panel/panel_kinds.h"
#include "components/devices/device_classes.h"
#include "components/electronic/electronic_classes.h"
#include "kestui/core/kest_control.h"
#include "kestui/core/kest_host_scope.h"
#include "scheme/model/class_registry.h"

HICON LoadApplicationIcon(HINSTANCE instance) {
  ApplicationIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELKBOARD));
  return ApplicationIcon;
}

StartDecision PrepareStart(HINSTANCE instance, const wchar_t* commandLine) {
  if (!commandLine) commandLine = L"";
  SetAppInstance(instance);
  if (RunPendingUpdate(commandLine)) return StartDecision::kExit;
  InitProgramFolders();
  LoadApplicationIcon(instance);
  RegisterSchemeFileType();  // on every start; a failure is not reported
  if (IsRegisterCommand(commandLine)) {
    RunMaxPluginInstaller();
    return StartDecision::kExit;
  }
  RegisterClipboardFormats();
  RegisterPanelItemKinds();
  RegisterComponentClasses();
  RegisterUnitComponentCreators();
  RegisterElectronicComponentCreators();
  RegisterBlockLibraryCreators();
  RegisterDeviceComponentCreators();
  RegisterBlockDialogs();
  ProgramPluginList().ScanFolder();
  return StartDecision::kMainWindow;
}

int RunVelkboard(HINSTANCE instance, const wchar_t* commandLine) {
  // What the lower layers ask of the program, for its whole run.
  CVelkboardHost host;
  CKestHostScope hostScope(&host);
  CSchemeHostScope schemeHostScope(&host);
  CBlockHostScope blockHostScope(&host);
  if (PrepareStart(instance, commandLine) == StartDecision::kExit) return 0;
  // The form created next becomes the application's main form.
  MainKestForm = nullptr;
  CMainForm* form = new CMainForm;
  if (!form->GetHandle()) {
    delete form;
    MessageBoxW(nullptr, L"Не удалось создать главное окно программы.", L"Ошибка", MB_OK | MB_ICONERROR);
    return 1;
  }
  form->Show(true);
  form->OpenCommandLineFiles(commandLine);
  form->Run();
  return 0;
}
