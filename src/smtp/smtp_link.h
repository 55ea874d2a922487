#pragma once
// The SMTP connection's TCP transport: one blocking IPv4 stream socket.
#include <cstddef>
#include <string>
#include <sys/types.h>

#include "platform/socket.h"

namespace larkspin {

class CSMTPLink {
 public:
  CSMTPLink() = default;
  CSMTPLink(const CSMTPLink&) = delete;
  CSMTPLink& operator=(const CSMTPLink&) = delete;
  ~CSMTPLink() { Close(); }

  // A new socket; a socket still open from an earlier connection is closed first.
  bool Create();
  // Binds to local_address first when it is not empty, then connects to host and port.
  // ConnectError() tells why it failed.
  bool Connect(const std::string& host, int port, const std::string& local_address);
  // Sends every byte (short sends are repeated, a closed peer raises no signal); false on error.
  bool Send(const char* data, size_t length);
  // False when the wait itself fails; otherwise true, with readable telling whether data came.
  bool WaitReadable(unsigned timeout_ms, bool& readable);
  // One receive: the count, 0 when the peer closed, negative on error.
  ssize_t Receive(char* buffer, size_t size);
  void Close() { CloseSocket(handle_); }

  bool IsValid() const { return handle_ != kInvalidSocket; }
  const std::string& ConnectError() const { return connect_error_; }

 private:
  int handle_ = kInvalidSocket;
  std::string connect_error_;
};

}  // namespace larkspin
