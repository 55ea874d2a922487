#pragma once
// A scriptable POP3 peer on 127.0.0.1 and an ephemeral port, for the protocol's edge cases.
// Each received line is recorded; the reply to a line comes from the newest rule whose prefix
// begins the line (case ignored) and that is not used up. A reply can arrive in chunks with
// pauses, stay silent, or be followed by closing the connection. Unmatched lines get
// "-ERR unknown command".
#include <string>
#include <vector>

#include "support/fake_line_server.h"

namespace larkspin::testing {

class FakePop3Server : public FakeLineServer {
 public:
  explicit FakePop3Server(ScriptedReply greeting = Reply("+OK fake POP3 ready\r\n"));

  // Ordinary replies to USER, PASS, QUIT, STAT, LIST, TOP, RETR and DELE for messages.
  void ServeMailbox(const std::vector<std::string>& messages);
};

}  // namespace larkspin::testing
