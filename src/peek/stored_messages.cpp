#include "peek/stored_messages.h"

#include <optional>

#include "common/windows_1252.h"
#include "mailbox/mailbox_layout.h"
#include "mime/encoded_words.h"
#include "mime/header_word.h"
#include "platform/file_system.h"

namespace larkspin {

namespace {
constexpr std::string_view kTextExtension = ".txt";

// Whether the stored file at path has the given From and Sent lines (and Subject, when asked).
bool FileHasLines(const std::string& path, const StoredMessageHeader& header, bool with_subject) {
  const std::optional<std::string> content = ReadWholeFile(path);
  if (!content) return false;
  return StoredField(*content, kFromLabel) == header.from && StoredField(*content, kSentLabel) == header.sent &&
         (!with_subject || StoredField(*content, kSubjectLabel) == header.subject);
}

// The file's name inside its folder: the part after the last "/".
std::string NameInFolder(const std::string& path) { return path.substr(path.rfind('/') + 1); }
}  // namespace

StoredMessageHeader StoredHeaderOf(const CMailHeader& fields, TextEncoding encoding) {
  const bool utf8 = encoding == TextEncoding::kUtf8;
  const auto with_words = [&](const char* name) {
    return utf8 ? DecodeEncodedWords(fields.First(name)) : fields.First(name);
  };
  const auto plain = [&](const char* name) { return utf8 ? AsUtf8(fields.First(name)) : fields.First(name); };
  StoredMessageHeader header;
  header.from = DecodedHeaderValue(fields.First("From"), encoding);
  header.to = with_words("To");
  header.cc = with_words("Cc");
  header.sent = plain("Date");
  header.subject = DecodedHeaderValue(fields.First("Subject"), encoding);
  header.priority = plain("X-Priority");
  return header;
}

CStoredMessages::CStoredMessages(int account_number) : account_number_(account_number), list_(account_number) {}

std::string CStoredMessages::PathOf(const std::string& file) const { return AccountFolder(account_number_) + "/" + file; }

bool CStoredMessages::EntryHolds(const StoredListEntry& entry, const MessageIdentity& identity,
                                 const StoredMessageHeader& header) const {
  if (!entry.unique_id.empty() && !identity.unique_id.empty()) return entry.unique_id == identity.unique_id;
  if (entry.size != identity.size) return false;
  if (!entry.message_id.empty() || !identity.message_id.empty()) return entry.message_id == identity.message_id;
  return FileHasLines(PathOf(entry.file), header, false);
}

std::string CStoredMessages::FileOf(const CMailHeader& fields, const MessageIdentity& identity,
                                    const std::string& file_id, TextEncoding encoding) const {
  const StoredMessageHeader header = StoredHeaderOf(fields, encoding);
  const std::string date_file = MessageFilePath(account_number_, file_id);
  for (const StoredListEntry& entry : list_.Entries())
    if (EntryHolds(entry, identity, header)) return PathOf(entry.file);
  if (list_.EntryOfFile(NameInFolder(date_file)) == nullptr && FileHasLines(date_file, header, true)) return date_file;
  return {};
}

std::string CStoredMessages::FreeFile(const std::string& date_file) const {
  if (!FileExists(date_file)) return date_file;
  std::string stem = date_file;
  if (stem.ends_with(kTextExtension)) stem.resize(stem.size() - kTextExtension.size());
  for (int n = 2;; ++n) {
    std::string candidate = stem + "_" + std::to_string(n) + std::string(kTextExtension);
    if (!FileExists(candidate)) return candidate;
  }
}

bool CStoredMessages::Record(const MessageIdentity& identity, const std::string& last_reference,
                             const std::string& file) {
  return list_.Record({identity.unique_id, identity.message_id, last_reference, identity.size, NameInFolder(file)});
}

}  // namespace larkspin
