#include "support/delay_proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <stdexcept>
#include <string>

namespace larkspin::test_support {

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in LoopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

void MakeNonBlockingWithoutDelay(int handle) {
  ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) | O_NONBLOCK);
  const int on = 1;
  ::setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// One direction of a relayed connection: what was read from `from`, due for `to` at its time.
struct Direction {
  int from;
  int to;
  struct Piece {
    Clock::time_point due;
    std::string bytes;
  };
  std::deque<Piece> queue;
  bool reading = true;  // `from` has not closed yet

  bool Done() const { return !reading && queue.empty(); }

  // Reads what is waiting; false on an error.
  bool Read(std::chrono::milliseconds delay) {
    if (!reading) return true;
    char chunk[65536];
    const ssize_t received = ::recv(from, chunk, sizeof chunk, 0);
    if (received < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
    if (received == 0) {
      reading = false;
      return true;
    }
    queue.push_back({Clock::now() + delay, std::string(chunk, static_cast<size_t>(received))});
    return true;
  }

  // Writes the pieces that are due, as far as the peer takes them; false on an error.
  bool Write() {
    while (!queue.empty() && queue.front().due <= Clock::now()) {
      std::string& bytes = queue.front().bytes;
      const ssize_t sent = ::send(to, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
      bytes.erase(0, static_cast<size_t>(sent));
      if (bytes.empty()) queue.pop_front();
    }
    if (Done()) ::shutdown(to, SHUT_WR);
    return true;
  }

  // Waiting to write a piece that is due.
  bool Blocked() const { return !queue.empty() && queue.front().due <= Clock::now(); }
};

// The poll time-out until the earliest piece becomes due (100 ms at most, to notice a stop).
int WaitMs(const Direction& a, const Direction& b) {
  auto wait = std::chrono::milliseconds(100);
  for (const Direction* d : {&a, &b}) {
    if (d->queue.empty()) continue;
    const auto until = std::chrono::ceil<std::chrono::milliseconds>(d->queue.front().due - Clock::now());
    wait = std::min(wait, std::max(until, std::chrono::milliseconds(0)));
  }
  return static_cast<int>(wait.count());
}

}  // namespace

DelayProxy::DelayProxy(int target_port, int delay_ms) : target_port_(target_port), delay_ms_(delay_ms) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = LoopbackAddress(0);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("delay proxy cannot listen");
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

DelayProxy::~DelayProxy() {
  stopping_ = true;
  acceptor_.join();
  ::close(listener_);
  for (std::thread& relay : relays_) relay.join();
}

void DelayProxy::AcceptLoop() {
  while (!stopping_) {
    pollfd entry{listener_, POLLIN, 0};
    if (::poll(&entry, 1, 100) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::lock_guard lock(mutex_);
    relays_.emplace_back([this, client] { Relay(client); });
  }
}

void DelayProxy::Relay(int client) {
  const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = LoopbackAddress(target_port_);
  if (server >= 0 && ::connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    MakeNonBlockingWithoutDelay(client);
    MakeNonBlockingWithoutDelay(server);
    const std::chrono::milliseconds delay(delay_ms_);
    Direction up{client, server};
    Direction down{server, client};
    while (!stopping_ && !(up.Done() && down.Done())) {
      pollfd entries[2] = {{client, 0, 0}, {server, 0, 0}};
      for (Direction* d : {&up, &down}) {
        pollfd& in = d->from == client ? entries[0] : entries[1];
        pollfd& out = d->to == client ? entries[0] : entries[1];
        if (d->reading) in.events |= POLLIN;
        if (d->Blocked()) out.events |= POLLOUT;
      }
      if (::poll(entries, 2, WaitMs(up, down)) < 0 && errno != EINTR) break;
      if (!up.Read(delay) || !down.Read(delay) || !up.Write() || !down.Write()) break;
    }
  }
  if (server >= 0) ::close(server);
  ::close(client);
}

}  // namespace larkspin::test_support
