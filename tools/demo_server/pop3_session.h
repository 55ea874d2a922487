#pragma once
// One POP3 conversation of the demo server (RFC 1939): the authorization state (any login and
// password are accepted), then the transaction state on a copy of the mailbox's message list
// taken at login, and at QUIT the update that removes the messages marked for deletion.
#include <string>
#include <vector>

#include "demo_server/demo_mailbox.h"
#include "demo_server/line_connection.h"

namespace larkspin::demo {

class CPop3Session {
 public:
  CPop3Session(CDemoMailbox& mailbox, CLineConnection& connection) : mailbox_(mailbox), connection_(connection) {}

  // Converses until QUIT or until the client leaves.
  void Run();

  // For the server's console, once Run has returned.
  const std::string& Login() const { return login_; }
  bool LoggedIn() const { return logged_in_; }
  size_t MessageCountAtLogin() const { return messages_.size(); }
  size_t DeletedAtQuit() const { return deleted_at_quit_; }

 private:
  struct Command {
    std::string verb;  // upper case
    std::vector<std::string> arguments;
  };
  std::string AnswerBeforeLogin(const Command& command);
  std::string AnswerAfterLogin(const Command& command);

  std::string Stat() const;
  std::string List(const Command& command) const;
  std::string Uidl(const Command& command) const;
  std::string Top(const Command& command) const;
  std::string Retr(const Command& command) const;
  std::string Dele(const Command& command);
  std::string Rset();
  std::string Quit();

  // The message named by the command's first argument, and its number n; nullptr, with the error
  // reply in error, when there is no such message.
  const DemoMessage* MessageNamed(const Command& command, size_t& n, std::string& error) const;
  size_t CountLeft() const;
  size_t OctetsLeft() const;

  CDemoMailbox& mailbox_;
  CLineConnection& connection_;
  std::string login_;
  bool logged_in_ = false;
  bool quitting_ = false;
  DemoMessageList messages_;
  std::vector<bool> deleted_;
  size_t deleted_at_quit_ = 0;
};

// A message as the body of a multi-line reply: every line that begins with "." gets another "."
// in front, and the terminating line "." follows. text must end with CRLF (or be empty).
std::string MultiLineBody(std::string_view text);

// The header of a message, its empty line, and the first body_lines lines of its body.
std::string TopOfMessage(std::string_view text, size_t body_lines);

}  // namespace larkspin::demo
