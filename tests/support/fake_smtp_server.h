#pragma once
// A scriptable SMTP peer on 127.0.0.1 and an ephemeral port, for the protocol's edge cases.
// Commands are answered by rules as in FakeLineServer (unmatched ones get "500 unknown command");
// after the rule for DATA has answered with 354, the lines up to the lone "." are the message
// data, recorded as they came over the wire (still dot-stuffed), and the "." is answered by the
// rule for "." (250 unless scripted otherwise).
#include <string>
#include <vector>

#include "support/fake_line_server.h"

namespace larkspin::test_support {

class FakeSmtpServer : public FakeLineServer {
 public:
  explicit FakeSmtpServer(ScriptedReply greeting = Reply("220 fake SMTP ready\r\n"));
  ~FakeSmtpServer() override;

  // Ordinary replies to HELO, EHLO, MAIL, RCPT, DATA, "." and QUIT.
  void AcceptMail();

  // The data of every message received, lines joined with CR LF, without the final ".".
  std::vector<std::string> ReceivedData() const;

 protected:
  ScriptedReply Answer(const std::string& line) override;
  void OnConnection() override;

 private:
  bool in_data_ = false;
  std::string data_;
  std::vector<std::string> messages_;
};

}  // namespace larkspin::test_support
