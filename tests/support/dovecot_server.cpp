#include "support/dovecot_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "mime/base64.h"
#include "platform/socket.h"
#include "support/child_process.h"

namespace larkspin::test_support {

namespace {
// The mail users' uid and gid: nobody/nogroup.
constexpr unsigned kMailOwner = 65534;
constexpr int kStartAttempts = 5;
constexpr auto kStartTimeout = std::chrono::seconds(30);
constexpr int kStopTimeoutMs = 15000;

namespace fs = std::filesystem;

// A port that was free a moment ago. Another program may take it before Dovecot binds it;
// Start then tries again with a new one.
int PickFreePort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  const bool bound = probe >= 0 && ::bind(probe, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                     ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  if (probe >= 0) ::close(probe);
  if (!bound) throw std::runtime_error("no free port on 127.0.0.1");
  return ntohs(address.sin_port);
}

void GiveToMailOwner(const std::string& path) {
  if (::chown(path.c_str(), kMailOwner, kMailOwner) != 0)
    throw std::runtime_error("cannot give " + path + " to uid 65534 (the Dovecot launcher needs root)");
}

void MakeMailFolder(const std::string& path) {
  fs::create_directories(path);
  GiveToMailOwner(path);
}

bool IsValidUserName(const std::string& name) {
  return !name.empty() && name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-") ==
                              std::string::npos;
}

// Dovecot's size for a message: every line end counted as CRLF.
size_t VirtualSize(const std::string& message) {
  size_t size = message.size();
  for (size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\n' && (i == 0 || message[i - 1] != '\r')) ++size;
  }
  return size;
}

// The greeting line of a POP3 server on 127.0.0.1:port, or empty when none comes.
std::string ReadGreeting(int port) {
  int socket = CreateStreamSocket();
  std::string error;
  std::string greeting;
  if (socket != kInvalidSocket && ConnectStreamSocket(socket, "127.0.0.1", port, error)) {
    char buffer[512];
    while (greeting.find('\n') == std::string::npos && WaitForReadable(socket, 2000) == WaitResult::kReadable) {
      const ssize_t received = ReceiveSome(socket, buffer, sizeof buffer);
      if (received <= 0) break;
      greeting.append(buffer, static_cast<size_t>(received));
    }
    SendAll(socket, "QUIT\r\n", 6);
  }
  CloseSocket(socket);
  return greeting;
}
}  // namespace

DovecotServer::DovecotServer() {
  if (::geteuid() != 0) throw std::runtime_error("the Dovecot launcher must run as root");
  // Dovecot's auth process runs as user dovecot and the mail processes as nobody: both must pass
  // through the folder that mkdtemp made private.
  fs::permissions(folder_.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
  fs::create_directories(folder_.File("run"));
  fs::create_directories(folder_.File("state"));
  fs::create_directories(folder_.File("mail"));
  WriteUserList();
}

DovecotServer::~DovecotServer() { Stop(); }

std::string DovecotServer::MaildirOf(const std::string& user) const {
  return folder_.File("mail/" + user + "/Maildir");
}

void DovecotServer::AddUser(const std::string& name, const std::string& password) {
  if (!IsValidUserName(name) || password.find_first_of(":\r\n") != std::string::npos)
    throw std::invalid_argument("unusable Dovecot user or password: " + name);
  const std::string maildir = MaildirOf(name);
  MakeMailFolder(folder_.File("mail/" + name));
  MakeMailFolder(maildir);
  for (const char* part : {"/new", "/cur", "/tmp"}) MakeMailFolder(maildir + part);
  users_.push_back({name, password});
  WriteUserList();
}

std::string DovecotServer::AddMessage(const std::string& user, const std::string& message) {
  // Maildir names: time, a unique part and the sizes, so Dovecot need not read the file to
  // learn them. The counter keeps names (and so the server's numbering) in the order added.
  const std::string name =
      std::to_string(std::time(nullptr)) + ".M" + std::to_string(1000000 + ++message_counter_) + "P" +
      std::to_string(::getpid()) + ".larkspin,S=" + std::to_string(message.size()) + ",W=" +
      std::to_string(VirtualSize(message));
  const std::string path = MaildirOf(user) + "/new/" + name;
  if (!fs::is_directory(MaildirOf(user) + "/new")) throw std::invalid_argument("no Dovecot user " + user);
  WriteFile(path, message);
  GiveToMailOwner(path);
  return path;
}

std::vector<std::string> DovecotServer::MessageFiles(const std::string& user) const {
  std::vector<std::string> files;
  for (const char* part : {"/new", "/cur"}) {
    for (const auto& entry : fs::directory_iterator(MaildirOf(user) + part)) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
    return fs::path(a).filename() < fs::path(b).filename();
  });
  return files;
}

std::string DovecotServer::LogText() const { return ReadFile(folder_.File("dovecot.log")); }

void DovecotServer::WriteUserList() const {
  std::string list;
  for (const User& user : users_) {
    list += user.name + ":{PLAIN}" + user.password + ":" + std::to_string(kMailOwner) + ":" +
            std::to_string(kMailOwner) + "::" + folder_.File("mail/" + user.name) + "::\n";
  }
  // Replaced in one step: Dovecot re-reads the file when it changes and must never see half of it.
  const std::string staging = folder_.File("users.new");
  WriteFile(staging, list);
  fs::permissions(staging, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                               fs::perms::others_read);
  fs::rename(staging, folder_.File("users"));
}

void DovecotServer::EnableTls(const std::string& certificate_file, const std::string& key_file) {
  certificate_file_ = certificate_file;
  key_file_ = key_file;
}

std::string DovecotServer::SslSettings() const {
  if (certificate_file_.empty()) return "ssl = no\n";
  return "ssl = required\nssl_cert = <" + certificate_file_ + "\nssl_key = <" + key_file_ + "\n";
}

std::string DovecotServer::TlsListener() const {
  if (certificate_file_.empty()) return "";
  return "  inet_listener pop3s {\n    address = 127.0.0.1\n    port = " + std::to_string(tls_port_) +
         "\n    ssl = yes\n  }\n";
}

void DovecotServer::EnableOAuth(const std::string& secret) {
  // The passdb looks the key up as <azp>/<alg>/<kid>, both names "default" when the token has none.
  fs::create_directories(folder_.File("keys/default/HS256"));
  WriteFile(folder_.File("keys/default/HS256/default"), Base64Codec().Encode(secret));
  WriteFile(folder_.File("oauth2.conf"), "introspection_mode = local\nlocal_validation_key_dict = fs:posix:prefix=" +
                                             folder_.File("keys/") + "\nusername_attribute = sub\n");
  oauth_ = true;
}

std::string DovecotServer::AuthSettings() const {
  const std::string& base = folder_.Path();
  // Only PLAIN (and USER/PASS) reach the password list: a refused token must never be tried as a
  // password.
  const std::string passwords =
      "passdb {\n  driver = passwd-file\n  mechanisms = plain\n  args = scheme=PLAIN " + base + "/users\n}\n";
  if (!oauth_) return "auth_mechanisms = plain\n" + passwords;
  // auth_verbose logs why a token was refused ("Token has expired"), never the token.
  return "auth_mechanisms = plain xoauth2 oauthbearer\nauth_verbose = yes\n"
         "passdb {\n  driver = oauth2\n  mechanisms = xoauth2 oauthbearer\n  args = " + base + "/oauth2.conf\n}\n" +
         passwords;
}

void DovecotServer::WriteConfiguration() const {
  const std::string& base = folder_.Path();
  WriteFile(folder_.File("dovecot.conf"),
            "# Private POP3 server for Larkspin's tests; everything lives in this folder.\n"
            "base_dir = " + base + "/run\n"
            "state_dir = " + base + "/state\n"
            "log_path = " + base + "/dovecot.log\n"
            "protocols = pop3\n"
            "listen = 127.0.0.1\n"
            + SslSettings() +
            "disable_plaintext_auth = no\n"
            + AuthSettings() +
            // Only the fixed half-second check interval remains before a failed login is answered.
            "auth_failure_delay = 0\n"
            "login_greeting = Dovecot ready (" + base + ").\n"
            "mail_location = maildir:~/Maildir\n"
            "userdb {\n  driver = passwd-file\n  args = " + base + "/users\n}\n"
            "service pop3-login {\n"
            "  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " + std::to_string(port_) + "\n  }\n" +
            TlsListener() +
            "}\n"
            // Without this socket the auth process keeps no per-address penalty: a test's wrong
            // password must not slow every later login from 127.0.0.1 by up to 15 seconds.
            "service anvil {\n  unix_listener anvil-auth-penalty {\n    mode = 0\n  }\n}\n");
}

void DovecotServer::Start() {
  if (master_ > 0) return;
  std::string failure;
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    if (TryStart(failure)) return;
  }
  throw std::runtime_error("Dovecot did not start: " + failure);
}

