#pragma once
// The demo server's SMTP service: accepts mail from anyone, with or without authentication (the
// demo credentials, by AUTH LOGIN, PLAIN, CRAM-MD5 or the plain-text AUTH LOGIN PLAIN), and keeps
// every message it receives as a file "<n>.eml" in its folder, numbered on from the files
// already there. Nothing is relayed anywhere.
#include <functional>
#include <mutex>
#include <string>

#include "demo_server/connection_listener.h"
#include "demo_server/smtp_session.h"

namespace larkspin::demo {

class CSmtpService {
 public:
  // Receives one line about each finished session, for the server's console.
  using ActivityReport = std::function<void(const std::string&)>;

  CSmtpService(DemoCredentials credentials, std::string folder, ActivityReport report = {});

  // Creates the folder and listens on 127.0.0.1:port (0 picks a free port); false, with the
  // reason in error, on failure.
  bool Start(int port, std::string& error);
  int Port() const { return listener_.Port(); }
  const std::string& Folder() const { return folder_; }
  void Stop() { listener_.Stop(); }

 private:
  void Converse(CLineConnection& connection);
  // Writes the message to the next free file; its name, or empty when it could not be written.
  std::string Keep(const ReceivedMail& mail);

  DemoCredentials credentials_;
  std::string folder_;
  ActivityReport report_;
  std::mutex files_mutex_;
  int last_number_ = 0;
  CConnectionListener listener_;
};

}  // namespace larkspin::demo
