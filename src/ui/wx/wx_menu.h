#pragma once
// Menus of the wx backend: the menu strip that stands in for a window menu, the wx menus built
// from the program's menu items, and the translation of the program's command ids, which may lie
// above the toolkit's limit of 32767, to the toolkit's own item ids and back.
#include <map>
#include <vector>

#include <wx/panel.h>

#include "res/resource_types.h"

class wxMenu;

namespace larkspin {

// The command ids of the menu built last, by the toolkit id each item got. Only one menu of a
// window is open at a time, so building a menu forgets the ids of the one before.
class CWxMenuIds {
 public:
  void Forget() { commands_.clear(); }
  void Remember(int toolkit_id, int command_id) { commands_[toolkit_id] = command_id; }
  // The command of a toolkit id; 0 for an id no item of the menu has.
  int CommandOf(int toolkit_id) const;

 private:
  std::map<int, int> commands_;
};

// A wx menu holding items, built afresh so that check marks and texts are current. Each command
// item gets a toolkit id of its own, recorded in ids. Check items and items shown checked get a
// check box; the others are plain.
wxMenu* BuildWxMenu(const std::vector<MenuItem>& items, CWxMenuIds& ids);

// A row of menu titles; a click opens the title's menu, whose commands arrive as menu events of
// the top-level window with toolkit ids recorded in ids.
class CWxMenuStrip : public wxPanel {
 public:
  CWxMenuStrip(wxWindow* parent, CWxMenuIds& ids);
  void SetItems(const std::vector<MenuItem>& top_level);
  // Opens the menu of the title at position, below the title; false past the last title.
  bool OpenMenu(size_t position);

 private:
  CWxMenuIds& ids_;
  std::vector<MenuItem> items_;
  std::vector<wxWindow*> titles_;
};

}  // namespace larkspin
