#pragma once

#include <objbase.h>
#include <windows.h>

#include <utility>

namespace yomitron::toolkit {

// A move-only owner of one Win32 handle; Close is called exactly once for every handle taken.
template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : handle_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) {
    Handle old = std::exchange(handle_, h);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Invalid();
};

template <typename T>
struct GdiTraits {
  static T Invalid() { return nullptr; }
  static void Close(T h) { DeleteObject(h); }
};
struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};
struct KernelTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelTraits>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;

// Selects a GDI object into a device context for one scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A screen device context for one scope.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace yomitron::toolkit
