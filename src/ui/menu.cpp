#include "ui/menu.h"

namespace larkspin {

namespace {
const MenuItem* FindIn(const std::vector<MenuItem>& items, int id) {
  for (const MenuItem& item : items) {
    if (!item.separator && item.children.empty() && item.id == id) return &item;
    if (const MenuItem* found = FindIn(item.children, id)) return found;
  }
  return nullptr;
}

void CollectCommandIds(const std::vector<MenuItem>& items, std::vector<int>& ids) {
  for (const MenuItem& item : items) {
    if (!item.separator && item.children.empty() && item.id != 0) ids.push_back(item.id);
    CollectCommandIds(item.children, ids);
  }
}
}  // namespace

void CMenu::AppendItem(int id, std::string text, bool enabled) {
  MenuItem item;
  item.id = id;
  item.text = std::move(text);
  item.enabled = enabled;
  items_.push_back(std::move(item));
}

void CMenu::AppendSeparator() {
  MenuItem item;
  item.separator = true;
  items_.push_back(std::move(item));
}

const MenuItem* CMenu::FindCommand(int id) const { return FindIn(items_, id); }

std::vector<int> CMenu::CommandIds() const {
  std::vector<int> ids;
  CollectCommandIds(items_, ids);
  return ids;
}

MenuItem* CMenu::FindCommand(int id) { return const_cast<MenuItem*>(FindIn(items_, id)); }

const MenuItem* CMenu::TopLevel(size_t position) const {
  return position < items_.size() ? &items_[position] : nullptr;
}

MenuItem* CMenu::TopLevel(size_t position) { return position < items_.size() ? &items_[position] : nullptr; }

}  // namespace larkspin
