// larkspin-demo-server: a small mail server on 127.0.0.1 to try Larkspin against. It serves the
// messages of a folder over POP3 to any login and password, and accepts mail over SMTP (keeping
// each message as a file), until Ctrl-C (or SIGTERM). Each service runs on a listener of its own;
// main only reads the options and starts them.
#include <signal.h>

#include <cstdio>
#include <string>

#include "common/decimal.h"
#include "demo_server/demo_mailbox.h"
#include "demo_server/pop3_service.h"
#include "demo_server/smtp_service.h"

namespace {

using larkspin::demo::CDemoMailbox;
using larkspin::demo::CPop3Service;
using larkspin::demo::CSmtpService;

// The login and password SMTP authentication accepts.
const larkspin::demo::DemoCredentials kDemoCredentials{"demo", "demo"};
constexpr int kDefaultSmtpPort = 1025;

struct Options {
  std::string messages = LARKSPIN_DEMO_MESSAGES;
  int pop3_port = 1110;
  int smtp_port = kDefaultSmtpPort;
  bool smtp_port_given = false;
  std::string received = LARKSPIN_DEMO_RECEIVED;
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "Usage: larkspin-demo-server [--messages DIR] [--pop3-port N] [--smtp-port N] [--received DIR]\n"
               "  --messages DIR   serve every file in DIR (except hidden ones) as one message\n"
               "                   (default: the shipped samples, %s)\n"
               "  --pop3-port N    POP3 port on 127.0.0.1 (default 1110; 0 picks a free one)\n"
               "  --smtp-port N    SMTP port on 127.0.0.1 (default 1025, or a free one when 1025 is taken;\n"
               "                   0 picks a free one)\n"
               "  --received DIR   keep the mail received over SMTP in DIR (default %s)\n",
               LARKSPIN_DEMO_MESSAGES, LARKSPIN_DEMO_RECEIVED);
}

bool ParsePort(const std::string& text, int& port) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  port = larkspin::ParseDecimalInt(text);
  return port <= 65535;
}

// False on a bad command line; help is set when usage was asked for.
bool ParseOptions(int argc, char** argv, Options& options, bool& help) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--help" || name == "-h") {
      help = true;
      return true;
    }
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (name == "--messages") {
      options.messages = value;
    } else if (name == "--pop3-port") {
      if (!ParsePort(value, options.pop3_port)) return false;
    } else if (name == "--smtp-port") {
      if (!ParsePort(value, options.smtp_port)) return false;
      options.smtp_port_given = true;
    } else if (name == "--received") {
      options.received = value;
    } else {
      return false;
    }
  }
  return true;
}

void PrintActivity(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  // Blocked before any thread starts, so only the wait below receives the stop signals.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  Options options;
  bool help = false;
  if (!ParseOptions(argc, argv, options, help)) {
    PrintUsage(stderr);
    return 2;
  }
  if (help) {
    PrintUsage(stdout);
    return 0;
  }

  std::string error;
  CDemoMailbox mailbox;
  if (!mailbox.Load(options.messages, error)) {
    std::fprintf(stderr, "larkspin-demo-server: %s\n", error.c_str());
    return 1;
  }
  CPop3Service pop3(mailbox, PrintActivity);
  if (!pop3.Start(options.pop3_port, error)) {
    std::fprintf(stderr, "larkspin-demo-server: POP3: %s\n", error.c_str());
    return 1;
  }
  CSmtpService smtp(kDemoCredentials, options.received, PrintActivity);
  if (!smtp.Start(options.smtp_port, error) && (options.smtp_port_given || !smtp.Start(0, error))) {
    std::fprintf(stderr, "larkspin-demo-server: SMTP: %s\n", error.c_str());
    pop3.Stop();
    return 1;
  }
  std::printf("Larkspin demo mail server\n"
              "  POP3 on 127.0.0.1:%d: %zu messages from %s, for any login and password\n"
              "  Deleted messages stay deleted until the server restarts; the files are never touched.\n"
              "  SMTP on 127.0.0.1:%d: accepts mail with login \"%s\" and password \"%s\", or without login,\n"
              "  and keeps each message as a file in %s; nothing is passed on.\n"
              "  Stop it with Ctrl-C.\n",
              pop3.Port(), mailbox.Messages().size(), options.messages.c_str(), smtp.Port(),
              kDemoCredentials.login.c_str(), kDemoCredentials.password.c_str(), smtp.Folder().c_str());
  std::fflush(stdout);

  int received = 0;
  sigwait(&stop_signals, &received);
  smtp.Stop();
  pop3.Stop();
  std::printf("Larkspin demo mail server stopped.\n");
  return 0;
}
