#include "support/fake_pop3_server.h"

#include <cstdlib>
#include <functional>

#include "common/string_tools.h"
#include "smtp/dot_stuff.h"

namespace larkspin::test_support {

namespace {
// A positive multi-line reply holding body, dot-stuffed as a server sends it.
std::string MultiLine(const std::string& body) { return "+OK\r\n" + DotStuff(body) + ".\r\n"; }

bool BeginsWithIgnoringCase(const std::string& line, const std::string& prefix) {
  return line.size() >= prefix.size() && EqualsIgnoringCase(std::string_view(line).substr(0, prefix.size()), prefix);
}
}  // namespace

FakePop3Server::FakePop3Server(ScriptedReply greeting)
    : FakeLineServer(std::move(greeting), "-ERR unknown command\r\n") {
  Start();
}

FakePop3Server::~FakePop3Server() { Stop(); }

std::string FakePop3Server::UniqueIdOf(const std::string& message) {
  return "uid-" + std::to_string(std::hash<std::string>{}(message));
}

void FakePop3Server::ServeMailbox(const std::vector<std::string>& messages) {
  size_t total = 0;
  std::string listing;
  std::string ids;
  for (size_t i = 0; i < messages.size(); ++i) {
    total += messages[i].size();
    listing += std::to_string(i + 1) + " " + std::to_string(messages[i].size()) + "\r\n";
    ids += std::to_string(i + 1) + " " + UniqueIdOf(messages[i]) + "\r\n";
  }
  On("USER", Reply("+OK\r\n"));
  On("PASS", Reply("+OK logged in\r\n"));
  On("STAT", Reply("+OK " + std::to_string(messages.size()) + " " + std::to_string(total) + "\r\n"));
  On("LIST", Reply(MultiLine(listing)));
  On("UIDL", Reply(MultiLine(ids)));
  for (size_t i = 0; i < messages.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    const std::string& message = messages[i];
    On("TOP " + n + " ", Reply(MultiLine(message.substr(0, message.find("\r\n\r\n") + 4))));
    On("RETR " + n + "\r", Reply(MultiLine(message)));
    On("DELE " + n + "\r", Reply("+OK deleted\r\n"));
  }
  On("QUIT", Reply("+OK bye\r\n"));
}

void FakePop3Server::RefuseUidl() { On("UIDL", Reply("-ERR unknown command\r\n")); }

void FakePop3Server::GoSilentAfter(int count, const std::string& prefix) {
  std::lock_guard lock(mutex_);
  silent_after_ = count;
  silent_prefix_ = prefix;
}

std::vector<int> FakePop3Server::DeletedMessages() const {
  std::vector<int> numbers;
  for (const std::string& line : ReceivedLines()) {
    if (BeginsWithIgnoringCase(line, "DELE ")) numbers.push_back(std::atoi(line.c_str() + 5));
  }
  return numbers;
}

void FakePop3Server::OnConnection() {
  std::lock_guard lock(mutex_);
  answered_ = 0;
  silent_ = false;
}

ScriptedReply FakePop3Server::Answer(const std::string& line) {
  ScriptedReply reply = AnswerByRules(line);
  std::lock_guard lock(mutex_);
  if (silent_after_ >= 0 && BeginsWithIgnoringCase(line, silent_prefix_) && answered_++ >= silent_after_) silent_ = true;
  return silent_ ? Silence() : reply;
}

}  // namespace larkspin::test_support
