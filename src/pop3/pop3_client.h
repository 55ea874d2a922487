#pragma once
// The POP3 client: one conversation with one server over one TCP connection, with blocking,
// time-limited reads of single-line and multi-line replies. Every operation returns true on
// success; after a failure LastReply() holds the text of the reply that failed (or a plain
// description of a local failure such as an unreachable host).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pop3/pop3_text.h"
#include "platform/reply_buffer.h"
#include "platform/socket_link.h"

namespace larkspin {

class CPop3Client {
 public:
  CPop3Client() = default;
  CPop3Client(const CPop3Client&) = delete;
  CPop3Client& operator=(const CPop3Client&) = delete;
  ~CPop3Client();

  // Greeting, USER and PASS. A login or password holding a line break is refused before
  // anything is sent.
  bool Connect(const std::string& host, const std::string& user, const std::string& password, int port);
  // QUIT; closes the socket in every case. After a successful QUIT the last reply's text is the
  // one from before it, so an earlier error survives the logout.
  bool Disconnect();
  bool Statistics(int& count, int& size);
  // Size of message n from LIST (STAT and LIST are issued once per connection).
  bool GetMessageSize(int n, uint32_t& size);
  // TOP n 0: the header only.
  bool GetMessageHeader(int n, CPop3Text& message);
  // RETR n: the whole message.
  bool Retrieve(int n, CPop3Text& message);
  bool Delete(int n);
  std::string LastReply() const { return last_response_; }

  bool IsConnected() const { return connected_; }
  int MessageCount() const { return message_count_; }

  // How long one wait for data may last.
  unsigned read_timeout_ms = 2000;
  // Whether and how the connection is encrypted (POP3S or STLS); plain by default.
  TlsOptions tls;

 private:
  bool ReadStatReply(int& count, int& size);
  bool ReadLineReply();
  bool ReadSizeList(int count);
  bool ReadTextReply(CPop3Text& message, uint32_t size);
  // The one reading loop: reads into buffer until what was received ends with terminator,
  // growing the buffer by at least growth_step when a receive fills it. True when the reply
  // begins with "+OK" (case ignored).
  bool ReadReply(CReplyBuffer& buffer, std::string_view terminator, size_t growth_step);
  bool SendCommand(const std::string& command);
  bool StartTls(const std::string& host, int port);
  bool UpgradeToTlsIfConfigured(const std::string& host, int port);
  bool EnsureSizesKnown();
  bool FetchText(const char* command, int n, CPop3Text& message);
  void FailWith(std::string text);

  CSocketLink socket_;
  int message_count_ = 0;
  bool sizes_known_ = false;
  bool statistics_known_ = false;
  std::vector<uint32_t> message_sizes_;
  std::string last_response_;
  bool connected_ = false;
};

}  // namespace larkspin
