#include "support/fake_http_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/loopback_redirect.h"

namespace larkspin::test_support {

namespace {
size_t ContentLength(const std::string& header) {
  const size_t at = header.find("Content-Length:");
  return at == std::string::npos ? 0 : std::strtoul(header.c_str() + at + 15, nullptr, 10);
}
}  // namespace

FakeHttpServer::FakeHttpServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = ListenOnLoopback(port_);
  if (listener_ < 0) throw std::runtime_error("fake HTTP server cannot listen");
  thread_ = std::thread([this] { Serve(); });
}

FakeHttpServer::~FakeHttpServer() {
  stopping_ = true;
  ::shutdown(listener_, SHUT_RDWR);
  thread_.join();
  ::close(listener_);
}

std::string FakeHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<HttpExchange> FakeHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void FakeHttpServer::Serve() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 100) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    Converse(client);
    ::close(client);
  }
}

void FakeHttpServer::Converse(int client) {
  std::string request;
  char chunk[4096];
  size_t header_end = std::string::npos;
  while (header_end == std::string::npos || request.size() < header_end + 4 + ContentLength(request)) {
    const ssize_t got = ::recv(client, chunk, sizeof chunk, 0);
    if (got <= 0) return;
    request.append(chunk, static_cast<size_t>(got));
    header_end = request.find("\r\n\r\n");
  }
  HttpExchange exchange;
  exchange.method = request.substr(0, request.find(' '));
  const size_t target_start = exchange.method.size() + 1;
  const std::string target = request.substr(target_start, request.find(' ', target_start) - target_start);
  const size_t query = target.find('?');
  exchange.path = target.substr(0, query);
  exchange.form = QueryFields(exchange.method == "GET" ? (query == std::string::npos ? "" : target.substr(query + 1))
                                                       : request.substr(header_end + 4));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(exchange);
  }
  const HttpAnswer answer = handler_(exchange);
  const std::string location = answer.location.empty() ? "" : "Location: " + answer.location + "\r\n";
  const std::string reply = "HTTP/1.1 " + std::to_string(answer.status) + " X\r\n" + location +
                            "Content-Type: application/json\r\nConnection: close\r\nContent-Length: " +
                            std::to_string(answer.body.size()) + "\r\n\r\n" + answer.body;
  ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
}

}  // namespace larkspin::test_support
