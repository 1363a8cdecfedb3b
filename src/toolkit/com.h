#pragma once

#include <objbase.h>
#include <unknwn.h>

#include <utility>

namespace yomitron::toolkit {

// A move-only owner of one COM interface reference: Release is called exactly once for every
// reference it takes, on every way out of a scope, an exception included.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already owns.
  explicit ComPtr(Interface* p) : p_(p) {}
  ComPtr(ComPtr&& other) noexcept : p_(other.release()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }

  Interface* get() const { return p_; }
  Interface* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // Lets go of what is held and gives the slot a call fills with a new reference.
  Interface** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

  Interface* release() { return std::exchange(p_, nullptr); }
  void reset(Interface* p = nullptr) {
    Interface* old = std::exchange(p_, p);
    if (old) old->Release();
  }

 private:
  Interface* p_ = nullptr;
};

}  // namespace yomitron::toolkit
