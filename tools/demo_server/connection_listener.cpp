#include "demo_server/connection_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/format.h"
#include "platform/socket.h"

namespace larkspin::demo {

bool CConnectionListener::Start(int port, Conversation conversation, std::string& error) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int reuse = 1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
      ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    error = FormatText("cannot listen on 127.0.0.1:%d: %s", port, std::strerror(errno));
    CloseSocket(listener_);
    return false;
  }
  port_ = ntohs(address.sin_port);
  conversation_ = std::move(conversation);
  accept_thread_ = std::thread([this] { AcceptLoop(); });
  return true;
}

void CConnectionListener::Stop() {
  if (!accept_thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    // Wakes the blocked accept and every conversation waiting for its client.
    ::shutdown(listener_, SHUT_RDWR);
    for (Client& client : clients_) {
      if (!client.finished) ::shutdown(client.socket, SHUT_RDWR);
    }
  }
  accept_thread_.join();
  for (Client& client : clients_) client.thread.join();
  clients_.clear();
  CloseSocket(listener_);
}

void CConnectionListener::AcceptLoop() {
  for (;;) {
    const int socket = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    const int accept_error = errno;
    std::lock_guard lock(mutex_);
    if (stopping_) {
      if (socket >= 0) ::close(socket);
      return;
    }
    if (socket < 0) {
      if (accept_error == EINTR || accept_error == ECONNABORTED) continue;
      return;
    }
    JoinFinishedClients();
    Client& client = clients_.emplace_back();
    client.socket = socket;
    client.thread = std::thread([this, &client] { Serve(client); });
  }
}

void CConnectionListener::Serve(Client& client) {
  {
    CLineConnection connection(client.socket);
    conversation_(connection);
  }
  // Marked finished before the socket is closed, so Stop never cuts a number reused meanwhile.
  std::lock_guard lock(mutex_);
  client.finished = true;
  ::close(client.socket);
}

void CConnectionListener::JoinFinishedClients() {
  for (auto it = clients_.begin(); it != clients_.end();) {
    if (!it->finished) {
      ++it;
      continue;
    }
    it->thread.join();
    it = clients_.erase(it);
  }
}

}  // namespace larkspin::demo
