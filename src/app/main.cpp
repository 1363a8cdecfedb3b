#include <objbase.h>
#include <windows.h>

#include "app/instance_guard.h"
#include "toolkit/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  // The shell link object used for shortcuts needs COM on this thread.
  const HRESULT com = CoInitialize(nullptr);
  try {
    yomitron::RunProgram(showCommand);
  } catch (...) {
    // Only a failure to create the first windows gets here; there is no window to report on.
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
