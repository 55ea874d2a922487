#pragma once
// TLS over an already connected socket, with OpenSSL: certificate chain checked against the
// system's trusted authorities (plus an optional extra authority file) and the host name, unless
// checks are switched off. Reads and writes keep to the caller's time-out.
#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

#include <openssl/types.h>

namespace larkspin {

// How a connection is secured: not at all, TLS from the first byte, or TLS after the
// protocol's own upgrade command (STLS for POP3, STARTTLS for SMTP). kUnknown stands for a
// setting that names no mode: connections refuse it rather than guess.
enum class TlsMode { kNone, kImplicit, kUpgrade, kUnknown };

struct TlsOptions {
  TlsMode mode = TlsMode::kNone;
  bool verify = true;   // check the chain and the host name
  std::string ca_file;  // an extra trusted authority, for a private server
};

// The mode named by a configuration value: "None" (or empty), "SSL" or "STARTTLS", case ignored.
TlsMode ParseTlsMode(std::string_view text);

class CTlsChannel {
 public:
  CTlsChannel() = default;
  CTlsChannel(const CTlsChannel&) = delete;
  CTlsChannel& operator=(const CTlsChannel&) = delete;
  ~CTlsChannel() { Close(); }

  // Runs the handshake on socket for host. On failure error_text names the reason (for a
  // certificate: untrusted, expired or wrong host name).
  bool Start(int socket, const std::string& host, const TlsOptions& options, unsigned timeout_ms,
             std::string& error_text);
  bool IsActive() const { return ssl_ != nullptr; }
  // Limits how long one read may block inside the TLS layer.
  void SetReadTimeout(unsigned timeout_ms);
  bool SendAll(const char* data, size_t length);
  // One read of decrypted bytes: the count, 0 when the peer closed, negative on error or time-out.
  ssize_t Receive(char* buffer, size_t size);
  // Decrypted bytes already waiting in the TLS layer count as readable.
  bool HasBufferedData() const;
  void Close();

 private:
  SSL_CTX* context_ = nullptr;
  SSL* ssl_ = nullptr;
  int socket_ = -1;
  unsigned timeout_ms_ = 0;  // the read limit the socket holds now
};

}  // namespace larkspin
