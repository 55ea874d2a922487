#pragma once
// The thread's last error number, with the Winsock values the program reports.

namespace larkspin {

enum SocketError : int {
  kErrorNone = 0,
  kErrorInvalidArgument = 10022,  // host name that cannot be resolved
  kErrorNegativeReply = 10043,    // a server answered with something other than "+OK"
};

void SetLastErrorCode(int code);
int LastErrorCode();

}  // namespace larkspin
