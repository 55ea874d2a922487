#pragma once
// HTTPS requests of the OAuth token endpoints: a form POSTed, the reply's status and body read.
// Endpoints must be https://; plain http:// is accepted only on the loopback addresses
// (127.0.0.1, ::1, localhost), where tests and local providers live. Behind libcurl, which stays
// private to http_client.cpp.
#include <atomic>
#include <string>
#include <utility>
#include <vector>

namespace larkspin {

using FormFields = std::vector<std::pair<std::string, std::string>>;

struct HttpReply {
  bool answered = false;  // a reply arrived (of any status)
  long status = 0;        // its HTTP status
  std::string body;
  std::string problem;    // when not answered: why, one line for the user
};

// True for https:// URLs and for http:// URLs whose host is a loopback address.
bool IsAllowedEndpoint(const std::string& url);
// The fields as application/x-www-form-urlencoded.
std::string FormEncoded(const FormFields& fields);
// The URL-escaped form of text (RFC 3986 unreserved characters kept).
std::string UrlEscaped(const std::string& text);

class CHttpClient {
 public:
  // A request in flight is dropped soon after stop (when given) is set, from any thread.
  explicit CHttpClient(const std::atomic<bool>* stop = nullptr) : stop_(stop) {}
  virtual ~CHttpClient() = default;
  // POSTs fields to url and waits at most timeout_ms for the whole reply; a URL that
  // IsAllowedEndpoint refuses is never contacted.
  virtual HttpReply PostForm(const std::string& url, const FormFields& fields, unsigned timeout_ms);

 private:
  const std::atomic<bool>* stop_;
};

}  // namespace larkspin
