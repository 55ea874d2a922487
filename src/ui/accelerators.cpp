#include "ui/accelerators.h"

namespace larkspin {

namespace {
std::string KeyName(int key) {
  switch (key) {
    case kKeyReturn: return "Enter";
    case kKeyEscape: return "Esc";
    case kKeyDelete: return "Del";
    default: return std::string(1, static_cast<char>(key));
  }
}

const Accelerator* AcceleratorOfCommand(const std::vector<Accelerator>& table, int command) {
  for (const Accelerator& accelerator : table)
    if (accelerator.command == command) return &accelerator;
  return nullptr;
}
}  // namespace

const Accelerator* FindAccelerator(const std::vector<Accelerator>& table, int key, unsigned modifiers,
                                   int focused_control) {
  for (const Accelerator& accelerator : table) {
    if (accelerator.key != key || accelerator.modifiers != modifiers) continue;
    if (accelerator.focus_control == 0 || accelerator.focus_control == focused_control) return &accelerator;
  }
  return nullptr;
}

std::string AcceleratorText(const Accelerator& accelerator) {
  std::string text;
  if (accelerator.modifiers & kKeyCtrl) text += "Ctrl+";
  if (accelerator.modifiers & kKeyAlt) text += "Alt+";
  if (accelerator.modifiers & kKeyShift) text += "Shift+";
  return text + KeyName(accelerator.key);
}

void LabelShortcuts(std::vector<MenuItem>& items, const std::vector<Accelerator>& table) {
  for (MenuItem& item : items) {
    LabelShortcuts(item.children, table);
    if (item.id == 0) continue;
    if (const Accelerator* accelerator = AcceleratorOfCommand(table, item.id))
      item.shortcut = AcceleratorText(*accelerator);
  }
}

}  // namespace larkspin
