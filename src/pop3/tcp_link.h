#pragma once
// The POP3 client's TCP transport.
#include <cstddef>
#include <string>
#include <sys/types.h>

#include "platform/socket.h"
#include "platform/tls_channel.h"

namespace larkspin {

class CTcpLink {
 public:
  CTcpLink() = default;
  CTcpLink(const CTcpLink&) = delete;
  CTcpLink& operator=(const CTcpLink&) = delete;
  ~CTcpLink() { Close(); }

  bool Create();
  // Connects to host (dotted IPv4 or a name) and port; ConnectError() tells why it failed.
  bool Connect(const std::string& host, int port);
  // Runs the TLS handshake on the connected socket; afterwards every read and write is
  // encrypted. ConnectError() tells why it failed.
  bool StartTls(const std::string& host, const TlsOptions& options, unsigned timeout_ms);
  bool IsEncrypted() const { return tls_.IsActive(); }
  // Sends every byte (short sends are repeated); false on error.
  bool Send(const char* data, size_t length);
  // False when the wait itself fails; otherwise true, with readable telling whether data came.
  bool WaitReadable(unsigned timeout_ms, bool& readable);
  // One receive: the count, 0 when the peer closed, negative on error.
  ssize_t Receive(char* buffer, size_t size);
  void Close();

  bool IsValid() const { return handle_ != kInvalidSocket; }
  const std::string& ConnectError() const { return connect_error_; }

 private:
  int handle_ = kInvalidSocket;
  CTlsChannel tls_;
  std::string connect_error_;
};

}  // namespace larkspin
