#include "main_window/screen_lock_memory.h"

#include <utility>

namespace larkspin {

bool CScreenLockMemory::Remember(int id, bool enabled) {
  const auto held = controls_.find(id);
  if (held == controls_.end()) return false;
  held->second = enabled;
  return true;
}

CScreenLockMemory::EnabledStates CScreenLockMemory::ReleaseControls() { return std::exchange(controls_, {}); }

CScreenLockMemory::EnabledStates CScreenLockMemory::ReleaseCommands() { return std::exchange(commands_, {}); }

}  // namespace larkspin
