#pragma once
// The values of config.ini read once at start.

namespace larkspin {

struct StartupSettings {
  int mail_threshold_kb = 100;  // MailThreshold: larger messages are shown in red
  int timeout_seconds = 60;     // TimeOut: one wait for a server reply
  int peek_minutes = 5;         // PeekTime: 0 switches automatic peeking off
};

// Reads MailThreshold, TimeOut and PeekTime from section "System", in that order.
StartupSettings ReadStartupSettings();

}  // namespace larkspin
