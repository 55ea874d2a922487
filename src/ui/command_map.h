#pragma once
// Handlers of a window's commands and notifications, registered by id or id range, looked up
// when the backend reports a command: the message map of the window.
#include <functional>
#include <vector>

#include "ui/notification.h"

namespace larkspin {

class CCommandMap {
 public:
  using CommandHandler = std::function<void()>;
  using RangeHandler = std::function<void(int id)>;
  using NotifyHandler = std::function<void(const Notification&)>;

  void OnCommand(int id, CommandHandler handler);
  // Every id from first to last, both included.
  void OnCommandRange(int first, int last, RangeHandler handler);
  void OnNotify(int control_id, NotifyCode code, NotifyHandler handler);

  // Runs the handler registered for id (single ids before ranges); false when there is none.
  bool DispatchCommand(int id) const;
  bool DispatchNotify(const Notification& notification) const;

 private:
  struct SingleEntry {
    int id;
    CommandHandler handler;
  };
  struct RangeEntry {
    int first;
    int last;
    RangeHandler handler;
  };
  struct NotifyEntry {
    int control_id;
    NotifyCode code;
    NotifyHandler handler;
  };
  std::vector<SingleEntry> commands_;
  std::vector<RangeEntry> ranges_;
  std::vector<NotifyEntry> notifications_;
};

}  // namespace larkspin
