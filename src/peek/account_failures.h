#pragma once
// The accounts an all-accounts peek could not check, each with its reason in a few words, and
// the one line that names them for the status line, the notification and standard error.
#include <string>
#include <vector>

#include "config/current_account.h"

namespace larkspin {

struct AccountFailure {
  std::string account_name;
  std::string reason;  // "connection refused", "no stored login", ...
};

// Why the account's credentials are not at hand after EnsureCredentials: the keyring's problem,
// or "no stored login" / "no stored password".
std::string MissingCredentialReason(const CCurrentAccount& account);
// The short reason of a failed connection or login: the system's reason after "Cannot connect
// to host:port: " ("connection refused"), or the reply without its "-ERR " and closing full stop.
std::string LoginFailureReason(const std::string& reply);
// "2 accounts could not be checked: Work (connection refused), Club (no stored login)"; empty
// for no failure.
std::string FailedAccountsText(const std::vector<AccountFailure>& failures);

}  // namespace larkspin
