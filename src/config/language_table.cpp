#include "config/language_table.h"

#include <cstring>

#include "config/language_file.h"
#include "res/control_ids.h"

namespace larkspin {

namespace {
// The kind letter of a conversion character, or 0 for characters that are not conversions.
char ConversionKind(char conversion) {
  if (std::strchr("di", conversion)) return 'i';
  if (std::strchr("ouxX", conversion)) return 'u';
  if (std::strchr("fFeEgGaA", conversion)) return 'f';
  if (conversion == 's') return 's';
  if (conversion == 'c') return 'c';
  if (conversion == 'p') return 'p';
  if (conversion == 'n') return 'n';
  return 0;
}
}  // namespace

CLanguageTable::CLanguageTable() : file_(LanguageFilePath()) {}

std::string CLanguageTable::Text(const std::string& section, const std::string& key,
                                 const std::string& default_text) const {
  return file_.ReadString(section, key, default_text);
}

std::string CLanguageTable::TextOrNa(const std::string& section, const std::string& key) const {
  return file_.ReadText(section, key);
}

std::string CLanguageTable::Template(const std::string& section, const std::string& key,
                                     const std::string& default_text) const {
  std::string replacement = Text(section, key, default_text);
  return PlaceholderKinds(replacement) == PlaceholderKinds(default_text) ? replacement : default_text;
}

std::string PlaceholderKinds(const std::string& format) {
  std::string kinds;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    // Flags, width, precision and length modifiers run up to the conversion character.
    std::string length;
    size_t j = i + 1;
    for (; j < format.size(); ++j) {
      const char c = format[j];
      if (c == '*') {
        kinds += 'i';
      } else if (std::strchr("hlLqjzt", c)) {
        length += c;
      } else if (!std::strchr("-+ #0123456789.'", c)) {
        break;
      }
    }
    const char kind = j < format.size() ? ConversionKind(format[j]) : 0;
    if (kind == 'i' || kind == 'u') kinds += length;  // an int is not a long
    kinds += kind ? kind : '?';  // an incomplete or unknown conversion never matches a default
    i = j;
  }
  return kinds;
}

const std::vector<MenuTextEntry>& MenuTextEntries() {
  static const std::vector<MenuTextEntry> entries = {
      {"Larkspin", "Larkspin", 0, 0},
      {"LockScreen", "Lock Screen", kCommandLockScreen, -1},
      {"Exit", "Exit", kCommandExit, -1},
      {"Edit", "Edit", 0, 1},
      {"AddressBook", "Address Book", kCommandAddressBook, -1},
      {"Signature", "Signature", kCommandSignature, -1},
      {"Rules", "Rules...", kCommandRules, -1},
      {"Properties", "Properties", kCommandProperties, -1},
      {"View", "View", 0, 2},
      {"MailBox", "MailBox", 0, -1},
      {"Online", "Online", kCommandOnline, -1},
      {"Offline", "Offline", kCommandOffline, -1},
      {"Sent", "Sent", kCommandSent, -1},
      {"Drafts", "Drafts", kCommandDrafts, -1},
      {"DeletedMail", "Deleted Mail", kCommandDeleted, -1},
      {"Attachments", "Attachments", kCommandAttachments, -1},
      {"Preview", "Preview", kCommandPreview, -1},
      {"Logfile", "Logfile", kCommandLogfile, -1},
      {"EmptyLogfile", "Empty logfile", kCommandEmptyLogfile, -1},
      {"Message", "Message", 0, 3},
      {"Open", "Open", kCommandOpenMessage, -1},
      {"Compose", "Compose", kComposeButton, -1},
      {"ReplyTo", "Reply To", kReplyToButton, -1},
      {"Forward", "Forward", kForwardButton, -1},
      {"MarkForDeletion", "Mark for Deletion", kDeleteButton, -1},
      {"Account", "Account", 0, 4},
      {"UnlockAccount", "Unlock account", kCommandUnlockAccount, -1},
      {"ResetLogin", "Reset login", kCommandResetLogin, -1},
      {"ResetPassword", "Reset password", kCommandResetPassword, -1},
      {"DowloadAllMessages", "Dowload all messages", kCommandDownloadAll, -1},
      {"Help", "Help", 0, 5},
      {"Info", "Info", kCommandInfo, -1},
  };
  return entries;
}

}  // namespace larkspin
