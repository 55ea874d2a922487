#include "demo_server/smtp_service.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/decimal.h"
#include "common/format.h"

namespace larkspin::demo {

namespace {
namespace fs = std::filesystem;

// The highest n of the "<n>.eml" files in folder.
int HighestMessageNumber(const std::string& folder) {
  int highest = 0;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) {
    if (entry.path().extension() == ".eml") highest = std::max(highest, ParseDecimalInt(entry.path().stem().string()));
  }
  return highest;
}
}  // namespace

CSmtpService::CSmtpService(DemoCredentials credentials, std::string folder, ActivityReport report)
    : credentials_(std::move(credentials)), folder_(std::move(folder)), report_(std::move(report)) {}

bool CSmtpService::Start(int port, std::string& error) {
  std::error_code failure;
  fs::create_directories(folder_, failure);
  if (failure) {
    error = "cannot create " + folder_ + ": " + failure.message();
    return false;
  }
  last_number_ = HighestMessageNumber(folder_);
  return listener_.Start(port, [this](CLineConnection& connection) { Converse(connection); }, error);
}

void CSmtpService::Converse(CLineConnection& connection) {
  CSmtpSession session(credentials_, connection, [this](const ReceivedMail& mail) { return Keep(mail); });
  session.Run();
}

std::string CSmtpService::Keep(const ReceivedMail& mail) {
  std::string path;
  {
    std::lock_guard lock(files_mutex_);
    path = (fs::path(folder_) / FormatText("%d.eml", ++last_number_)).string();
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return {};
  const bool written = std::fwrite(mail.data.data(), 1, mail.data.size(), file) == mail.data.size();
  if (std::fclose(file) != 0 || !written) return {};
  if (report_) {
    const std::string who = mail.login.empty() ? "a client without login" : "\"" + PrintableText(mail.login) + "\"";
    report_(FormatText("SMTP: %s sent a message from <%s> to %zu recipient(s), %zu bytes, kept as %s", who.c_str(),
                       PrintableText(mail.from).c_str(), mail.recipients.size(), mail.data.size(), path.c_str()));
  }
  return "kept as " + fs::path(path).filename().string();
}

}  // namespace larkspin::demo
