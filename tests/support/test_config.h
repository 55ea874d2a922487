#pragma once
// The working folder's files as the engine and window tests write them: config.ini with its
// accounts, and simple messages.
#include <cstddef>
#include <string>
#include <vector>

namespace larkspin::test_support {

// A message of the given From, Subject and Date with a body that brings it to at least
// min_size bytes.
std::string MakeMessage(const std::string& from, const std::string& subject, const std::string& date,
                        size_t min_size = 0);

// An account section of config.ini for a server on 127.0.0.1; empty login leaves the
// credentials out. The stored values are scrambled as the program stores them.
std::string AccountSection(int number, int port, const std::string& login = "anna",
                           const std::string& password = "secret");

// config.ini: "[System]" with Accounts= and the given lines, "[Users]" with the display names,
// and the account sections.
std::string ConfigText(const std::string& system_lines, const std::vector<std::string>& names,
                       const std::string& accounts);

}  // namespace larkspin::test_support
