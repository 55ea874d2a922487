#include "ui/command_map.h"

namespace larkspin {

void CCommandMap::OnCommand(int id, CommandHandler handler) { commands_.push_back({id, std::move(handler)}); }

void CCommandMap::OnCommandRange(int first, int last, RangeHandler handler) {
  ranges_.push_back({first, last, std::move(handler)});
}

void CCommandMap::OnNotify(int control_id, NotifyCode code, NotifyHandler handler) {
  notifications_.push_back({control_id, code, std::move(handler)});
}

bool CCommandMap::DispatchCommand(int id) const {
  for (const SingleEntry& entry : commands_) {
    if (entry.id != id) continue;
    entry.handler();
    return true;
  }
  for (const RangeEntry& entry : ranges_) {
    if (id < entry.first || id > entry.last) continue;
    entry.handler(id);
    return true;
  }
  return false;
}

bool CCommandMap::DispatchNotify(const Notification& notification) const {
  for (const NotifyEntry& entry : notifications_) {
    if (entry.control_id != notification.control_id || entry.code != notification.code) continue;
    entry.handler(notification);
    return true;
  }
  return false;
}

}  // namespace larkspin
