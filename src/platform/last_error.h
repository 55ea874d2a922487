#pragma once
// The thread's last error number, with the Winsock values the program reports.

namespace larkspin {

enum SocketError : int {
  kErrorNone = 0,
  kErrorBadCommand = 22,          // an SMTP server refused a command of the mail transaction
  kErrorInvalidArgument = 10022,  // host name that cannot be resolved
  kErrorNegativeReply = 10043,    // a server answered with something other than "+OK" (or the code expected)
  kErrorTimedOut = 10060,         // no reply within the time-out
};

void SetLastErrorCode(int code);
int LastErrorCode();

}  // namespace larkspin
