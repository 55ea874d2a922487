#include "platform/loopback_redirect.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstdlib>

namespace larkspin {

namespace {
constexpr size_t kMaxRequestBytes = 16384;
// How often a wait for the browser looks whether it was stopped.
constexpr long kStopCheckMs = 100;

const char kClosePage[] =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Larkspin</title></head>"
    "<body><p>Larkspin has your answer. You can close this tab.</p></body></html>";

// The request's first line up to the header's end, or less when the peer stops early.
std::string ReadRequestHead(int client, unsigned timeout_ms) {
  std::string head;
  char chunk[2048];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequestBytes) {
    pollfd waiting{client, POLLIN, 0};
    if (::poll(&waiting, 1, static_cast<int>(timeout_ms)) <= 0) break;
    const ssize_t got = ::recv(client, chunk, sizeof chunk, 0);
    if (got <= 0) break;
    head.append(chunk, static_cast<size_t>(got));
  }
  return head;
}

void Answer(int client, const char* status, const std::string& body) {
  const std::string reply = std::string("HTTP/1.1 ") + status +
                            "\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: " +
                            std::to_string(body.size()) + "\r\n\r\n" + body;
  ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
}
}  // namespace

std::string UrlUnescaped(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
               std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::map<std::string, std::string> QueryFields(const std::string& query) {
  std::map<std::string, std::string> fields;
  size_t start = 0;
  while (start < query.size()) {
    size_t end = query.find('&', start);
    if (end == std::string::npos) end = query.size();
    const std::string field = query.substr(start, end - start);
    const size_t equals = field.find('=');
    if (!field.empty())
      fields[UrlUnescaped(field.substr(0, equals))] = equals == std::string::npos ? "" : UrlUnescaped(field.substr(equals + 1));
    start = end + 1;
  }
  return fields;
}

int ListenOnLoopback(int& port) {
  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener >= 0 && ::bind(listener, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
      ::listen(listener, 4) == 0 && ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
    return listener;
  }
  if (listener >= 0) ::close(listener);
  return -1;
}

CLoopbackRedirect::CLoopbackRedirect() : listener_(ListenOnLoopback(port_)) {}

CLoopbackRedirect::~CLoopbackRedirect() {
  if (listener_ >= 0) ::close(listener_);
}

std::string CLoopbackRedirect::RedirectUri() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

bool CLoopbackRedirect::WaitForRedirect(unsigned timeout_ms, std::map<std::string, std::string>& fields,
                                        const std::atomic<bool>* stop) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (Listening()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0 || (stop && stop->load())) return false;
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, static_cast<int>(stop ? std::min(left, kStopCheckMs) : left)) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    const std::string head = ReadRequestHead(client, 5000);
    const size_t target_start = head.find(' ') + 1;
    const std::string target = head.substr(target_start, head.find(' ', target_start) - target_start);
    const bool redirect = head.compare(0, 4, "GET ") == 0 && target.compare(0, 2, "/?") == 0;
    Answer(client, redirect ? "200 OK" : "404 Not Found", redirect ? kClosePage : "");
    ::close(client);
    if (!redirect) continue;
    fields = QueryFields(target.substr(2));
    return true;
  }
  return false;
}

}  // namespace larkspin
