#pragma once
// The POP3 client: one conversation with one server over one TCP connection, with blocking,
// time-limited reads of single-line and multi-line replies. Every operation returns true on
// success; after a failure LastReply() holds the text of the reply that failed (or a plain
// description of a local failure such as an unreachable host) and LastFailure() its kind.
//
// A reply is read up to its own end and no further. A negative status line ("-ERR ...") ends
// its reply at once, also for multi-line commands, and the connection stays usable. When the
// boundary between replies is lost (a time-out, a connection the server closed, a reply over
// its limit, bytes that are no POP3 reply or that follow the end of one), the client closes the
// connection: IsConnected() turns false and every later command fails at once without sending,
// so a late reply is never taken for the answer to a later command.
//
// After the greeting, and again after STLS, the client asks CAPA and keeps what the server lists;
// a server that answers "-ERR" lists nothing and is used as before.
//
// On a connection that pipelines (pipelining, with what CAPA listed) a run of TOP or RETR
// commands announced by PlanRun goes out ahead of its replies in a sliding window: as each reply
// is read, the next command is sent, so that at most kPipelineWindow replies are ever unread. The
// commands sent ahead are a few hundred bytes, well below any socket buffer, so a blocking send
// never waits for a server that itself waits for us to read. Replies are read in order and
// matched to their commands by position; bytes after a reply are kept for the next only while
// more replies are due, so a late or unasked reply still ends the connection.
//
// Every multi-line reply is dot-unstuffed: a line that arrives as "..text" is handed on as ".text",
// so TOP and RETR give the message as the server holds it.
//
// Each kind of reply has a limit of its own: a status line kMaxStatusLine bytes, a header (TOP n
// 0) kMaxHeaderReply, a LIST or UIDL answer kListingBytesPerMessage per message counted by STAT
// plus kMaxStatusLine, a whole message (RETR) max_message_bytes, and any one line kMaxReplyLine.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/account_pipelining.h"
#include "pop3/pop3_capabilities.h"
#include "pop3/pop3_text.h"
#include "platform/http_client.h"
#include "platform/reply_buffer.h"
#include "platform/socket_link.h"

namespace larkspin {

// A login with an OAuth 2.0 access token: AUTH XOAUTH2 or AUTH OAUTHBEARER.
struct Pop3TokenLogin {
  std::string user;
  std::string token;
  // Forced (OAuthMechanism: XOAUTH2 or OAUTHBEARER, any case; another name fails before anything
  // is sent); empty: chosen from CAPA's SASL, XOAUTH2 first.
  std::string mechanism;
  bool two_line = false;  // the initial response always after the server's "+ "
};

class CPop3Client {
 public:
  static constexpr size_t kMaxStatusLine = size_t{64} << 10;
  static constexpr size_t kMaxHeaderReply = size_t{4} << 20;
  static constexpr size_t kListingBytesPerMessage = 80;
  static constexpr size_t kDefaultMaxMessageBytes = size_t{256} << 20;
  // The longest line of any reply: a line that never ends costs no more than this.
  static constexpr size_t kMaxReplyLine = size_t{16} << 20;
  // The most replies a pipelining connection leaves unread.
  static constexpr size_t kPipelineWindow = 64;

  // The commands of a run: TOP n 0 (GetMessageHeader) or RETR n (Retrieve).
  enum class RunKind { kHeaders, kRetrieve };

  // The kind of failure LastReply() describes.
  enum class Failure {
    kNone,          // nothing has failed on this client yet
    kReplyTooLong,  // the whole reply passed the limit of its kind (a header over kMaxHeaderReply,
                    // a message over max_message_bytes, a listing, a one-line reply); the
                    // connection is closed
    kOther,         // anything else: a negative reply, a lost or refused connection, the status
                    // line of a multi-line reply or any one line over its own limit, a local failure
  };

  CPop3Client() = default;
  CPop3Client(const CPop3Client&) = delete;
  CPop3Client& operator=(const CPop3Client&) = delete;
  ~CPop3Client();

