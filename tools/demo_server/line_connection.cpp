#include "demo_server/line_connection.h"

#include "platform/socket.h"

namespace larkspin::demo {

bool CLineConnection::ReadLine(std::string& line) {
  for (;;) {
    const size_t newline = pending_.find('\n');
    if (newline != std::string::npos) {
      const size_t end = newline > 0 && pending_[newline - 1] == '\r' ? newline - 1 : newline;
      line.assign(pending_, 0, end);
      pending_.erase(0, newline + 1);
      return true;
    }
    if (pending_.size() >= kMaxLineLength) return false;
    if (WaitForReadable(socket_, kIdleTimeoutMs) != WaitResult::kReadable) return false;
    char chunk[4096];
    const ssize_t received = ReceiveSome(socket_, chunk, sizeof chunk);
    if (received <= 0) return false;
    pending_.append(chunk, static_cast<size_t>(received));
  }
}

bool CLineConnection::Send(std::string_view text) { return SendAll(socket_, text.data(), text.size()); }

std::string PrintableText(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text;
}

}  // namespace larkspin::demo
