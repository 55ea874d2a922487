#pragma once
// A scriptable POP3 peer on 127.0.0.1 and an ephemeral port, for the protocol's edge cases.
// Each received line is recorded; the reply to a line comes from the newest rule whose prefix
// begins the line (case ignored) and that is not used up. A reply can arrive in chunks with pauses, stay silent, or be
// followed by closing the connection. Unmatched lines get "-ERR unknown command".
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace larkspin::testing {

struct ScriptedReply {
  std::vector<std::string> chunks;  // sent one after another
  int pause_ms = 0;                 // before each chunk after the first
  bool close_after = false;         // close the connection once sent
};

// A reply sent in one piece.
ScriptedReply Reply(std::string text);
// A reply split in pieces with a pause before each later piece.
ScriptedReply SplitReply(std::vector<std::string> chunks, int pause_ms);
// No answer at all: the client waits into its time-out.
ScriptedReply Silence();

class FakePop3Server {
 public:
  explicit FakePop3Server(ScriptedReply greeting = Reply("+OK fake POP3 ready\r\n"));
  ~FakePop3Server();

  // Adds a rule that overrides older ones with a matching prefix; with uses > 0 it answers that
  // many times and then leaves the older rules to answer.
  void On(const std::string& prefix, ScriptedReply reply, int uses = 0);
  // Ordinary replies to USER, PASS, QUIT, STAT, LIST, TOP, RETR and DELE for messages.
  void ServeMailbox(const std::vector<std::string>& messages);

  int Port() const { return port_; }
  // Every line received, without its line end.
  std::vector<std::string> ReceivedLines() const;
  // Waits until the client has closed its connection (or the time passes).
  bool WaitForDisconnect(int timeout_ms);

 private:
  struct Rule {
    std::string prefix;
    ScriptedReply reply;
    int uses_left;  // negative: unlimited
  };
  void AcceptLoop();
  void Converse(int client);
  bool Send(int client, const ScriptedReply& reply);
  ScriptedReply ReplyFor(const std::string& line);

  ScriptedReply greeting_;
  std::atomic<bool> stopping_{false};
  int listener_ = -1;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable disconnected_;
  int conversations_ended_ = 0;
  std::vector<Rule> rules_;
  std::vector<std::string> received_;
  std::thread thread_;
};

}  // namespace larkspin::testing
