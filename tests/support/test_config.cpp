#include "support/test_config.h"

#include "common/scramble.h"

namespace larkspin::test_support {

std::string MakeMessage(const std::string& from, const std::string& subject, const std::string& date,
                        size_t min_size) {
  std::string message = "From: " + from + "\r\nSubject: " + subject + "\r\nDate: " + date +
                        "\r\nTo: bob@example.org\r\n\r\nHello there.\r\n";
  if (message.size() + 2 < min_size) message += std::string(min_size - message.size() - 2, 'x') + "\r\n";
  return message;
}

std::string AccountSection(int number, int port, const std::string& login, const std::string& password) {
  std::string section = "[Account" + std::to_string(number) + "]\r\nPOP3Host=127.0.0.1\r\nPOP3Port=" +
                        std::to_string(port) + "\r\nFullName=Anna Example\r\n";
  if (!login.empty()) section += "POP3Account=" + Scrambled(login) + "\r\nPOP3Password=" + Scrambled(password) + "\r\n";
  return section;
}

std::string ConfigText(const std::string& system_lines, const std::vector<std::string>& names,
                       const std::string& accounts) {
  std::string config = "[System]\r\nAccounts=" + std::to_string(names.size()) + "\r\n" + system_lines + "[Users]\r\n";
  for (size_t i = 0; i < names.size(); ++i) config += "Account" + std::to_string(i + 1) + "=" + names[i] + "\r\n";
  return config + accounts;
}

}  // namespace larkspin::test_support
