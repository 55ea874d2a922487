#include "support/consent_browser.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "platform/loopback_redirect.h"

namespace larkspin::test_support {

namespace {
std::map<std::string, std::string> ConsentFields(const std::string& consent_url) {
  return QueryFields(consent_url.substr(consent_url.find('?') + 1));
}
}  // namespace

int ConnectToLoopback(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (s >= 0 && ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return s;
  if (s >= 0) ::close(s);
  return -1;
}

int RedirectPortOf(const std::string& consent_url) {
  const std::string redirect = ConsentFields(consent_url)["redirect_uri"];
  return std::stoi(redirect.substr(redirect.rfind(':') + 1));
}

void ComeBackFromConsent(const std::string& consent_url, const std::string& query_tail, bool foreign_state) {
  const int port = RedirectPortOf(consent_url);
  const std::string request = "GET /?" + query_tail + "&state=" +
                              (foreign_state ? "x" : ConsentFields(consent_url)["state"]) +
                              " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  std::thread([port, request] {
    const int s = ConnectToLoopback(port);
    if (s < 0) return;
    ::send(s, request.data(), request.size(), 0);
    char ignored[512];
    while (::recv(s, ignored, sizeof ignored, 0) > 0) {
    }
    ::close(s);
  }).detach();
}

}  // namespace larkspin::test_support
