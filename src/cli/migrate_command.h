#pragma once
// "larkspin migrate-passwords": moves the passwords config.ini remembers into the desktop keyring.
#include "cli/command_line.h"

namespace larkspin {

// Needs PasswordStore=Keyring already set (it changes no setting itself), so that no password
// ever lies where the program does not read it. Moves each account's POP3Password into the
// keyring and removes it from config.ini once the keyring confirmed the store, and so each
// OAuthRefreshToken; prints one line per account and one per refresh token moved (failures on
// standard error). 0 when none failed, 1 otherwise, 2 for arguments.
int RunMigrateCommand(const CommandArguments& arguments);

}  // namespace larkspin
