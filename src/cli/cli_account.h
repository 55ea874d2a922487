#pragma once
// An account as the command-line modes use it: its settings and stored credentials from
// config.ini in the working directory (never asking for anything), its folders, and the POP3
// login with the account's time-out, message size limit and encryption.
#include <string>

#include "config/current_account.h"
#include "pop3/pop3_client.h"

namespace larkspin {

// A positive decimal account or message number, nothing else.
bool ParsePositiveNumber(const std::string& text, int& number);

// Why the account's credentials are not at hand: the keyring's problem, or that none is stored.
std::string MissingCredentialText(const CCurrentAccount& account);

enum class AccountLogin { kConnected, kNoSuchAccount, kNoCredentials, kConnectFailed };

// Loads the account as the current one and logs in. On every outcome but kConnected, reason holds
// one line for the user; a failed connection is also written to the log. An account number beyond
// the configured accounts is kNoSuchAccount.
AccountLogin ConnectAccount(int account_number, CCurrentAccount& account, CPop3Client& client,
                            std::string& reason);

// Logs into the account ConnectAccount connected client to before, with the client's settings
// as they stand; false with reason (also written to the log) when that fails.
bool LogInAgain(const CCurrentAccount& account, CPop3Client& client, std::string& reason);

// A prompt that never asks: the command line runs unattended.
class CNoPrompt : public CInputPrompt {
 public:
  bool Ask(const InputRequest&, InputAnswer&) override { return false; }
};

}  // namespace larkspin
