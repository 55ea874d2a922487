#include "account_dialog/account_ports.h"

#include <algorithm>
#include <array>

namespace larkspin {

namespace {
constexpr std::array<const char*, 2> kUsualPop3Ports = {"110", "995"};
constexpr std::array<const char*, 3> kUsualSmtpPorts = {"25", "465", "587"};

template <size_t N>
bool IsOneOf(const std::array<const char*, N>& ports, const std::string& text) {
  return std::any_of(ports.begin(), ports.end(), [&](const char* port) { return text == port; });
}

std::string UsualPort(MailProtocol protocol, TlsMode mode, const std::string& port_text) {
  if (protocol == MailProtocol::kPop3) return mode == TlsMode::kImplicit ? "995" : "110";
  if (mode == TlsMode::kImplicit) return "465";
  if (mode == TlsMode::kUpgrade || port_text == "587") return "587";
  return "25";
}
}  // namespace

std::string SuggestedPort(MailProtocol protocol, TlsMode mode, const std::string& port_text) {
  const bool usual = protocol == MailProtocol::kPop3 ? IsOneOf(kUsualPop3Ports, port_text)
                                                     : IsOneOf(kUsualSmtpPorts, port_text);
  if (!port_text.empty() && !usual) return port_text;
  return UsualPort(protocol, mode, port_text);
}

}  // namespace larkspin
