#pragma once
// One accepted client connection of a line-based protocol (POP3, SMTP): reads command lines and
// sends replies. It does not own the socket; the listener that accepted it closes it.
#include <string>
#include <string_view>

namespace larkspin::demo {

class CLineConnection {
 public:
  // Longest line accepted, with its line end; a longer one ends the conversation.
  static constexpr size_t kMaxLineLength = 8192;
  // A client silent for this long is dropped (the autologout of POP3 servers).
  static constexpr unsigned kIdleTimeoutMs = 10 * 60 * 1000;

  explicit CLineConnection(int socket) : socket_(socket) {}
  CLineConnection(const CLineConnection&) = delete;
  CLineConnection& operator=(const CLineConnection&) = delete;

  // The next line without its line end (CRLF, or a bare LF). False when the client closed the
  // connection, stayed silent too long, or sent an over-long line.
  bool ReadLine(std::string& line);
  // Sends every byte; false when the client is gone.
  bool Send(std::string_view text);

 private:
  int socket_;
  std::string pending_;
};

// A text a client sent, safe to print on the server's console: control characters become "?".
std::string PrintableText(std::string text);

}  // namespace larkspin::demo
