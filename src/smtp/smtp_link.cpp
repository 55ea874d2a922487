#include "smtp/smtp_link.h"

#include <cerrno>
#include <cstring>

#include "common/format.h"

namespace larkspin {

bool CSMTPLink::Create() {
  Close();
  handle_ = CreateStreamSocket();
  return IsValid();
}

bool CSMTPLink::Connect(const std::string& host, int port, const std::string& local_address) {
  connect_error_.clear();
  if (!local_address.empty() && !BindStreamSocket(handle_, local_address)) {
    connect_error_ = FormatText("Cannot use the local address '%s': %s", local_address.c_str(), std::strerror(errno));
    return false;
  }
  return ConnectStreamSocket(handle_, host, port, connect_error_);
}

bool CSMTPLink::Send(const char* data, size_t length) { return SendAll(handle_, data, length); }

bool CSMTPLink::WaitReadable(unsigned timeout_ms, bool& readable) {
  const WaitResult result = WaitForReadable(handle_, timeout_ms);
  readable = result == WaitResult::kReadable;
  return result != WaitResult::kFailed;
}

ssize_t CSMTPLink::Receive(char* buffer, size_t size) { return ReceiveSome(handle_, buffer, size); }

}  // namespace larkspin
