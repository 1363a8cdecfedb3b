#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/handles.h"
#include "toolkit/window.h"

namespace yomitron::toolkit {

// A menu item: "&" in the caption marks the access key, "-" is a separator line. Items with
// children open a submenu.
class MenuItem : public Object {
 public:
  std::wstring caption;
  bool enabled = true;
  bool checked = false;
  bool autoCheck = false;  // choosing the item toggles its check before OnClick
  NotifyEvent OnClick;

  void Add(MenuItem& child) { children_.push_back(&child); }
  const std::vector<MenuItem*>& Children() const { return children_; }
  bool IsSeparator() const { return caption == L"-"; }
  // What choosing the item does.
  void Click();

 private:
  std::vector<MenuItem*> children_;
};

// A context menu, built afresh from its items each time it opens so it always shows their
// current state.
class PopupMenu : public Object {
 public:
  MenuItem items;

  // Opens the menu at a screen point, owned by the given window, and runs the chosen item
  // after the menu has closed.
  void Popup(HWND owner, int x, int y);
  // The platform menu for the current state of the items, with command ids from 1 in order.
  UniqueMenu Build(std::vector<MenuItem*>& commands) const;

  // Replaces the platform's menu loop (tests); it receives the built menu and returns the
  // chosen command id, or 0.
  static void SetTrackHandler(std::function<UINT(HMENU, HWND)> handler);
};

}  // namespace yomitron::toolkit
