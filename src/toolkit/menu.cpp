#include "toolkit/menu.h"

namespace yomitron::toolkit {

namespace {

std::function<UINT(HMENU, HWND)>& TrackHandler() {
  static std::function<UINT(HMENU, HWND)> handler;
  return handler;
}

void AppendItems(HMENU menu, const MenuItem& parent, std::vector<MenuItem*>& commands) {
  for (MenuItem* item : parent.Children()) {
    if (item->IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT state =
        (item->enabled ? MF_ENABLED : MF_GRAYED) | (item->checked ? MF_CHECKED : MF_UNCHECKED);
    if (!item->Children().empty()) {
      HMENU sub = CreatePopupMenu();
      AppendItems(sub, *item, commands);
      AppendMenuW(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub),
                  item->caption.c_str());
      continue;
    }
    commands.push_back(item);
    AppendMenuW(menu, MF_STRING | state, commands.size(), item->caption.c_str());
  }
}

}  // namespace

void MenuItem::Click() {
  if (autoCheck) checked = !checked;
  if (OnClick) OnClick(*this);
}

UniqueMenu PopupMenu::Build(std::vector<MenuItem*>& commands) const {
  UniqueMenu menu(CreatePopupMenu());
  if (menu) AppendItems(menu.get(), items, commands);
  return menu;
}

void PopupMenu::SetTrackHandler(std::function<UINT(HMENU, HWND)> handler) {
  TrackHandler() = std::move(handler);
}

void PopupMenu::Popup(HWND owner, int x, int y) {
  std::vector<MenuItem*> commands;
  UniqueMenu menu = Build(commands);
  if (!menu) return;
  UINT chosen = 0;
  if (TrackHandler()) {
    chosen = TrackHandler()(menu.get(), owner);
  } else {
    // The owner must be in the foreground, or the menu would not close when the user clicks
    // elsewhere.
    SetForegroundWindow(owner);
    chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                         x, y, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
  }
  menu.reset();
  // Enabled states are checked again: the item may have changed while the menu was open.
  if (chosen >= 1 && chosen <= commands.size() && commands[chosen - 1]->enabled) {
    commands[chosen - 1]->Click();
  }
}

}  // namespace yomitron::toolkit
