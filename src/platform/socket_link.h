#pragma once
// One blocking IPv4 stream connection to a server, plain or encrypted: the transport under the
// POP3 and SMTP clients. Replies are read as "wait until readable, then receive", and both calls
// keep their meaning with TLS (decrypted bytes already waiting count as readable).
#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

#include "platform/socket.h"
#include "platform/tls_channel.h"

namespace larkspin {

class CSocketLink {
 public:
  CSocketLink() = default;
  CSocketLink(const CSocketLink&) = delete;
  CSocketLink& operator=(const CSocketLink&) = delete;
  ~CSocketLink() { Close(); }

  // A new socket; one still open from an earlier connection is closed first.
  bool Create();
  // Binds to local_address first when it is not empty, then connects to host (dotted IPv4 or a
  // name) and port. ConnectError() tells why it failed.
  bool Connect(const std::string& host, int port, const std::string& local_address = "");
  // Runs the TLS handshake on the connected socket; afterwards every read and write is
  // encrypted. ConnectError() tells why it failed.
  bool StartTls(const std::string& host, const TlsOptions& options, unsigned timeout_ms);
  // Sends every byte (short sends are repeated, a closed peer raises no signal); false on error.
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

// The log line for a TLS connection made without certificate checks (TLSVerify=0).
std::string UncheckedCertificateWarning(const std::string& host, int port);
// Why the login stops when a server answers the upgrade command (STLS, STARTTLS) with reply
// other than a go-ahead: the login never goes out unencrypted.
std::string UpgradeRefusedText(std::string_view command, std::string_view reply);

}  // namespace larkspin