  // Greeting, USER and PASS. A login or password holding a line break is refused before
  // anything is sent.
  bool Connect(const std::string& host, const std::string& user, const std::string& password, int port);
  // Greeting, then AUTH with the token (RFC 5034): the initial response on the AUTH line while
  // that stays within 255 octets, else after the server's "+ ". A refusal that comes as an
  // error challenge is answered as the mechanism asks and reported with its status;
  // TokenRefused() then tells it from other failures.
  bool ConnectWithToken(const std::string& host, const Pop3TokenLogin& login, int port);
  // ConnectWithToken with the access token of the account of section (config.ini's OAuth
  // settings), asked for again from the provider and tried once more when the server refuses it.
  // A token that cannot be had fails before anything is sent, with the reason as the last reply.
  bool ConnectWithOAuth(const std::string& host, const std::string& section, int port, CHttpClient& http);
  // The last ConnectWithToken failed because the server refused the token.
  bool TokenRefused() const { return token_refused_; }
  // QUIT; closes the socket in every case. After a successful QUIT the last reply's text is the
  // one from before it, so an earlier error survives the logout.
  bool Disconnect();
  bool Statistics(int& count, int& size);
  // Size of message n from LIST (STAT and LIST are issued once per connection).
  bool GetMessageSize(int n, uint32_t& size);
  // Unique id of message n from UIDL, which is issued once per connection (after STAT). A
  // server without UIDL answers "-ERR": false, and the connection stays usable.
  bool GetUniqueId(int n, std::string& id);
  // Every unique id of the UIDL answer, in message order; fails as GetUniqueId does.
  bool GetUniqueIds(std::vector<std::string>& ids);
  // UIDL was asked on this connection and answered "+OK".
  bool SupportsUniqueIds() const { return unique_ids_ == UniqueIds::kKnown; }
  // TOP n 0: the header only.
  bool GetMessageHeader(int n, CPop3Text& message);
  // TOP n lines: the header and the body's first lines, within the limit of a whole message.
  bool GetMessageTop(int n, int lines, CPop3Text& message);
  // RETR n: the whole message.
  bool Retrieve(int n, CPop3Text& message);
  bool Delete(int n);

  // Whether commands go out ahead of earlier replies on this connection.
  bool Pipelines() const;
  // Announces that the messages of numbers will be asked for in that order, by GetMessageHeader
  // or Retrieve as kind says. On a connection that pipelines, asking for the run's next message
  // sends the commands of the messages after it ahead; asking anything else first reads the
  // replies sent ahead (they are dropped) and ends the run. Elsewhere it changes nothing.
  void PlanRun(RunKind kind, std::vector<int> numbers);
  // On a connection that pipelines, STAT, LIST and (with unique_ids) UIDL in one go, so that the
  // sizes and ids are known; elsewhere nothing is sent. False once the connection is lost.
  bool FetchListings(bool unique_ids);
  std::string LastReply() const { return last_response_; }
  Failure LastFailure() const { return last_failure_; }

  // What the server listed in its answer to CAPA on this connection.
  const Pop3Capabilities& Capabilities() const { return capabilities_; }

  bool IsConnected() const { return connected_; }
  // The connection's own number, never given to another connection of any client in the program:
  // message numbers of one connection mean nothing on another.
  int ConnectionNumber() const { return connection_number_; }
  int MessageCount() const { return message_count_; }

  // How long one wait for data may last.
  unsigned read_timeout_ms = 2000;
  // The longest reply RETR accepts ([System] MaxMessageMB); a longer one ends the connection.
  size_t max_message_bytes = kDefaultMaxMessageBytes;
  // Whether and how the connection is encrypted (POP3S or STLS); plain by default.
  TlsOptions tls;
  // The account's Pipelining: Auto pipelines when CAPA lists PIPELINING.
  Pipelining pipelining = Pipelining::kAuto;

 private:
  enum class ReplyShape { kLine, kMultiLine, kSaslStep };
  enum class UniqueIds { kUnasked, kRefused, kKnown };

