#pragma once
// The common part of the scriptable fake servers: a listener on 127.0.0.1 and an ephemeral port
// that serves one client at a time on its own thread, sends the greeting, records each received
// line and answers it. The answer to a line is chosen by the newest rule whose prefix begins the
// line (case ignored); a reply can arrive late, in chunks with pauses, stay silent, be followed
// by closing the connection, never end, or wait until the test releases it. The whole output of a connection can be cut after a
// given number of bytes. A server whose protocol needs more (the SMTP data phase) overrides
// Answer; it must call Stop() first in its own destructor.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace larkspin::test_support {

struct ScriptedReply {
  std::vector<std::string> chunks;  // sent one after another
  int pause_ms = 0;                 // before each chunk after the first
  bool close_after = false;         // close the connection once sent
  int delay_ms = 0;                 // before the first chunk
  bool endless = false;             // after the chunks, filler bytes until the client stops reading
  bool held = false;                // sent once the test calls ReleaseHeldReplies()
};

// A reply sent in one piece.
ScriptedReply Reply(std::string text);
// A reply split in pieces with a pause before each later piece.
ScriptedReply SplitReply(std::vector<std::string> chunks, int pause_ms);
// No answer at all: the client waits into its time-out.
ScriptedReply Silence();
// The reply, then the connection closes.
ScriptedReply ReplyAndClose(std::string text);
// The reply after a delay.
ScriptedReply LateReply(std::string text, int delay_ms);
// The reply once the test releases it: the client waits as long as the test needs.
ScriptedReply HeldReply(std::string text);
// start, then a line that never ends: "x" bytes until the client closes the connection.
ScriptedReply EndlessLine(std::string start);

class FakeLineServer {
 public:
  FakeLineServer(const FakeLineServer&) = delete;
  FakeLineServer& operator=(const FakeLineServer&) = delete;
  virtual ~FakeLineServer();

  // Adds a rule that overrides older ones with a matching prefix; with uses > 0 it answers that
  // many times and then leaves the older rules to answer.
  void On(const std::string& prefix, ScriptedReply reply, int uses = 0);

  int Port() const { return port_; }
  // Every line received (and answered by the rules), without its line end.
  std::vector<std::string> ReceivedLines() const;
  // Waits until the client has closed its connection (or the time passes).
  bool WaitForDisconnect(int timeout_ms);
  // The number of connections accepted so far.
  int ConnectionCount() const;
  // Every later connection is closed once bytes bytes (the greeting included) have been sent.
  void CutAfterBytes(size_t bytes);
  // The bytes sent on the latest connection.
  size_t BytesSent() const;
  // Held replies go out, now and from now on.
  void ReleaseHeldReplies();

 protected:
  // Listens at once; call Start() at the end of the derived constructor.
  FakeLineServer(ScriptedReply greeting, std::string unknown_reply);
  void Start();
  // Ends the serving thread; idempotent.
  void Stop();
  // The answer to one received line; by default the rules'.
  virtual ScriptedReply Answer(const std::string& line);
  // Records line and picks the rules' reply.
  ScriptedReply AnswerByRules(const std::string& line);
  // A new connection begins: reset per-connection state.
  virtual void OnConnection() {}

  mutable std::mutex mutex_;

 private:
  struct Rule {
    std::string prefix;
    ScriptedReply reply;
    int uses_left;  // negative: unlimited
  };
  void AcceptLoop();
  void Converse(int client);
  // False when the connection is to end.
  bool Send(int client, const ScriptedReply& reply);
  // Sends bytes within the connection's cut; false when the connection is to end.
  bool SendBytes(int client, std::string_view bytes);
  bool SendEndlessFiller(int client);

  ScriptedReply greeting_;
  std::string unknown_reply_;
  std::atomic<bool> stopping_{false};
  int listener_ = -1;
  int port_ = 0;
  std::condition_variable disconnected_;
  std::condition_variable released_;
  bool held_released_ = false;
  int connections_ = 0;
  size_t cut_after_bytes_ = SIZE_MAX;
  size_t sent_bytes_ = 0;  // of the current connection
  int conversations_ended_ = 0;
  std::vector<Rule> rules_;
  std::vector<std::string> received_;
  std::thread thread_;
};

}  // namespace larkspin::test_support
