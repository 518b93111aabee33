// Velkboard, the scheme editor. The command line is read as UTF-16.
#include <windows.h>

#include "app/shell/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  return RunVelkboard(instance, SkipProgramName(GetCommandLineW()));
}
