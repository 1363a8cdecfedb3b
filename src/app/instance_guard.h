#pragma once

#include <string>

#include "toolkit/handles.h"

namespace yomitron {

// The system-wide named mutex that keeps a second instance of the same executable name from
// running. Creating it and learning whether it existed is one step, so two instances started
// at the same moment cannot both run. A guard that exists but cannot be opened counts as none.
class InstanceGuard {
 public:
  explicit InstanceGuard(const std::wstring& name);
  bool AnotherInstanceRuns() const { return anotherInstanceRuns_; }
  bool Held() const { return static_cast<bool>(handle_); }

 private:
  toolkit::UniqueKernelHandle handle_;
  bool anotherInstanceRuns_ = false;
};

// Starts the program: the guard test, the title, the main window and the message loop.
void RunProgram(int showCommand);

}  // namespace yomitron
