#pragma once
// An account as the command-line modes use it: its settings and stored credentials from
// config.ini in the working directory (never asking for anything), its folders, and a mailbox
// session with the account's time-out, message size limit and charsets mode.
#include <functional>
#include <string>

#include "config/current_account.h"
#include "peek/mailbox_session.h"

namespace larkspin {

// A positive decimal account or message number, nothing else.
bool ParsePositiveNumber(const std::string& text, int& number);

// Why the account's credentials are not at hand: the keyring's problem (credential_problem of
// CCurrentAccount), or that none is stored.
std::string MissingCredentialText(const std::string& credential_problem);

// "no account N; config.ini has M" for an account number beyond the configured accounts, else empty.
std::string UnknownAccountText(int account_number);

// The session's client with the settings' reply time-out and message size limit, and the
// session's charsets mode, as config.ini has them.
void PrepareSession(CMailboxSession& session);

enum class AccountLogin { kConnected, kNoSuchAccount, kNoCredentials, kConnectFailed };

// Loads the account as the current one and logs the session in. On every outcome but kConnected,
// reason holds one line for the user; a failed connection is also written to the log.
AccountLogin ConnectAccount(int account_number, CCurrentAccount& account, CMailboxSession& session,
                            std::string& reason);

// Opens the command log, logs account_number in on a prepared session, runs work on it, logs out
// (a failed QUIT is not reported) and closes the log: work's result, or false with the reason on
// standard error when the login failed.
bool RunOnAccount(int account_number,
                  const std::function<bool(CMailboxSession& session, const CCurrentAccount& account)>& work);

// A prompt that never asks: the command line runs unattended.
class CNoPrompt : public CInputPrompt {
 public:
  bool Ask(const InputRequest&, InputAnswer&) override { return false; }
};

}  // namespace larkspin
