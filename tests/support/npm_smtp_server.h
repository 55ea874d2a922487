#pragma once
// The real SMTP server of the integration tests and the send benchmark: npm smtp-server, driven
// by smtp_server/smtp_server.js, on 127.0.0.1 and a free port, with AUTH PLAIN, LOGIN and
// CRAM-MD5 for one user (authentication optional). Received messages are stored as files in a
// temporary folder. The package is installed into the build tree by the build (npm ci, from the
// pinned package-lock.json); the server runs as a child of the thread that called Start and is
// stopped, and the folder removed, with the object.
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace larkspin::test_support {

class NpmSmtpServer {
 public:
  NpmSmtpServer(std::string user, std::string password);
  ~NpmSmtpServer();
  NpmSmtpServer(const NpmSmtpServer&) = delete;
  NpmSmtpServer& operator=(const NpmSmtpServer&) = delete;

  // Serves TLS with this certificate and key (call before Start): from the first byte when
  // implicit, else by offering STARTTLS.
  void EnableTls(bool implicit, const std::string& certificate_file, const std::string& key_file);

  // Offers AUTH XOAUTH2 too (call before Start): any access token signs the user in.
  void EnableXoauth2();

  // Starts node and waits until the server listens; throws std::runtime_error with its output
  // when it cannot be started.
  void Start();
  void Stop();

  int Port() const { return port_; }
  // The paths of the stored messages (<n>.eml) in the order received.
  std::vector<std::string> MessageFiles() const;
  // Waits at most timeout_ms until count messages are stored.
  bool WaitForMessages(size_t count, int timeout_ms) const;
  // The access tokens AUTH XOAUTH2 was given, in the order given.
  std::vector<std::string> AccessTokensSeen() const;
  // The envelope of message file path: "MAIL FROM <address>" and "RCPT TO <address>" lines.
  std::string EnvelopeOf(const std::string& message_path) const;
  // The directory the server's script and node_modules are in.
  static std::string InstallDirectory();

 private:
  TempFolder folder_;
  std::string user_;
  std::string password_;
  int port_ = 0;
  std::vector<std::string> tls_arguments_;
  bool xoauth2_ = false;
  pid_t node_ = -1;
};

}  // namespace larkspin::test_support
