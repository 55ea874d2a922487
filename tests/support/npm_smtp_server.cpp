#include "support/npm_smtp_server.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "common/decimal.h"
#include "support/child_process.h"

namespace larkspin::test_support {

namespace {
constexpr auto kStartTimeout = std::chrono::seconds(20);
constexpr int kStopTimeoutMs = 5000;

namespace fs = std::filesystem;

int MessageNumber(const fs::path& file) { return ParseDecimalInt(file.stem().string()); }
}  // namespace

NpmSmtpServer::NpmSmtpServer(std::string user, std::string password)
    : user_(std::move(user)), password_(std::move(password)) {
  fs::create_directories(folder_.File("mail"));
}

NpmSmtpServer::~NpmSmtpServer() { Stop(); }

std::string NpmSmtpServer::InstallDirectory() { return LARKSPIN_SMTP_SERVER_DIR; }

void NpmSmtpServer::EnableTls(bool implicit, const std::string& certificate_file, const std::string& key_file) {
  tls_arguments_ = {implicit ? "secure" : "starttls", certificate_file, key_file};
}

void NpmSmtpServer::EnableXoauth2() { xoauth2_ = true; }

void NpmSmtpServer::Start() {
  const std::string script = InstallDirectory() + "/smtp_server.js";
  if (!fs::exists(InstallDirectory() + "/node_modules/smtp-server"))
    throw std::runtime_error("npm smtp-server is not installed in " + InstallDirectory() + " (build the tree first)");
  const std::string port_file = folder_.File("port");
  const std::string output = folder_.File("server.log");
  std::vector<std::string> command = {"node", script, port_file, folder_.File("mail"), user_, password_};
  command.insert(command.end(), tls_arguments_.begin(), tls_arguments_.end());
  if (xoauth2_) command.push_back("xoauth2");
  node_ = StartProcess(command, output);
  if (node_ < 0) throw std::runtime_error("cannot start node");
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (!fs::exists(port_file)) {
    int status = 0;
    if (WaitForExit(node_, 50, &status)) {
      node_ = -1;
      throw std::runtime_error("smtp-server exited at start: " + ReadFile(output));
    }
    if (std::chrono::steady_clock::now() > deadline) {
      Stop();
      throw std::runtime_error("smtp-server did not start in time: " + ReadFile(output));
    }
  }
  port_ = ParseDecimalInt(ReadFile(port_file));
}

void NpmSmtpServer::Stop() {
  if (node_ < 0) return;
  EndProcess(node_, kStopTimeoutMs);
  node_ = -1;
}

std::vector<std::string> NpmSmtpServer::MessageFiles() const {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder_.File("mail"))) {
    if (entry.path().extension() == ".eml") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return MessageNumber(a) < MessageNumber(b); });
  return std::vector<std::string>(files.begin(), files.end());
}

bool NpmSmtpServer::WaitForMessages(size_t count, int timeout_ms) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (MessageFiles().size() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::vector<std::string> NpmSmtpServer::AccessTokensSeen() const {
  const std::string file = folder_.File("mail/access-tokens");
  std::vector<std::string> tokens;
  std::istringstream lines(fs::exists(file) ? ReadFile(file) : "");
  for (std::string token; std::getline(lines, token);) tokens.push_back(token);
  return tokens;
}

std::string NpmSmtpServer::EnvelopeOf(const std::string& message_path) const {
  return ReadFile(fs::path(message_path).replace_extension(".envelope").string());
}

}  // namespace larkspin::test_support
