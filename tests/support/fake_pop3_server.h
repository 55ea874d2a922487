#pragma once
// A scriptable POP3 peer on 127.0.0.1 and an ephemeral port, for the protocol's edge cases.
// Each received line is recorded; the reply to a line comes from the newest rule whose prefix
// begins the line (case ignored) and that is not used up. A reply can arrive late, in chunks with
// pauses, stay silent, never end, or be followed by closing the connection; the whole output can
// be cut after any byte (see FakeLineServer). Unmatched lines get "-ERR unknown command".
#include <string>
#include <vector>

#include "support/fake_line_server.h"

namespace larkspin::test_support {

class FakePop3Server : public FakeLineServer {
 public:
  explicit FakePop3Server(ScriptedReply greeting = Reply("+OK fake POP3 ready\r\n"));
  ~FakePop3Server() override;

  // Ordinary replies to USER, PASS, QUIT, STAT, LIST, UIDL, TOP, RETR and DELE for messages,
  // dot-stuffed on the wire as a real server's (a rule added with On() sends its bytes as given).
  // A message's unique id is UniqueIdOf(message): it follows the message, not its number, as a
  // real server's does when the mailbox changes.
  void ServeMailbox(const std::vector<std::string>& messages);
  static std::string UniqueIdOf(const std::string& message);
  // Answers UIDL with "-ERR", as a server without UIDL does.
  void RefuseUidl();
  // Goes silent once count lines beginning with prefix (case ignored) have been answered on the
  // connection: every later line stays unanswered.
  void GoSilentAfter(int count, const std::string& prefix = "");
  // The message numbers of every DELE received, in order.
  std::vector<int> DeletedMessages() const;

 protected:
  ScriptedReply Answer(const std::string& line) override;
  void OnConnection() override;

 private:
  int silent_after_ = -1;  // negative: never silent
  std::string silent_prefix_;
  int answered_ = 0;  // lines with the prefix answered on the connection
  bool silent_ = false;
};

}  // namespace larkspin::test_support
