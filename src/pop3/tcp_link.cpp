#include "pop3/tcp_link.h"

namespace larkspin {

bool CTcpLink::Create() {
  Close();
  handle_ = CreateStreamSocket();
  return IsValid();
}

bool CTcpLink::Connect(const std::string& host, int port) {
  connect_error_.clear();
  return ConnectStreamSocket(handle_, host, port, connect_error_);
}

bool CTcpLink::StartTls(const std::string& host, const TlsOptions& options, unsigned timeout_ms) {
  connect_error_.clear();
  return tls_.Start(handle_, host, options, timeout_ms, connect_error_);
}

bool CTcpLink::Send(const char* data, size_t length) {
  return tls_.IsActive() ? tls_.SendAll(data, length) : SendAll(handle_, data, length);
}

bool CTcpLink::WaitReadable(unsigned timeout_ms, bool& readable) {
  if (tls_.HasBufferedData()) {
    readable = true;
    return true;
  }
  tls_.SetReadTimeout(timeout_ms);
  const WaitResult result = WaitForReadable(handle_, timeout_ms);
  readable = result == WaitResult::kReadable;
  return result != WaitResult::kFailed;
}

ssize_t CTcpLink::Receive(char* buffer, size_t size) {
  return tls_.IsActive() ? tls_.Receive(buffer, size) : ReceiveSome(handle_, buffer, size);
}

void CTcpLink::Close() {
  tls_.Close();
  CloseSocket(handle_);
}

}  // namespace larkspin
