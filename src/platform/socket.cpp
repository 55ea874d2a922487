#include "platform/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "common/format.h"
#include "platform/last_error.h"

namespace larkspin {

namespace {
// The IPv4 address of host: a dotted address as it is, else the first address of a lookup.
bool ResolveIPv4(const std::string& host, in_addr& address) {
  if (inet_pton(AF_INET, host.c_str(), &address) == 1) return true;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
  address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}
}  // namespace

int CreateStreamSocket() {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  return s < 0 ? kInvalidSocket : s;
}

void SendAtOnce(int socket) {
  const int on = 1;
  ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool BindStreamSocket(int socket, const std::string& local_address) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  if (!ResolveIPv4(local_address, local.sin_addr)) {
    SetLastErrorCode(kErrorInvalidArgument);
    return false;
  }
  return ::bind(socket, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
}

bool ConnectStreamSocket(int socket, const std::string& host, int port, std::string& error_text) {
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(static_cast<uint16_t>(port));
  if (!ResolveIPv4(host, peer.sin_addr)) {
    SetLastErrorCode(kErrorInvalidArgument);
    error_text = FormatText("Cannot resolve host name '%s'.", host.c_str());
    return false;
  }
  int result;
  do {
    result = ::connect(socket, reinterpret_cast<sockaddr*>(&peer), sizeof peer);
  } while (result < 0 && errno == EINTR);
  if (result == 0) return true;
  error_text = FormatText("Cannot connect to %s:%d: %s", host.c_str(), port, std::strerror(errno));
  return false;
}

bool SendAll(int socket, const char* data, size_t length) {
  while (length > 0) {
    const ssize_t sent = ::send(socket, data, length, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data += sent;
    length -= static_cast<size_t>(sent);
  }
  return true;
}

WaitResult WaitForReadable(int socket, unsigned timeout_ms) {
  pollfd entry{socket, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&entry, 1, static_cast<int>(timeout_ms > 0x7FFFFFFF ? 0x7FFFFFFF : timeout_ms));
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return WaitResult::kFailed;
  return ready == 0 ? WaitResult::kTimedOut : WaitResult::kReadable;
}

ssize_t ReceiveSome(int socket, char* buffer, size_t size) {
  ssize_t received;
  do {
    received = ::recv(socket, buffer, size, 0);
  } while (received < 0 && errno == EINTR);
  return received;
}

void CloseSocket(int& socket) {
  if (socket == kInvalidSocket) return;
  ::close(socket);
  socket = kInvalidSocket;
}

}  // namespace larkspin