  // Reads one reply of shape into buffer. True for a positive reply, which buffer then holds
  // without its final line end (and, multi-line, without the terminating "." line).
  bool ReadReply(CReplyBuffer& buffer, ReplyShape shape);
  // Receives until buffer holds marker at or after from; end is the offset just past it. A
  // buffer reaching limit bytes without it ends the connection.
  bool ReceiveThrough(CReplyBuffer& buffer, std::string_view marker, size_t from, size_t limit, size_t& end);
  // One receive into buffer; a time-out, a closed or failed connection or a full buffer end it.
  bool ReceiveMore(CReplyBuffer& buffer);
  // Hands bytes kept from an earlier receive to buffer first; false when none are left.
  bool TakeCarried(CReplyBuffer& buffer);
  // Keeps the bytes after end, which belong to the replies still due.
  void CarryRest(CReplyBuffer& buffer, size_t end);
  bool ReadLineReply();
  // One reply within AUTH: "+OK", "-ERR" or a continuation "+ text", whose text goes to challenge.
  bool ReadSaslStep(bool& continuation, std::string& challenge);
  // Connects and reads the greeting and CAPA, with TLS as configured.
  bool Open(const std::string& host, int port);
  // After a failed login: QUIT, keeping the failure's text.
  bool EndFailedLogin();
  bool AuthenticateWithToken(const Pop3TokenLogin& login);
  // Answers an error challenge and reports its status.
  bool RefuseToken(const std::string& mechanism, const std::string& challenge);
  std::string ChosenMechanism(const Pop3TokenLogin& login) const;
  bool ReadStatReply(int& count, int& size);
  // A multi-line reply of at most limit bytes; listing is the part after the status line,
  // dot-unstuffed.
  bool ReadListing(size_t limit, std::string& listing);
  bool ReadSizeList();
  bool ReadTextReply(CPop3Text& message, size_t first_size, size_t limit);

  // One command whose reply is read before anything else: a run's replies sent ahead are read first.
  bool SendCommand(const std::string& command);
  // commands (count of them) sent at once, their replies read later in order.
  bool SendAhead(const std::string& commands, size_t count);
  bool ReadUniqueIds();
  bool StartTls(const std::string& host, int port);
  bool UpgradeToTlsIfConfigured(const std::string& host, int port);
  // CAPA; a refusal leaves the capabilities empty and the connection usable.
  bool AskCapabilities();
  bool EnsureStatisticsKnown();
  bool EnsureSizesKnown();
  bool EnsureUniqueIdsKnown();
  size_t ListingLimit() const;
  bool FetchText(RunKind kind, int n, size_t limit, CPop3Text& message);
  // Message n is the next of the run whose reply is due.
  bool NextInRun(RunKind kind, int n) const;
  // Sends the run's commands ahead up to the window.
  bool SendRunAhead();
  // Reads and drops the replies sent ahead; the run ends.
  bool EndRun();
  void FailWith(std::string text, Failure kind = Failure::kOther);
  // Closes the connection after the boundary between replies was lost; returns false.
  bool Abandon(std::string text, Failure kind = Failure::kOther);
  // Forgets everything learned on the connection.
  void ForgetConnection();

  CSocketLink socket_;
  int message_count_ = 0;
  bool sizes_known_ = false;
  bool statistics_known_ = false;
  std::vector<uint32_t> message_sizes_;
  UniqueIds unique_ids_ = UniqueIds::kUnasked;
  Pop3Capabilities capabilities_;
  struct Run {
    RunKind kind;
    std::vector<int> numbers;
    size_t sent = 0;  // the commands sent so far
    size_t read = 0;  // the replies read so far
  };
  std::optional<Run> run_;
  size_t unread_replies_ = 0;  // replies due from the server, the greeting's too
  std::string carried_;        // received bytes past the reply they came with
  size_t carried_from_ = 0;    // the first of them not handed on yet
  bool last_receive_carried_ = false;
  std::map<int, std::string> unique_id_of_;
  std::string last_response_;
  Failure last_failure_ = Failure::kNone;
  bool connected_ = false;
  bool token_refused_ = false;
  int connection_number_ = 0;
};

}  // namespace larkspin
