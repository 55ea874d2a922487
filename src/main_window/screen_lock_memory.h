#pragma once
// What the screen lock keeps for the unlock: the enabled state the window last chose for each
// control and menu command the lock holds disabled. While the screen is locked, the window's
// choices for a held control land here instead of on the control, so a finished peek or a folder
// change never opens the lock, and the unlock restores what the window's state allows.
#include <unordered_map>

namespace larkspin {

class CScreenLockMemory {
 public:
  using EnabledStates = std::unordered_map<int, bool>;  // by control or command id

  // At the lock: a held control's or command's state at that moment.
  void HoldControl(int id, bool enabled) { controls_.emplace(id, enabled); }
  void HoldCommand(int id, bool enabled) { commands_.emplace(id, enabled); }
  // The window's choice for control id; false when the lock does not hold it.
  bool Remember(int id, bool enabled);
  // At the unlock: the states to restore, and nothing held any more.
  EnabledStates ReleaseControls();
  EnabledStates ReleaseCommands();

 private:
  EnabledStates controls_;
  EnabledStates commands_;
};

}  // namespace larkspin
