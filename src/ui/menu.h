#pragma once
// A live menu: the window's menu bar or a pop-up menu. Items are found by command id anywhere in
// the tree, or by position in the top level.
#include <string>
#include <vector>

#include "res/resource_types.h"

namespace larkspin {

class CMenu {
 public:
  CMenu() = default;
  explicit CMenu(std::vector<MenuItem> items) : items_(std::move(items)) {}

  void AppendItem(int id, std::string text, bool enabled = true);
  void AppendSeparator();

  const std::vector<MenuItem>& Items() const { return items_; }
  bool Empty() const { return items_.empty(); }

  // The command item with this id, depth first; nullptr when there is none.
  MenuItem* FindCommand(int id);
  const MenuItem* FindCommand(int id) const;
  // The top-level item at this position; nullptr past the end.
  MenuItem* TopLevel(size_t position);
  // The ids of every command item, depth first.
  std::vector<int> CommandIds() const;
  const MenuItem* TopLevel(size_t position) const;

 private:
  std::vector<MenuItem> items_;
};

}  // namespace larkspin
