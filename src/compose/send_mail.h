#pragma once
// Sending one composed mail the way the compose window's Send does, without the window: the
// CSMTPMail is built from the fields (attachments, priority, sender, recipients, umlaut rule,
// footer, Reply-To), sent over the caller's connection with the identity's authentication, and
// kept as a sent copy in the identity's sent folder. What the window shows and logs comes back.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "config/account_record.h"
#include "config/language_table.h"
#include "smtp/smtp_connection.h"

namespace larkspin {

// The priority selector's entries; kNoPriority when nothing is selected.
enum ComposePriority : int { kNoPriority = -1, kPriorityHigh = 0, kPriorityNormal = 1, kPriorityLow = 2 };

// The compose window's fields; all texts in Windows-1252, or in UTF-8 when the send settings'
// text encoding says so.
struct ComposedMail {
  std::string to;
  std::string cc;
  std::string bcc;
  std::string subject;
  int priority = kPriorityNormal;
  std::string text;         // the editor's plain text
  std::string attachments;  // file paths separated by ","
  std::string in_reply_to;  // a reply: the Message-ID of the answered message, else empty
  std::string references;   // a reply: its last reference and its Message-ID, else empty
};

struct SendSettings {
  bool strip_umlauts = true;  // [System] StripUmlaut
  int timeout_seconds = 60;   // [System] TimeOut
  // [System] Charsets. With kUtf8 the mail's texts are UTF-8: a mail whose every text is plain
  // ISO-8859-1 goes out exactly as Classic sends it, any other in UTF-8 (encoded words and a
  // UTF-8 quoted-printable text); its sent copy keeps the texts as they went out.
  TextEncoding text_encoding = TextEncoding::kClassic;
  // Language texts Messages/SendOk (three "%s": subject, recipients, host) and Messages/SendFail.
  std::string success_format = "Message '%s' successfully sent to '%s' via '%s'.";
  std::string failure_text = "Failed to send message.";
};

// StripUmlaut, TimeOut and Charsets of config.ini and the two texts of language.
SendSettings ReadSendSettings(const CLanguageTable& language);

// One notice to show, in order: the window shows it in a message box, the command line prints it.
struct SendNotice {
  enum class Kind { kSent, kProblem };  // the message went out; something went wrong
  Kind kind;
  std::string text;
};

// Shows one notice as it arises, before the send goes on (the window's message box).
using NoticeSink = std::function<void(const SendNotice&)>;

struct SendOutcome {
  bool sent = false;
  std::vector<SendNotice> notices;
  std::vector<std::string> log_entries;  // for LogEvent, in order
  std::string subject;                   // after the umlaut rule: the window keeps it
  std::string sent_copy_path;            // empty when no copy was written
  std::string failure_reason;            // the logged failure text; empty on success
};

// connection is the window's connection object: made (with the time-out) when it is null,
// dropped after a failed connect, kept open after a failed transaction, disconnected after a
// successful one. show_notice, when given, gets every notice at the moment it arises (each is
// also listed in the outcome).
SendOutcome SendComposedMail(const AccountRecord& identity, const ComposedMail& mail, const SendSettings& settings,
                             std::unique_ptr<CSMTPConnection>& connection, const NoticeSink& show_notice = nullptr);

// The method code of an account's Authentication value (exact comparison; anything else is 0).
int AuthMethodOfSetting(const std::string& authentication);

// Where and how an account's SMTP connection logs in.
struct SmtpLogin {
  std::string section;  // the account's, for its OAuth settings and token
  std::string host;
  int port = 25;
  int method = kAuthNone;
  std::string user;      // not for kAuthOAuth2, which logs in as OAuthLogin
  std::string password;  // likewise
};

// Connects and logs in with the method; with kAuthOAuth2 the access token of the section's
// account stands for the password, renewed and tried once more when the server refuses it.
// False with reason on failure: the server's reply, or why no token is at hand.
bool ConnectAndLogIn(CSMTPConnection& connection, const SmtpLogin& login, std::string& reason);

}  // namespace larkspin
