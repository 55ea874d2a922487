#include "screening/signals.h"

#include <array>

#include "common/string_tools.h"
#include "mime/header_parameter.h"
#include "screening/mail_domains.h"

namespace larkspin {

namespace {
struct SignalText {
  std::string_view name;
  std::string_view explanation;
};

constexpr std::array<SignalText, kSignalCount> kSignalTexts = {{
    {"spam", "The server's spam filter marked this message as spam."},
    {"auth-fail", "The receiving server found that SPF, DKIM or DMARC failed for the sender."},
    {"reply-elsewhere", "Replies would go to another domain than the sender's."},
    {"name-spoof", "The sender's name shows another address than the one it comes from."},
    {"not-to-me", "None of your addresses is in To or Cc."},
    {"bulk", "Sent to a list or in bulk (List-Unsubscribe or Precedence)."},
    {"risky-attachment", "The attachment is a program, script or disk image."},
}};

// Flagged, or a score at or above the required one, which is where SpamAssassin says "Yes".
bool IsSpam(const SpamVerdict& spam) {
  return spam.flagged == true || (spam.score && spam.required && *spam.score >= *spam.required);
}

bool IsAuthFailure(const AuthenticationResults& results) {
  return results.spf == "fail" || results.dkim == "fail" || results.dmarc == "fail";
}

bool RepliesElsewhere(const PeekedMessage& message) {
  const std::string from_domain = AddressDomain(message.from.address);
  if (from_domain.empty()) return false;
  const std::string from_registrable = RegistrableDomain(from_domain);
  for (const MailAddress& reply : message.reply_to) {
    const std::string reply_domain = AddressDomain(reply.address);
    if (!reply_domain.empty() && RegistrableDomain(reply_domain) != from_registrable) return true;
  }
  return false;
}

bool IsAddressByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("._%+-").find(c) != std::string_view::npos;
}

// Every "local@domain.tld" written inside a display name differs from the sender's address.
bool NameShowsOtherAddress(const MailAddress& from) {
  const std::string_view name = from.display_name;
  for (size_t at = name.find('@'); at != std::string_view::npos; at = name.find('@', at + 1)) {
    size_t start = at, end = at + 1;
    while (start > 0 && IsAddressByte(name[start - 1])) --start;
    while (end < name.size() && IsAddressByte(name[end])) ++end;
    std::string_view written = name.substr(start, end - start);
    while (written.ends_with('.')) written.remove_suffix(1);
    const size_t dot = written.find('.', at - start);
    const bool looks_like_address = start < at && dot != std::string_view::npos && dot + 1 < written.size();
    if (looks_like_address && !EqualsIgnoringCase(written, from.address)) return true;
  }
  return false;
}

bool IsBulk(const PeekedMessage& message) {
  const std::string precedence(Trimmed(message.header.First("Precedence")));
  return !message.list_unsubscribe.empty() || EqualsIgnoringCase(precedence, "bulk") ||
         EqualsIgnoringCase(precedence, "list");
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && EqualsIgnoringCase(text.substr(text.size() - end.size()), end);
}

bool IsRiskyName(std::string_view name) {
  constexpr std::array<std::string_view, 14> kExtensions = {".exe", ".scr", ".js",  ".vbs", ".bat", ".cmd", ".com",
                                                            ".pif", ".iso", ".img", ".lnk", ".hta", ".jar", ".msi"};
  name = Trimmed(name, " \t.");
  for (std::string_view extension : kExtensions)
    if (EndsWithIgnoringCase(name, extension)) return true;
  return false;
}

bool IsRiskyType(std::string_view content_type) {
  constexpr std::array<std::string_view, 4> kTypes = {"application/x-msdownload", "application/x-msdos-program",
                                                      "application/x-ms-shortcut", "application/hta"};
  const std::string_view type = Trimmed(content_type.substr(0, content_type.find(';')));
  for (std::string_view risky : kTypes)
    if (EqualsIgnoringCase(type, risky)) return true;
  return false;
}

// A multipart header names no attachment: its parts' headers are in the body, which a peek does
// not read.
bool HasRiskyAttachment(const CMailHeader& header) {
  const std::string content_type = header.First("Content-Type");
  if (content_type.size() >= 10 && EqualsIgnoringCase(std::string_view(content_type).substr(0, 10), "multipart/"))
    return false;
  const std::string disposition = header.First("Content-Disposition");
  return IsRiskyType(content_type) || IsRiskyName(ParameterValue(content_type, "name")) ||
         IsRiskyName(ParameterValue(disposition, "filename"));
}
}  // namespace

std::string_view SignalName(Signal signal) { return kSignalTexts[static_cast<size_t>(signal)].name; }

std::string_view SignalExplanation(Signal signal) { return kSignalTexts[static_cast<size_t>(signal)].explanation; }

std::optional<Signal> SignalNamed(std::string_view name) {
  for (size_t i = 0; i < kSignalCount; ++i)
    if (EqualsIgnoringCase(kSignalTexts[i].name, name)) return static_cast<Signal>(i);
  return std::nullopt;
}

std::string SignalNames(const SignalSet& signals, std::string_view separator) {
  std::string names;
  for (size_t i = 0; i < kSignalCount; ++i) {
    if (!signals[i]) continue;
    if (!names.empty()) names += separator;
    names += SignalName(static_cast<Signal>(i));
  }
  return names;
}

bool HoldsAddress(const std::vector<std::string>& addresses, std::string_view address) {
  if (address.empty()) return false;
  for (const std::string& known : addresses)
    if (EqualsIgnoringCase(Trimmed(known), address)) return true;
  return false;
}

bool IsToMe(const PeekedMessage& message, const std::vector<std::string>& my_addresses) {
  for (const auto* list : {&message.to, &message.cc})
    for (const MailAddress& recipient : *list)
      if (HoldsAddress(my_addresses, recipient.address)) return true;
  return false;
}

SignalSet SignalsOf(const PeekedMessage& message, const std::vector<std::string>& my_addresses) {
  SignalSet signals;
  if (!message.header_read) return signals;
  signals[static_cast<size_t>(Signal::kSpam)] = IsSpam(message.spam);
  signals[static_cast<size_t>(Signal::kAuthFail)] = IsAuthFailure(message.authentication);
  signals[static_cast<size_t>(Signal::kReplyElsewhere)] = RepliesElsewhere(message);
  signals[static_cast<size_t>(Signal::kNameSpoof)] = NameShowsOtherAddress(message.from);
  signals[static_cast<size_t>(Signal::kNotToMe)] = !my_addresses.empty() && !IsToMe(message, my_addresses);
  signals[static_cast<size_t>(Signal::kBulk)] = IsBulk(message);
  signals[static_cast<size_t>(Signal::kRiskyAttachment)] = HasRiskyAttachment(message.header);
  return signals;
}

}  // namespace larkspin
