#pragma once
// Where an account's OAuth refresh token is kept, as PasswordStore says: in the desktop keyring
// labelled "Larkspin OAuth: LOGIN@HOST" (Keyring), or scrambled as OAuthRefreshToken in the
// account's section of config.ini (File). A token of about a kilobyte scrambled byte by byte
// would run through every byte value, line breaks included, so the file keeps the scrambled
// bytes in base64. LOGIN is POP3Account, else MailAddress.
#include <string>

#include "config/stored_password.h"

namespace larkspin {

// The login OAuth signs in with: POP3Account (unscrambled), else MailAddress.
std::string OAuthLogin(const std::string& section);

// The stored refresh token of the section's account; kFailed carries the logged problem.
StoredPassword ReadRefreshToken(const std::string& section);
// Keeps token where PasswordStore says; with the keyring an OAuthRefreshToken of config.ini is
// removed afterwards. Empty on success, else the logged problem.
std::string RememberRefreshToken(const std::string& section, const std::string& token);
// Moves the account's OAuthRefreshToken from config.ini into the keyring; config.ini loses it
// only after the keyring confirmed the store.
MoveOutcome MoveRefreshTokenToKeyring(int account_number);

}  // namespace larkspin
