#pragma once
// A private Dovecot POP3 server for integration tests and benchmarks. Its configuration, users,
// maildirs, sockets and log live in a temporary folder; it listens on 127.0.0.1 and a free port
// and is stopped, and the folder removed, with the object. Two servers (in one process or in
// parallel test processes) never share a folder or a port.
//
// Needs the Debian packages dovecot-core and dovecot-pop3d and root rights: the mail users are
// uid/gid 65534 (nobody/nogroup). Dovecot runs as a child of the thread that called Start and is
// told to stop when that thread ends, so a crashed test leaves no server behind.
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace larkspin::test_support {

class DovecotServer {
 public:
  DovecotServer();
  ~DovecotServer();
  DovecotServer(const DovecotServer&) = delete;
  DovecotServer& operator=(const DovecotServer&) = delete;

  // A mail user with its password; the name may hold letters, digits, ".", "_" and "-", the
  // password anything but ":" and line breaks. Users may be added before or after Start.
  void AddUser(const std::string& name, const std::string& password);
  // Puts a message into the user's maildir exactly as given (so its size is its length in
  // bytes; give it CRLF line ends). Messages are numbered by the server in the order added.
  // Returns the path of the new file.
  std::string AddMessage(const std::string& user, const std::string& message);

  // Serves TLS with this certificate and key (call before Start): the plain port offers STLS
  // and a second port speaks POP3S.
  void EnableTls(const std::string& certificate_file, const std::string& key_file);

  // Also takes XOAUTH2 and OAUTHBEARER (call before Start): an oauth2 passdb validates the access
  // token locally, as an HS256 JWT signed with secret whose "sub" is the user and whose "exp" has
  // not passed.
  void EnableOAuth(const std::string& secret);

  // Writes the configuration, starts Dovecot and waits until it greets on its port; throws
  // std::runtime_error with Dovecot's own output when it cannot be started.
  void Start();
  // Stops Dovecot (doveadm stop) and waits until its master and every process it started are
  // gone. Also done by the destructor.
  void Stop();

  int Port() const { return port_; }
  // The POP3S port once TLS is enabled and the server started.
  int TlsPort() const { return tls_port_; }
  // The paths of the user's message files (new/ and cur/), sorted by name; Dovecot renames a
  // file when it moves it from new/ to cur/ but keeps the name's leading part.
  std::vector<std::string> MessageFiles(const std::string& user) const;
  // What Dovecot wrote to its log so far.
  std::string LogText() const;

 private:
  std::string MaildirOf(const std::string& user) const;
  void WriteConfiguration() const;
  std::string SslSettings() const;
  std::string TlsListener() const;
  std::string AuthSettings() const;
  void WriteUserList() const;
  // One attempt on a newly chosen port; false (with the reason in failure) when Dovecot exited.
  bool TryStart(std::string& failure);
  bool WaitUntilGreeting(std::string& failure);

  TempFolder folder_;
  struct User {
    std::string name;
    std::string password;
  };
  std::vector<User> users_;
  int message_counter_ = 0;
  int port_ = 0;
  int tls_port_ = 0;
  std::string certificate_file_;
  std::string key_file_;
  bool oauth_ = false;
  pid_t master_ = -1;
};

}  // namespace larkspin::test_support
