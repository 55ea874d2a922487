#pragma once
// An HTTP/1.1 listener for tests on 127.0.0.1 and an ephemeral port: it reads each request
// (header and Content-Length body), records its method, path and fields (a POST's form body, a
// GET's query), and answers with what the handler returns; every connection closes after its
// reply.
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace larkspin::test_support {

struct HttpExchange {
  std::string method;
  std::string path;                         // without the query
  std::map<std::string, std::string> form;  // the body's fields, or a GET's query, decoded
};

struct HttpAnswer {
  HttpAnswer(int status, std::string body, std::string location = "")
      : status(status), body(std::move(body)), location(std::move(location)) {}
  int status;
  std::string body;      // sent as application/json
  std::string location;  // sent as the Location header when not empty (a redirect)
};

class FakeHttpServer {
 public:
  using Handler = std::function<HttpAnswer(const HttpExchange&)>;
  explicit FakeHttpServer(Handler handler);
  ~FakeHttpServer();
  FakeHttpServer(const FakeHttpServer&) = delete;
  FakeHttpServer& operator=(const FakeHttpServer&) = delete;

  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const;
  std::vector<HttpExchange> Requests() const;

 private:
  void Serve();
  void Converse(int client);

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<HttpExchange> requests_;
  std::thread thread_;
};

}  // namespace larkspin::test_support
