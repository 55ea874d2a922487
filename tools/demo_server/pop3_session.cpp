#include "demo_server/pop3_session.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "common/decimal.h"
#include "common/format.h"

namespace larkspin::demo {

namespace {
constexpr std::string_view kGreeting = "+OK Larkspin demo POP3 server ready\r\n";
constexpr std::string_view kCapabilities = "+OK Capability list follows\r\nUSER\r\nTOP\r\nUIDL\r\n.\r\n";

bool IsAllDigits(const std::string& text) {
  return !text.empty() && text.size() <= 9 &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}
}  // namespace

std::string MultiLineBody(std::string_view text) {
  std::string body;
  body.reserve(text.size() + text.size() / 64 + 3);
  bool at_line_start = true;
  for (char c : text) {
    if (at_line_start && c == '.') body += '.';
    body += c;
    at_line_start = c == '\n';
  }
  body += ".\r\n";
  return body;
}

std::string TopOfMessage(std::string_view text, size_t body_lines) {
  const size_t separator = text.find("\r\n\r\n");
  if (separator == std::string_view::npos) return std::string(text) + "\r\n";
  size_t end = separator + 4;
  for (size_t line = 0; line < body_lines && end < text.size(); ++line) {
    const size_t line_end = text.find("\r\n", end);
    end = line_end == std::string_view::npos ? text.size() : line_end + 2;
  }
  return std::string(text.substr(0, end));
}

void CPop3Session::Run() {
  if (!connection_.Send(kGreeting)) return;
  std::string line;
  while (!quitting_ && connection_.ReadLine(line)) {
    Command command;
    std::istringstream words(line);
    words >> command.verb;
    command.verb = UpperCase(command.verb);
    for (std::string word; words >> word;) command.arguments.push_back(word);
    const std::string reply = logged_in_ ? AnswerAfterLogin(command) : AnswerBeforeLogin(command);
    if (!connection_.Send(reply)) return;
  }
}

std::string CPop3Session::AnswerBeforeLogin(const Command& command) {
  if (command.verb == "CAPA") return std::string(kCapabilities);
  if (command.verb == "QUIT") {
    quitting_ = true;
    return "+OK Larkspin demo server signing off\r\n";
  }
  if (command.verb == "USER") {
    if (command.arguments.empty()) return "-ERR USER needs a login name\r\n";
    login_ = command.arguments[0];
    return "+OK any password will do\r\n";
  }
  if (command.verb == "PASS") {
    if (login_.empty()) return "-ERR USER comes first\r\n";
    messages_ = mailbox_.Messages();
    deleted_.assign(messages_.size(), false);
    logged_in_ = true;
    return FormatText("+OK %s's maildrop has %zu messages (%zu octets)\r\n", login_.c_str(), CountLeft(),
                      OctetsLeft());
  }
  return "-ERR log in with USER and PASS first\r\n";
}

std::string CPop3Session::AnswerAfterLogin(const Command& command) {
  if (command.verb == "STAT") return Stat();
  if (command.verb == "LIST") return List(command);
  if (command.verb == "UIDL") return Uidl(command);
  if (command.verb == "TOP") return Top(command);
  if (command.verb == "RETR") return Retr(command);
  if (command.verb == "DELE") return Dele(command);
  if (command.verb == "RSET") return Rset();
  if (command.verb == "NOOP") return "+OK\r\n";
  if (command.verb == "CAPA") return std::string(kCapabilities);
  if (command.verb == "QUIT") return Quit();
  return "-ERR unknown command\r\n";
}

size_t CPop3Session::CountLeft() const {
  return static_cast<size_t>(std::count(deleted_.begin(), deleted_.end(), false));
}

size_t CPop3Session::OctetsLeft() const {
  size_t octets = 0;
  for (size_t i = 0; i < messages_.size(); ++i) {
    if (!deleted_[i]) octets += messages_[i]->text.size();
  }
  return octets;
}

const DemoMessage* CPop3Session::MessageNamed(const Command& command, size_t& n, std::string& error) const {
  if (command.arguments.empty() || !IsAllDigits(command.arguments[0])) {
    error = "-ERR a message number is needed\r\n";
    return nullptr;
  }
  n = ParseDecimalU32(command.arguments[0]);
  if (n < 1 || n > messages_.size()) {
    error = FormatText("-ERR no message %zu (the maildrop has %zu)\r\n", n, messages_.size());
    return nullptr;
  }
  if (deleted_[n - 1]) {
    error = FormatText("-ERR message %zu is already deleted\r\n", n);
    return nullptr;
  }
  return messages_[n - 1].get();
}

std::string CPop3Session::Stat() const { return FormatText("+OK %zu %zu\r\n", CountLeft(), OctetsLeft()); }

std::string CPop3Session::List(const Command& command) const {
  if (!command.arguments.empty()) {
    size_t n = 0;
    std::string error;
    const DemoMessage* message = MessageNamed(command, n, error);
    return message ? FormatText("+OK %zu %zu\r\n", n, message->text.size()) : error;
  }
  std::string reply = FormatText("+OK %zu messages (%zu octets)\r\n", CountLeft(), OctetsLeft());
  for (size_t i = 0; i < messages_.size(); ++i) {
    if (!deleted_[i]) reply += FormatText("%zu %zu\r\n", i + 1, messages_[i]->text.size());
  }
  return reply + ".\r\n";
}

std::string CPop3Session::Uidl(const Command& command) const {
  if (!command.arguments.empty()) {
    size_t n = 0;
    std::string error;
    const DemoMessage* message = MessageNamed(command, n, error);
    return message ? FormatText("+OK %zu %s\r\n", n, message->unique_id.c_str()) : error;
  }
  std::string reply = "+OK\r\n";
  for (size_t i = 0; i < messages_.size(); ++i) {
    if (!deleted_[i]) reply += FormatText("%zu %s\r\n", i + 1, messages_[i]->unique_id.c_str());
  }
  return reply + ".\r\n";
}

std::string CPop3Session::Top(const Command& command) const {
  size_t n = 0;
  std::string error;
  const DemoMessage* message = MessageNamed(command, n, error);
  if (!message) return error;
  if (command.arguments.size() < 2 || !IsAllDigits(command.arguments[1]))
    return "-ERR TOP needs a message number and a line count\r\n";
  return "+OK\r\n" + MultiLineBody(TopOfMessage(message->text, ParseDecimalU32(command.arguments[1])));
}

std::string CPop3Session::Retr(const Command& command) const {
  size_t n = 0;
  std::string error;
  const DemoMessage* message = MessageNamed(command, n, error);
  if (!message) return error;
  return FormatText("+OK %zu octets\r\n", message->text.size()) + MultiLineBody(message->text);
}

std::string CPop3Session::Dele(const Command& command) {
  size_t n = 0;
  std::string error;
  if (!MessageNamed(command, n, error)) return error;
  deleted_[n - 1] = true;
  return FormatText("+OK message %zu deleted\r\n", n);
}

std::string CPop3Session::Rset() {
  deleted_.assign(messages_.size(), false);
  return FormatText("+OK maildrop has %zu messages (%zu octets)\r\n", CountLeft(), OctetsLeft());
}

std::string CPop3Session::Quit() {
  DemoMessageList removed;
  for (size_t i = 0; i < messages_.size(); ++i) {
    if (deleted_[i]) removed.push_back(messages_[i]);
  }
  mailbox_.Remove(removed);
  deleted_at_quit_ = removed.size();
  quitting_ = true;
  return FormatText("+OK Larkspin demo server signing off (%zu deleted)\r\n", removed.size());
}

}  // namespace larkspin::demo
