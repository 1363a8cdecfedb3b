#include <windows.h>

#include <string>

#include "Unit1.h"
#include "app/instance_guard.h"
#include "base/paths.h"
#include "toolkit/application.h"
#include "toolkit/system_clock.h"

namespace yomitron {

InstanceGuard::InstanceGuard(const std::wstring& name) {
  SetLastError(ERROR_SUCCESS);
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    anotherInstanceRuns_ = true;
    return;
  }
  handle_.reset(mutex);  // none when it exists but cannot be opened: run without one
}

void RunProgram(int showCommand) {
  toolkit::Application application;
  const std::wstring executable = toolkit::ModulePath();
  const std::wstring guardName(FileNameOf(executable));
  const InstanceGuard guard(guardName);
  if (guard.AnotherInstanceRuns()) {
    application.MessageBox(L"既に起動されています。", std::wstring(WithoutExtension(guardName)),
                           MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  application.SetTitle(L"ヨミトロン");
  application.SetHelpFile(L"");
  toolkit::SystemClock clock;
  TForm1 form(application, clock);
  application.Run(form, showCommand);
}

}  // namespace yomitron
