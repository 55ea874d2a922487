#include "support/fake_line_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace larkspin::test_support {

namespace {
bool StartsWithIgnoringCase(const std::string& line, const std::string& prefix) {
  if (line.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), line.begin(),
                    [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) ==
                                                std::toupper(static_cast<unsigned char>(b)); });
}
}  // namespace

ScriptedReply Reply(std::string text) { return ScriptedReply{{std::move(text)}, 0, false}; }

ScriptedReply SplitReply(std::vector<std::string> chunks, int pause_ms) {
  return ScriptedReply{std::move(chunks), pause_ms, false};
}

ScriptedReply Silence() { return ScriptedReply{}; }

ScriptedReply ReplyAndClose(std::string text) { return ScriptedReply{{std::move(text)}, 0, true}; }

ScriptedReply LateReply(std::string text, int delay_ms) { return ScriptedReply{{std::move(text)}, 0, false, delay_ms}; }

ScriptedReply HeldReply(std::string text) {
  ScriptedReply reply = Reply(std::move(text));
  reply.held = true;
  return reply;
}

ScriptedReply EndlessLine(std::string start) { return ScriptedReply{{std::move(start)}, 0, false, 0, true}; }

FakeLineServer::FakeLineServer(ScriptedReply greeting, std::string unknown_reply)
    : greeting_(std::move(greeting)), unknown_reply_(std::move(unknown_reply)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 4) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("fake server cannot listen");
  port_ = ntohs(address.sin_port);
}

FakeLineServer::~FakeLineServer() { Stop(); }

void FakeLineServer::Start() {
  thread_ = std::thread([this] { AcceptLoop(); });
}

void FakeLineServer::Stop() {
  if (stopping_.exchange(true)) return;
  ReleaseHeldReplies();
  ::shutdown(listener_, SHUT_RDWR);
  ::close(listener_);
  if (thread_.joinable()) thread_.join();
}

void FakeLineServer::On(const std::string& prefix, ScriptedReply reply, int uses) {
  std::lock_guard lock(mutex_);
  rules_.push_back({prefix, std::move(reply), uses > 0 ? uses : -1});
}

std::vector<std::string> FakeLineServer::ReceivedLines() const {
  std::lock_guard lock(mutex_);
  return received_;
}

bool FakeLineServer::WaitForDisconnect(int timeout_ms) {
  std::unique_lock lock(mutex_);
  return disconnected_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                                [this] { return conversations_ended_ > 0; });
}

int FakeLineServer::ConnectionCount() const {
  std::lock_guard lock(mutex_);
  return connections_;
}

size_t FakeLineServer::BytesSent() const {
  std::lock_guard lock(mutex_);
  return sent_bytes_;
}

void FakeLineServer::CutAfterBytes(size_t bytes) {
  std::lock_guard lock(mutex_);
  cut_after_bytes_ = bytes;
}

void FakeLineServer::ReleaseHeldReplies() {
  std::lock_guard lock(mutex_);
  held_released_ = true;
  released_.notify_all();
}

void FakeLineServer::AcceptLoop() {
  for (;;) {
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    {
      std::lock_guard lock(mutex_);
      ++connections_;
      sent_bytes_ = 0;
    }
    OnConnection();
    Converse(client);
    ::close(client);
    std::lock_guard lock(mutex_);
    ++conversations_ended_;
    disconnected_.notify_all();
  }
}

void FakeLineServer::Converse(int client) {
  if (!Send(client, greeting_)) return;
  std::string pending;
  char chunk[4096];
  for (;;) {
    if (stopping_) return;
    pollfd entry{client, POLLIN, 0};
    if (::poll(&entry, 1, 100) < 0) return;
    if (!(entry.revents & (POLLIN | POLLHUP))) continue;
    const ssize_t received = ::recv(client, chunk, sizeof chunk, 0);
    if (received <= 0) return;
    pending.append(chunk, static_cast<size_t>(received));
    for (size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 2);
      if (!Send(client, Answer(line))) return;
    }
  }
}

ScriptedReply FakeLineServer::Answer(const std::string& line) { return AnswerByRules(line); }

ScriptedReply FakeLineServer::AnswerByRules(const std::string& line) {
  std::lock_guard lock(mutex_);
  received_.push_back(line);
  for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
    if (rule->uses_left == 0 || !StartsWithIgnoringCase(line + "\r\n", rule->prefix)) continue;
    if (rule->uses_left > 0) --rule->uses_left;
    return rule->reply;
  }
  return Reply(unknown_reply_);
}

bool FakeLineServer::Send(int client, const ScriptedReply& reply) {
  if (reply.held) {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return held_released_; });
  }
  if (reply.delay_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(reply.delay_ms));
  for (size_t i = 0; i < reply.chunks.size(); ++i) {
    if (i > 0 && reply.pause_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(reply.pause_ms));
    if (!SendBytes(client, reply.chunks[i])) return false;
  }
  if (reply.endless) return SendEndlessFiller(client);
  return !reply.close_after;
}

bool FakeLineServer::SendBytes(int client, std::string_view bytes) {
  size_t allowed = bytes.size();
  {
    std::lock_guard lock(mutex_);
    allowed = std::min(allowed, cut_after_bytes_ - std::min(cut_after_bytes_, sent_bytes_));
    sent_bytes_ += allowed;
  }
  while (allowed > 0) {
    pollfd entry{client, POLLOUT, 0};
    if (stopping_ || ::poll(&entry, 1, 100) < 0) return false;
    if (!(entry.revents & POLLOUT)) continue;
    const ssize_t sent = ::send(client, bytes.data(), allowed, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0 && errno != EAGAIN) return false;
    if (sent <= 0) continue;
    bytes.remove_prefix(static_cast<size_t>(sent));
    allowed -= static_cast<size_t>(sent);
  }
  std::lock_guard lock(mutex_);
  return sent_bytes_ < cut_after_bytes_;
}

// Sends filler until the connection fails (the client closed it) or the server stops.
bool FakeLineServer::SendEndlessFiller(int client) {
  const std::string filler(64 * 1024, 'x');
  while (SendBytes(client, filler)) {
  }
  return false;
}

}  // namespace larkspin::test_support
