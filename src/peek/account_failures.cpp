#include "peek/account_failures.h"

#include <cctype>

namespace larkspin {

std::string MissingCredentialReason(const CCurrentAccount& account) {
  if (!account.credential_problem.empty()) return account.credential_problem;
  return account.login.empty() ? "no stored login" : "no stored password";
}

std::string LoginFailureReason(const std::string& reply) {
  constexpr std::string_view kCannotConnect = "Cannot connect to ";
  constexpr std::string_view kNegative = "-ERR ";
  std::string reason = reply;
  const size_t colon = reason.find(": ");
  if (reason.starts_with(kCannotConnect) && colon != std::string::npos) reason.erase(0, colon + 2);
  else if (reason.starts_with(kNegative)) reason.erase(0, kNegative.size());
  while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
  if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
  return reason;
}

std::string FailedAccountsText(const std::vector<AccountFailure>& failures) {
  if (failures.empty()) return {};
  std::string text = std::to_string(failures.size()) + (failures.size() == 1 ? " account" : " accounts") +
                     " could not be checked: ";
  for (size_t i = 0; i < failures.size(); ++i)
    text += (i == 0 ? "" : ", ") + failures[i].account_name + " (" + failures[i].reason + ")";
  return text;
}

}  // namespace larkspin