bool DovecotServer::TryStart(std::string& failure) {
  port_ = PickFreePort();
  if (!certificate_file_.empty()) tls_port_ = PickFreePort();
  WriteConfiguration();
  // In the foreground, so the server is our child: its exit is seen at once and it is reaped.
  master_ = StartProcess({"dovecot", "-F", "-c", folder_.File("dovecot.conf")}, folder_.File("dovecot.out"));
  if (master_ < 0) {
    failure = "cannot fork";
    return false;
  }
  if (WaitUntilGreeting(failure)) return true;
  EndProcess(master_, kStopTimeoutMs);
  master_ = -1;
  return false;
}

bool DovecotServer::WaitUntilGreeting(std::string& failure) {
  // The greeting names this instance's folder, so a stranger on the port is never taken for it.
  const std::string expected = "+OK Dovecot ready (" + folder_.Path() + ").";
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (WaitForExit(master_, 0, &status)) {
      master_ = -1;
      failure = "exit status " + std::to_string(WEXITSTATUS(status)) + "\n" + ReadFile(folder_.File("dovecot.out")) +
                LogText();
      return false;
    }
    if (ReadGreeting(port_).starts_with(expected)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  failure = "no greeting on port " + std::to_string(port_) + " within 30 s\n" + LogText();
  return false;
}

void DovecotServer::Stop() {
  if (master_ <= 0) return;
  const std::vector<pid_t> workers = ChildProcessesOf(master_);
  const pid_t stopper =
      StartProcess({"doveadm", "-c", folder_.File("dovecot.conf"), "stop"}, folder_.File("dovecot.out"));
  // doveadm waits for the master to vanish, which needs us to reap it: wait for both.
  if (!WaitForExit(master_, kStopTimeoutMs)) EndProcess(master_, 1000);
  if (stopper > 0 && !WaitForExit(stopper, kStopTimeoutMs)) EndProcess(stopper, 1000);
  WaitUntilGone(workers, kStopTimeoutMs);
  master_ = -1;
}

}  // namespace larkspin::test_support
