#include "screening/mail_domains.h"

#include <array>

#include "common/string_tools.h"

namespace larkspin {

namespace {
bool IsGenericSecondLevel(std::string_view label) {
  constexpr std::array<std::string_view, 7> kLabels = {"ac", "co", "com", "edu", "gov", "net", "org"};
  for (std::string_view known : kLabels)
    if (label == known) return true;
  return false;
}

bool IsCountryCode(std::string_view label) {
  return label.size() == 2 && label[0] >= 'a' && label[0] <= 'z' && label[1] >= 'a' && label[1] <= 'z';
}

// The start of the label that ends just before end (a dot's position, or the domain's size).
size_t LabelStart(std::string_view domain, size_t end) {
  const size_t dot = end == 0 ? std::string_view::npos : domain.rfind('.', end - 1);
  return dot == std::string_view::npos ? 0 : dot + 1;
}
}  // namespace

std::string AddressDomain(std::string_view address) {
  const size_t at = address.rfind('@');
  if (at == std::string_view::npos) return {};
  std::string_view domain = Trimmed(address.substr(at + 1), " \t>");
  if (domain.ends_with('.')) domain.remove_suffix(1);
  return LowercaseAscii(domain);
}

bool IsDomainOrSubdomain(std::string_view domain, std::string_view parent) {
  if (parent.empty()) return false;
  if (domain == parent) return true;
  return domain.size() > parent.size() && domain.ends_with(parent) && domain[domain.size() - parent.size() - 1] == '.';
}

std::string RegistrableDomain(std::string_view domain) {
  const std::string lowered = LowercaseAscii(domain);
  const std::string_view labels(lowered);
  const size_t last = LabelStart(labels, labels.size());
  if (last == 0) return lowered;
  const size_t second = LabelStart(labels, last - 1);
  if (second == 0) return lowered;
  const bool three = IsCountryCode(labels.substr(last)) && IsGenericSecondLevel(labels.substr(second, last - 1 - second));
  return std::string(labels.substr(three ? LabelStart(labels, second - 1) : second));
}

}  // namespace larkspin
