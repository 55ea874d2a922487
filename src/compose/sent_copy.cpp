#include "compose/sent_copy.h"

#include <cctype>
#include <cstdio>

#include "common/format.h"
#include "compose/recipient_text.h"
#include "platform/file_system.h"
#include "res/resources.h"

namespace larkspin {

namespace {
std::string WithDots(std::string stamp) {
  for (char& c : stamp) {
    if (c == '_') c = '.';
  }
  return stamp;
}
}  // namespace

std::string SentCopyStamp(const std::tm& local) {
  return FormatText("%02d_%02d_%04d_%02d_%02d_%02d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                    local.tm_hour, local.tm_min, local.tm_sec);
}

std::string SentFieldDateText(const std::string& sent) {
  constexpr size_t kStampLength = 19;  // DD.MM.YYYY.hh.mm.ss
  if (sent.size() != kStampLength) return sent;
  for (size_t i = 0; i < kStampLength; ++i) {
    const bool separator = i == 2 || i == 5 || i == 10 || i == 13 || i == 16;
    if (separator ? sent[i] != '.' : !std::isdigit(static_cast<unsigned char>(sent[i]))) return sent;
  }
  std::string text = sent;
  text[10] = ' ';
  text[13] = ':';
  text[16] = ':';
  return text;
}

std::string SentCopyPath(int account_number, const std::string& stamp) {
  return WorkingDirectory() + FormatText("mailbox%d/sent/msg%s.txt", account_number, stamp.c_str());
}

std::string RenderSentCopy(const SentCopy& copy) {
  return "To: " + SentCopyRecipientText(copy.to) + "\r\n" +            //
         "Cc: " + SentCopyRecipientText(copy.cc) + "\r\n" +            //
         "Bcc: " + SentCopyRecipientText(copy.bcc) + "\r\n" +          //
         "Sent: " + WithDots(copy.stamp) + "\r\n" +                    //
         "Subject: " + copy.subject + "\r\n\r\n" + copy.text +         //
         "\r\n\r\n" + LoadResourceString(kStringAttachmentsOpening) + copy.attachments +
         LoadResourceString(kStringAttachmentsClosing) + "\r\n";
}

bool WriteSentCopy(const std::string& path, const SentCopy& copy) {
  std::FILE* file = OpenPrivateFile(path, "wb");
  if (file == nullptr) return false;
  const std::string content = RenderSentCopy(copy);
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace larkspin
