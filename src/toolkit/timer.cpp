#include "toolkit/timer.h"

#include <utility>

#include "base/error.h"

namespace yomitron::toolkit {

namespace {

const WindowClass kTimerClass{L"TTimerWindow"};
constexpr UINT_PTR kTimerId = 1;

std::function<bool(HWND, UINT_PTR, UINT)>& CreateHandler() {
  static std::function<bool(HWND, UINT_PTR, UINT)> handler;
  return handler;
}

}  // namespace

Timer::Timer() {
  CreateHandle(kTimerClass, 0, 0, RECT{}, HWND_MESSAGE);
}

void Timer::SetCreateHandler(std::function<bool(HWND, UINT_PTR, UINT)> handler) {
  CreateHandler() = std::move(handler);
}

void Timer::SetInterval(unsigned milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Update();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void Timer::SetOnTimer(NotifyEvent handler) {
  onTimer_ = std::move(handler);
  Update();
}

void Timer::Update() {
  KillTimer(Handle(), kTimerId);
  running_ = false;
  if (interval_ == 0 || !enabled_ || !onTimer_) return;
  const bool created = CreateHandler() ? CreateHandler()(Handle(), kTimerId, interval_)
                                       : SetTimer(Handle(), kTimerId, interval_, nullptr) != 0;
  if (!created) throw Error(L"タイマーを取得できません");
  running_ = true;
}

LRESULT Timer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (onTimer_) onTimer_(*this);
    return 0;
  }
  return Window::WindowProc(message, wParam, lParam);
}

}  // namespace yomitron::toolkit
