#include "main_window/peek_countdown.h"

namespace larkspin {

void CPeekCountdown::Restart(int minutes) {
  peek_minutes_ = minutes_left_ = minutes;
  automatic_ = minutes != 0;
}

bool CPeekCountdown::MinutePassed(bool may_peek) {
  --minutes_left_;
  if (!automatic_ || minutes_left_ != 0) return false;
  minutes_left_ = peek_minutes_;
  if (!may_peek) return false;
  ++peek_number_;
  user_connection_ = false;
  return true;
}

void CPeekCountdown::ConnectedByUser() {
  automatic_ = false;
  user_connection_ = true;
}

bool CPeekCountdown::ConnectionEnded() {
  if (Runs()) automatic_ = true;
  const bool was_users = user_connection_;
  user_connection_ = false;
  return was_users;
}

}  // namespace larkspin
