#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/window.h"

namespace yomitron::toolkit {

// A timer delivering ticks on the user-interface thread. Setting the interval it already has
// changes nothing; a new interval restarts the countdown. When the system refuses a timer the
// change throws "タイマーを取得できません" and the timer stays stopped until the interval is
// next changed.
class Timer : public Window {
 public:
  Timer();

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetOnTimer(NotifyEvent handler);
  // Whether a system timer is running now.
  bool Running() const { return running_; }

  // Replaces SetTimer (tests): return false to refuse the timer.
  static void SetCreateHandler(std::function<bool(HWND, UINT_PTR, UINT)> handler);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Update();

  unsigned interval_ = 1000;
  bool enabled_ = true;
  bool running_ = false;
  NotifyEvent onTimer_;
};

}  // namespace yomitron::toolkit
