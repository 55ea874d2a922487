#pragma once
// The rhythm of automatic peeks, apart from the timers that drive it: every PeekTime minutes,
// counted down a minute at a time, and who opened the connection of the moment: the user's
// Connect (closed again after a minute of idleness) or the countdown (closed at its peek's end).
namespace larkspin {

class CPeekCountdown {
 public:
  // PeekTime: the countdown starts afresh from minutes; 0 stops automatic peeks.
  void Restart(int minutes);
  int PeekMinutes() const { return peek_minutes_; }
  bool Runs() const { return peek_minutes_ > 0; }

  // One minute passed. True when an automatic peek is due and may_peek lets it start now: it is
  // counted, and its connection is the countdown's. A due turn that may not start is skipped.
  bool MinutePassed(bool may_peek);
  // The user's Connect: the connection is the user's, and automatic peeks pause until it ends.
  void ConnectedByUser();
  // The connection ended; true when it was the user's. Automatic peeks resume if PeekTime runs.
  bool ConnectionEnded();
  // The connection is no longer the user's (the idle close, the program start).
  void ForgetUserConnection() { user_connection_ = false; }
  // Whether automatic peeks go on: only while the Online view shows.
  void SetAutomatic(bool automatic) { automatic_ = automatic; }

  bool Automatic() const { return automatic_; }
  bool UserConnection() const { return user_connection_; }
  int MinutesLeft() const { return minutes_left_; }
  int PeekNumber() const { return peek_number_; }

 private:
  int peek_minutes_ = 5;
  int minutes_left_ = 5;
  int peek_number_ = 1;
  bool automatic_ = false;
  bool user_connection_ = false;
};

}  // namespace larkspin
