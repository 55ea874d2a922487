#pragma once
// The demo server's POP3 service: any login with any password opens the one demo mailbox.
// Commands: USER, PASS, CAPA, STAT, LIST, UIDL, TOP, RETR, DELE, RSET, NOOP, QUIT. Deletions
// take effect at QUIT (a session that ends without QUIT deletes nothing) and last until the
// server restarts. Lines of a message that begin with "." are sent with another "." before them.
#include <functional>
#include <string>

#include "demo_server/connection_listener.h"
#include "demo_server/demo_mailbox.h"

namespace larkspin::demo {

class CPop3Service {
 public:
  // Receives one line about each finished session, for the server's console.
  using ActivityReport = std::function<void(const std::string&)>;

  explicit CPop3Service(CDemoMailbox& mailbox, ActivityReport report = {});

  // Listens on 127.0.0.1:port (0 picks a free port); false, with the reason in error, on failure.
  bool Start(int port, std::string& error);
  int Port() const { return listener_.Port(); }
  void Stop() { listener_.Stop(); }

 private:
  void Converse(CLineConnection& connection);

  CDemoMailbox& mailbox_;
  ActivityReport report_;
  CConnectionListener listener_;
};

}  // namespace larkspin::demo
