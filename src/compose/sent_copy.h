#pragma once
// The copy of a sent mail kept in the account's sent folder:
//   "To: " recipients CR LF, "Cc: " ... CR LF, "Bcc: " ... CR LF,
//   "Sent: " day.month.year.hour.minute.second CR LF, "Subject: " subject CR LF CR LF,
//   the text as sent, CR LF CR LF "<<Attachments: " attachments as typed ">>" CR LF.
#include <ctime>
#include <string>

namespace larkspin {

struct SentCopy {
  std::string to;   // recipient texts after ";" to "," and blank removal
  std::string cc;
  std::string bcc;
  std::string stamp;  // SentCopyStamp of the sending time
  std::string subject;
  std::string text;
  std::string attachments;  // as typed
};

// "DD_MM_YYYY_hh_mm_ss" of a local time: the file name's stamp.
std::string SentCopyStamp(const std::tm& local);
// "<working directory>mailbox<N>/sent/msg<stamp>.txt"
std::string SentCopyPath(int account_number, const std::string& stamp);
std::string RenderSentCopy(const SentCopy& copy);
// A copy's Sent field "DD.MM.YYYY.hh.mm.ss" as the Date column writes a time,
// "DD.MM.YYYY hh:mm:ss"; any other text as it is.
std::string SentFieldDateText(const std::string& sent);
// Creates (or replaces) the file; false when it cannot be written.
bool WriteSentCopy(const std::string& path, const SentCopy& copy);

}  // namespace larkspin
