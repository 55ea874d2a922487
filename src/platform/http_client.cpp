#include "platform/http_client.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>

namespace larkspin {

namespace {
// The host part of scheme://host[:port]/..., brackets of an IPv6 address dropped.
std::string HostOf(const std::string& url, size_t scheme_end) {
  const size_t start = scheme_end + 3;
  const size_t path = url.find_first_of("/?#", start);
  std::string authority = url.substr(start, path == std::string::npos ? std::string::npos : path - start);
  if (authority.find('@') != std::string::npos) return {};  // no user info in an endpoint
  if (!authority.empty() && authority[0] == '[') return authority.substr(1, authority.find(']') - 1);
  return authority.substr(0, authority.find(':'));
}

constexpr size_t kMaxReplyBytes = size_t{1} << 20;

// Keeps the body; a body over kMaxReplyBytes ends the transfer.
size_t AppendBody(char* data, size_t size, size_t count, void* body) {
  auto* text = static_cast<std::string*>(body);
  if (text->size() + size * count > kMaxReplyBytes) return 0;
  text->append(data, size * count);
  return size * count;
}

// libcurl asks this every second or more often; non-zero ends the transfer.
int StopWhenAsked(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::atomic<bool>*>(stop)->load() ? 1 : 0;
}
}  // namespace

bool IsAllowedEndpoint(const std::string& url) {
  const size_t scheme_end = url.find("://");
  if (scheme_end == std::string::npos) return false;
  std::string scheme = url.substr(0, scheme_end);
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string host = HostOf(url, scheme_end);
  if (host.empty()) return false;
  if (scheme == "https") return true;
  return scheme == "http" && (host == "127.0.0.1" || host == "::1" || host == "localhost");
}

std::string UrlEscaped(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string FormEncoded(const FormFields& fields) {
  std::string out;
  for (const auto& [name, value] : fields) {
    if (!out.empty()) out += '&';
    out += UrlEscaped(name) + "=" + UrlEscaped(value);
  }
  return out;
}

HttpReply CHttpClient::PostForm(const std::string& url, const FormFields& fields, unsigned timeout_ms) {
  HttpReply reply;
  if (!IsAllowedEndpoint(url)) {
    reply.problem = "the endpoint " + url + " is not https:// (plain http:// is only taken on 127.0.0.1)";
    return reply;
  }
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(initialised ? curl_easy_init() : nullptr,
                                                           curl_easy_cleanup);
  if (!curl) {
    reply.problem = "the HTTPS client could not be started";
    return reply;
  }
  const std::string body = FormEncoded(fields);
  char error[CURL_ERROR_SIZE] = {};
  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);  // a redirect could leave https
  curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.c_str());
  curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout_ms));
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &reply.body);
  if (stop_) {
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, StopWhenAsked);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, stop_);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  }
  curl_slist* headers = curl_slist_append(nullptr, "Accept: application/json");
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
  const CURLcode result = curl_easy_perform(handle);
  curl_slist_free_all(headers);
  if (result != CURLE_OK) {
    reply.problem = std::string("the request to ") + url + " failed: " + (error[0] ? error : curl_easy_strerror(result));
    reply.body.clear();
    return reply;
  }
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &reply.status);
  reply.answered = true;
  return reply;
}

}  // namespace larkspin
