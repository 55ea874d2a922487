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

bool CTcpLink::Send(const char* data, size_t length) { return SendAll(handle_, data, length); }

bool CTcpLink::WaitReadable(unsigned timeout_ms, bool& readable) {
  const WaitResult result = WaitForReadable(handle_, timeout_ms);
  readable = result == WaitResult::kReadable;
  return result != WaitResult::kFailed;
}

ssize_t CTcpLink::Receive(char* buffer, size_t size) { return ReceiveSome(handle_, buffer, size); }

}  // namespace larkspin
