#include "platform/tls_channel.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <csignal>
#include <mutex>

#include "common/format.h"
#include "common/string_tools.h"

namespace larkspin {

namespace {

// OpenSSL writes to the socket with write(), which raises SIGPIPE on a closed peer.
void IgnoreBrokenPipes() {
  static std::once_flag once;
  std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

void SetSocketTimeouts(int socket, unsigned timeout_ms) {
  timeval limit{};
  const unsigned effective = timeout_ms == 0 ? 1 : timeout_ms;  // 0 would mean "wait for ever"
  limit.tv_sec = effective / 1000;
  limit.tv_usec = static_cast<suseconds_t>((effective % 1000) * 1000);
  setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

bool IsIpAddress(const std::string& host) {
  unsigned char address[16];
  return inet_pton(AF_INET, host.c_str(), address) == 1 || inet_pton(AF_INET6, host.c_str(), address) == 1;
}

std::string OpenSslErrorText() {
  const unsigned long code = ERR_get_error();
  ERR_clear_error();
  if (code == 0) return "the connection was closed during the handshake";
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  return text;
}

// The user's word for why a certificate was refused, with OpenSSL's own text.
std::string CertificateFailureText(long result) {
  const char* reason = "untrusted certificate";
  switch (result) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID:
      reason = "expired certificate";
      break;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      reason = "wrong host name";
      break;
    default:
      break;
  }
  return FormatText("TLS certificate refused: %s (%s).", reason, X509_verify_cert_error_string(result));
}

bool ConfigureVerification(SSL_CTX* context, SSL* ssl, const std::string& host, const TlsOptions& options,
                           std::string& error_text) {
  if (!options.verify) {
    SSL_set_verify(ssl, SSL_VERIFY_NONE, nullptr);
    return true;
  }
  SSL_CTX_set_default_verify_paths(context);
  if (!options.ca_file.empty() && SSL_CTX_load_verify_locations(context, options.ca_file.c_str(), nullptr) != 1) {
    error_text = FormatText("Cannot read the trusted authority file '%s'.", options.ca_file.c_str());
    return false;
  }
  SSL_set_verify(ssl, SSL_VERIFY_PEER, nullptr);
  X509_VERIFY_PARAM* parameters = SSL_get0_param(ssl);
  if (IsIpAddress(host)) return X509_VERIFY_PARAM_set1_ip_asc(parameters, host.c_str()) == 1;
  return SSL_set1_host(ssl, host.c_str()) == 1;
}

}  // namespace

TlsMode ParseTlsMode(std::string_view text) {
  if (text.empty() || EqualsIgnoringCase(text, "None")) return TlsMode::kNone;
  if (EqualsIgnoringCase(text, "SSL")) return TlsMode::kImplicit;
  if (EqualsIgnoringCase(text, "STARTTLS")) return TlsMode::kUpgrade;
  return TlsMode::kUnknown;
}

bool CTlsChannel::Start(int socket, const std::string& host, const TlsOptions& options, unsigned timeout_ms,
                        std::string& error_text) {
  Close();
  IgnoreBrokenPipes();
  context_ = SSL_CTX_new(TLS_client_method());
  if (context_ == nullptr) {
    error_text = "Cannot set up TLS: " + OpenSslErrorText();
    return false;
  }
  SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION);
  // Whole records per receive call instead of header and body apart; HasBufferedData sees them.
  SSL_CTX_set_read_ahead(context_, 1);
  ssl_ = SSL_new(context_);
  socket_ = socket;
  if (ssl_ == nullptr || !ConfigureVerification(context_, ssl_, host, options, error_text)) {
    if (error_text.empty()) error_text = "Cannot set up TLS: " + OpenSslErrorText();
    Close();
    return false;
  }
  if (!IsIpAddress(host)) SSL_set_tlsext_host_name(ssl_, host.c_str());
  SSL_set_fd(ssl_, socket);
  SetSocketTimeouts(socket, timeout_ms < 1000 ? 1000 : timeout_ms);
  if (SSL_connect(ssl_) == 1) {
    SetSocketTimeouts(socket, timeout_ms);
    timeout_ms_ = timeout_ms;
    return true;
  }
  const long verification = SSL_get_verify_result(ssl_);
  error_text = verification != X509_V_OK ? CertificateFailureText(verification)
                                         : "TLS handshake failed: " + OpenSslErrorText();
  ERR_clear_error();
  SSL_free(ssl_);  // no close_notify after a failed handshake
  ssl_ = nullptr;
  Close();
  return false;
}

void CTlsChannel::SetReadTimeout(unsigned timeout_ms) {
  if (!IsActive() || timeout_ms == timeout_ms_) return;
  SetSocketTimeouts(socket_, timeout_ms);
  timeout_ms_ = timeout_ms;
}

bool CTlsChannel::SendAll(const char* data, size_t length) {
  while (length > 0) {
    const int chunk = static_cast<int>(std::min<size_t>(length, 1 << 30));
    const int written = SSL_write(ssl_, data, chunk);
    if (written <= 0) {
      ERR_clear_error();
      return false;
    }
    data += written;
    length -= static_cast<size_t>(written);
  }
  return true;
}

ssize_t CTlsChannel::Receive(char* buffer, size_t size) {
  const int wanted = static_cast<int>(std::min<size_t>(size, 1 << 30));
  const int received = SSL_read(ssl_, buffer, wanted);
  if (received > 0) return received;
  const int error = SSL_get_error(ssl_, received);
  ERR_clear_error();
  return error == SSL_ERROR_ZERO_RETURN ? 0 : -1;
}

bool CTlsChannel::HasBufferedData() const { return ssl_ != nullptr && SSL_has_pending(ssl_) == 1; }

void CTlsChannel::Close() {
  if (ssl_ != nullptr) {
    SSL_shutdown(ssl_);
    SSL_free(ssl_);
    ssl_ = nullptr;
  }
  if (context_ != nullptr) {
    SSL_CTX_free(context_);
    context_ = nullptr;
  }
  ERR_clear_error();
  socket_ = -1;
}

}  // namespace larkspin
