#include "support/fake_pop3_server.h"

namespace larkspin::testing {

namespace {
std::string MultiLine(const std::string& body) { return "+OK\r\n" + body + ".\r\n"; }
}  // namespace

FakePop3Server::FakePop3Server(ScriptedReply greeting)
    : FakeLineServer(std::move(greeting), "-ERR unknown command\r\n") {
  Start();
}

void FakePop3Server::ServeMailbox(const std::vector<std::string>& messages) {
  size_t total = 0;
  std::string listing;
  for (size_t i = 0; i < messages.size(); ++i) {
    total += messages[i].size();
    listing += std::to_string(i + 1) + " " + std::to_string(messages[i].size()) + "\r\n";
  }
  On("USER", Reply("+OK\r\n"));
  On("PASS", Reply("+OK logged in\r\n"));
  On("STAT", Reply("+OK " + std::to_string(messages.size()) + " " + std::to_string(total) + "\r\n"));
  On("LIST", Reply(MultiLine(listing)));
  for (size_t i = 0; i < messages.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    const std::string& message = messages[i];
    On("TOP " + n + " ", Reply(MultiLine(message.substr(0, message.find("\r\n\r\n") + 4))));
    On("RETR " + n + "\r", Reply(MultiLine(message)));
    On("DELE " + n + "\r", Reply("+OK deleted\r\n"));
  }
  On("QUIT", Reply("+OK bye\r\n"));
}

}  // namespace larkspin::testing
