// modelpicker.exe: chooses a component model for the 3ds Max side.
#include <windows.h>

#include "modelpicker/modelpicker_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  return RunModelPicker(instance, commandLine);
}
