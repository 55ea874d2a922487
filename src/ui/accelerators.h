#pragma once
// A window's accelerators (res/accelerators.cpp): which one a key press runs, and the key's name
// as the menus show it beside the command.
#include <string>
#include <vector>

#include "res/resource_types.h"

namespace larkspin {

// The accelerator of key with exactly these modifiers that applies while focused_control has the
// focus; nullptr for none.
const Accelerator* FindAccelerator(const std::vector<Accelerator>& table, int key, unsigned modifiers,
                                   int focused_control);
// "Ctrl+N", "Del", "Enter", "Ctrl+Enter".
std::string AcceleratorText(const Accelerator& accelerator);
// Gives every command item of items (submenus too) the text of its command's first accelerator.
void LabelShortcuts(std::vector<MenuItem>& items, const std::vector<Accelerator>& table);

}  // namespace larkspin
