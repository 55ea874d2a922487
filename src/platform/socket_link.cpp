#include "platform/socket_link.h"

#include <cerrno>
#include <cstring>

#include "common/format.h"

namespace larkspin {

bool CSocketLink::Create() {
  Close();
  handle_ = CreateStreamSocket();
  return IsValid();
}

bool CSocketLink::Connect(const std::string& host, int port, const std::string& local_address) {
  connect_error_.clear();
  if (!local_address.empty() && !BindStreamSocket(handle_, local_address)) {
    connect_error_ = FormatText("Cannot use the local address '%s': %s", local_address.c_str(), std::strerror(errno));
    return false;
  }
  if (!ConnectStreamSocket(handle_, host, port, connect_error_)) return false;
  SendAtOnce(handle_);
  return true;
}

bool CSocketLink::StartTls(const std::string& host, const TlsOptions& options, unsigned timeout_ms) {
  connect_error_.clear();
  return tls_.Start(handle_, host, options, timeout_ms, connect_error_);
}

bool CSocketLink::Send(const char* data, size_t length) {
  return tls_.IsActive() ? tls_.SendAll(data, length) : SendAll(handle_, data, length);
}

bool CSocketLink::WaitReadable(unsigned timeout_ms, bool& readable) {
  if (tls_.HasBufferedData()) {
    readable = true;
    return true;
  }
  tls_.SetReadTimeout(timeout_ms);
  const WaitResult result = WaitForReadable(handle_, timeout_ms);
  readable = result == WaitResult::kReadable;
  return result != WaitResult::kFailed;
}

ssize_t CSocketLink::Receive(char* buffer, size_t size) {
  return tls_.IsActive() ? tls_.Receive(buffer, size) : ReceiveSome(handle_, buffer, size);
}

void CSocketLink::Close() {
  tls_.Close();
  CloseSocket(handle_);
}

std::string UncheckedCertificateWarning(const std::string& host, int port) {
  return FormatText("Warning: TLS certificate checks are off for %s:%d (TLSVerify=0).", host.c_str(), port);
}

std::string UpgradeRefusedText(std::string_view command, std::string_view reply) {
  return "The server does not offer " + std::string(command) + " (" + std::string(reply) +
         "); not logging in without encryption.";
}

}  // namespace larkspin
