#include "compose/send_mail.h"

#include <algorithm>

#include "common/format.h"
#include "common/quoted_server_text.h"
#include "common/windows_1252.h"
#include "compose/attachment_paths.h"
#include "compose/recipient_text.h"
#include "compose/sent_copy.h"
#include "compose/umlauts.h"
#include "config/current_account.h"
#include "config/ini_file.h"
#include "config/oauth_access.h"
#include "config/oauth_settings.h"
#include "config/oauth_token_store.h"
#include "config/startup_settings.h"
#include "config/working_files.h"
#include "platform/local_time.h"
#include "res/resources.h"
#include "smtp/smtp_mail.h"

namespace larkspin {

namespace {
constexpr const char* kCharset = "iso-8859-1";
constexpr const char* kUtf8Charset = "utf-8";

// The texts of one mail in the encoding they go out in.
struct OutgoingTexts {
  ComposedMail mail;
  std::string full_name;
  std::string footer;
  TextEncoding encoding = TextEncoding::kClassic;
};

// Classic texts go out as they are. UTF-8 texts go out in single bytes when they are plain
// ISO-8859-1, so the mail is what Classic sends; otherwise (a dash or a euro sign too) as UTF-8.
OutgoingTexts OutgoingTextsOf(const ComposedMail& mail, const AccountRecord& identity, TextEncoding encoding) {
  OutgoingTexts texts{mail, identity.full_name, LoadResourceString(kStringMailFooter), encoding};
  if (encoding == TextEncoding::kClassic) return texts;
  // config.ini and the resources may hold Windows-1252 bytes.
  texts.full_name = AsUtf8(texts.full_name);
  texts.footer = AsUtf8(texts.footer);
  ComposedMail& m = texts.mail;
  std::string* const all[] = {&m.to, &m.cc, &m.bcc, &m.subject, &m.text, &texts.full_name, &texts.footer};
  if (!std::ranges::all_of(all, [](const std::string* text) { return FitsIso88591(*text); })) return texts;
  for (std::string* text : all) *text = TypedTextToAnsi(*text);
  texts.encoding = TextEncoding::kClassic;
  return texts;
}

// The outcome being built, and where its notices are shown as they arise.
struct Report {
  SendOutcome& outcome;
  const NoticeSink& show_notice;
  void Notice(SendNotice notice) {
    if (show_notice) show_notice(notice);
    outcome.notices.push_back(std::move(notice));
  }
};

void Fail(Report& report, std::string logged, SendNotice notice) {
  report.outcome.log_entries.push_back(logged);
  report.outcome.failure_reason = std::move(logged);
  report.Notice(std::move(notice));
}

// Attaches every listed file; the caller has checked that each one exists.
void AttachFiles(CSMTPMail& message, const std::string& attachments) {
  CSMTPPart attachment;
  attachment.SetCharset(kCharset);
  for (const std::string& path : AttachmentPaths(attachments)) {
    if (attachment.AttachFile(path)) message.AttachPart(attachment);
  }
}

// A mail that lists a file that is not there is not sent at all: the box names each such file.
bool AttachmentsArePresent(const std::string& attachments, Report& report) {
  const std::vector<std::string> missing = MissingAttachments(attachments);
  if (missing.empty()) return true;
  std::string text = LoadResourceString(kStringAttachmentNotFound) + "\n";
  for (const std::string& path : missing) text += "\n" + path;
  Fail(report, text, {SendNotice::Kind::kProblem, text});
  return false;
}

const char* PriorityHeader(int priority) {
  switch (priority) {
    case kPriorityHigh:
      return "X-Priority: 1";
    case kPriorityLow:
      return "X-Priority: 5";
    default:
      return "X-Priority: 3";
  }
}

void AddRecipients(CSMTPMail& message, const std::string& normalized, int type) {
  for (const std::string& address : RecipientAddresses(normalized)) {
    message.AddRecipient(CSMTPRecipient(address, address), type);
  }
}

bool Connect(const AccountRecord& identity, const SendSettings& settings,
             std::unique_ptr<CSMTPConnection>& connection, Report& report) {
  if (!connection) {
    connection = std::make_unique<CSMTPConnection>();
    connection->SetTimeout(static_cast<unsigned>(std::max(settings.timeout_seconds, 0)) * 1000u);
  }
  connection->tls = identity.smtp_tls;
  std::string reason;
  const SmtpLogin login{AccountSection(identity.account_number), identity.smtp_host, identity.smtp_port,
                        AuthMethodOfSetting(identity.authentication), identity.login, identity.password};
  if (ConnectAndLogIn(*connection, login, reason)) return true;
  const std::string text = FormatText("Failed to connect to SMTP server '%s'.\n\nReason: %s",
                                      identity.smtp_host.c_str(), QuotedServerText(reason).c_str());
  Fail(report, text, {SendNotice::Kind::kProblem, text});
  connection.reset();
  return false;
}

void KeepSentCopy(const AccountRecord& identity, SentCopy& copy, Report& report) {
  copy.stamp = SentCopyStamp(LocalNow());
  const std::string path = SentCopyPath(identity.account_number, copy.stamp);
  if (WriteSentCopy(path, copy)) {
    report.outcome.sent_copy_path = path;
  } else {
    report.Notice({SendNotice::Kind::kProblem, "error writing message to sent folder."});
  }
}
}  // namespace

int AuthMethodOfSetting(const std::string& authentication) {
  if (authentication == "AuthLoginMethod") return kAuthLogin;
  if (authentication == "LoginPlainMethod") return kAuthLoginPlain;
  if (authentication == "CramMD5Method") return kAuthCramMd5;
  if (authentication == "OAuth2Method") return kAuthOAuth2;
  return kAuthNone;
}

bool ConnectAndLogIn(CSMTPConnection& connection, const SmtpLogin& login, std::string& reason) {
  if (login.method != kAuthOAuth2) {
    if (connection.Connect(login.host, login.method, login.user, login.password, login.port)) return true;
    reason = connection.LastReplyText();
    return false;
  }
  const OAuthSettings oauth = ReadOAuthSettings(login.section);
  connection.oauth_mechanism = oauth.mechanism;
  connection.oauth_two_line = oauth.two_line;
  CHttpClient http;
  for (const bool renew : {false, true}) {
    const AccessToken access = AccessTokenOf(login.section, http, renew);
    if (!access.ok) {
      reason = access.problem;
      return false;
    }
    if (connection.Connect(login.host, kAuthOAuth2, OAuthLogin(login.section), access.token, login.port)) return true;
    reason = connection.LastReplyText();
    if (!connection.TokenRefused()) return false;
  }
  return false;
}

SendOutcome SendComposedMail(const AccountRecord& identity, const ComposedMail& composed, const SendSettings& settings,
                             std::unique_ptr<CSMTPConnection>& connection, const NoticeSink& show_notice) {
  SendOutcome outcome;
  Report report{outcome, show_notice};
  const OutgoingTexts texts = OutgoingTextsOf(composed, identity, settings.text_encoding);
  const ComposedMail& mail = texts.mail;
  const TextEncoding encoding = texts.encoding;
  if (!AttachmentsArePresent(mail.attachments, report)) return outcome;
  CSMTPMail message;
  message.SetCharset(encoding == TextEncoding::kUtf8 ? kUtf8Charset : kCharset);
  message.SetTextEncoding(encoding);
  AttachFiles(message, mail.attachments);
  message.EnableMime(true);
  if (!Connect(identity, settings, connection, report)) return outcome;

  message.SetMailer(LoadResourceString(kStringVersion));
  message.AddExtraHeader(PriorityHeader(mail.priority));
  message.SetFrom(CSMTPRecipient(texts.full_name, identity.mail_address));
  SentCopy copy;
  copy.to = NormalizeRecipientText(mail.to);
  copy.cc = NormalizeRecipientText(mail.cc);
  copy.bcc = NormalizeRecipientText(mail.bcc);
  AddRecipients(message, copy.to, kRecipientTo);
  AddRecipients(message, copy.cc, kRecipientCc);
  AddRecipients(message, copy.bcc, kRecipientBcc);
  outcome.subject = settings.strip_umlauts ? StripUmlauts(mail.subject, encoding) : mail.subject;
  message.SetSubject(outcome.subject);
  copy.text = (settings.strip_umlauts ? StripUmlauts(mail.text, encoding) : mail.text) + texts.footer;
  message.SetText(copy.text);
  const std::string& reply_address = identity.reply_address.empty() ? identity.mail_address : identity.reply_address;
  message.SetReplyTo(CSMTPRecipient(texts.full_name, reply_address));
  message.SetReplyIds(mail.in_reply_to, mail.references);

  if (!connection->SendMessage(message)) {
    const std::string reason = QuotedServerText(connection->LastReplyText());
    Fail(report, FormatText("Failed to send the message.\n\nReason: %s\n\nCode: %d", reason.c_str(),
                            connection->LastReplyCode()),
         {SendNotice::Kind::kProblem, reason.empty() ? settings.failure_text : settings.failure_text + "\n\nReason: " + reason});
    return outcome;
  }
  connection->Disconnect(true);
  outcome.sent = true;
  copy.subject = outcome.subject;
  copy.attachments = mail.attachments;
  KeepSentCopy(identity, copy, report);
  report.Notice({SendNotice::Kind::kSent, FormatText(settings.success_format.c_str(), outcome.subject.c_str(),
                                                             copy.to.c_str(), identity.smtp_host.c_str())});
  return outcome;
}

SendSettings ReadSendSettings(const CLanguageTable& language) {
  SendSettings settings;
  settings.strip_umlauts = CIniFile(kConfigFile).ReadInt("System", "StripUmlaut", 1) != 0;
  const StartupSettings startup = ReadStartupSettings();
  settings.timeout_seconds = startup.timeout_seconds;
  settings.text_encoding = startup.text_encoding;
  settings.success_format = language.Template("Messages", "SendOk", settings.success_format);
  settings.failure_text = language.Text("Messages", "SendFail", settings.failure_text);
  return settings;
}

}  // namespace larkspin
