#include "support/fake_smtp_server.h"

namespace larkspin::test_support {

FakeSmtpServer::FakeSmtpServer(ScriptedReply greeting) : FakeLineServer(std::move(greeting), "500 unknown command\r\n") {
  On(".", Reply("250 OK queued\r\n"));
  Start();
}

FakeSmtpServer::~FakeSmtpServer() { Stop(); }

void FakeSmtpServer::AcceptMail() {
  On("HELO", Reply("250 fake\r\n"));
  On("EHLO", Reply("250-fake\r\n250-AUTH LOGIN PLAIN CRAM-MD5\r\n250 8BITMIME\r\n"));
  On("MAIL FROM:", Reply("250 sender OK\r\n"));
  On("RCPT TO:", Reply("250 recipient OK\r\n"));
  On("DATA", Reply("354 go ahead\r\n"));
  On("QUIT", Reply("221 bye\r\n"));
}

std::vector<std::string> FakeSmtpServer::ReceivedData() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

void FakeSmtpServer::OnConnection() {
  std::lock_guard lock(mutex_);
  in_data_ = false;
  data_.clear();
}

ScriptedReply FakeSmtpServer::Answer(const std::string& line) {
  {
    std::lock_guard lock(mutex_);
    if (in_data_ && line != ".") {
      data_ += line + "\r\n";
      return Silence();
    }
    if (in_data_) {
      in_data_ = false;
      // The CR LF before the "." belongs to the end marker.
      messages_.push_back(data_.substr(0, data_.size() >= 2 ? data_.size() - 2 : 0));
      data_.clear();
    }
  }
  ScriptedReply reply = AnswerByRules(line);
  const bool data_follows = line.starts_with("DATA") && !reply.chunks.empty() && reply.chunks[0].starts_with("354");
  std::lock_guard lock(mutex_);
  in_data_ = data_follows;
  return reply;
}

}  // namespace larkspin::test_support
