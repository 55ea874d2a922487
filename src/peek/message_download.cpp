#include "peek/message_download.h"

#include <cstdio>
#include <memory>
#include <string_view>

#include "common/format.h"
#include "common/quoted_server_text.h"
#include "config/log.h"
#include "mailbox/mailbox_layout.h"
#include "mailbox/message_file.h"
#include "mailbox/mime_parts_store.h"
#include "mailbox/mime_tree.h"
#include "mailbox/section_decoder.h"
#include "mailbox/stored_list.h"
#include "mailbox/stored_text.h"
#include "mime/mail_date.h"
#include "mime/quoted_printable.h"
#include "peek/stored_messages.h"
#include "platform/file_system.h"
#include "platform/local_time.h"

namespace larkspin {

namespace {
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string_view BodyOf(const CPop3Text& message) {
  const std::string_view text = message.Text();
  const size_t at = text.find("\r\n\r\n");
  return at == std::string_view::npos ? std::string_view() : text.substr(at + 4);
}

bool WriteAll(std::FILE* file, std::string_view bytes) {
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

void LogChoice(BodyKind kind, const std::string& raw_subject) {
  switch (kind) {
    case BodyKind::kHtml:
      LogEvent("found text/html " + raw_subject);
      break;
    case BodyKind::kAlternative:
      LogEvent("found multipart/alternative " + raw_subject);
      break;
    case BodyKind::kMixed:
      LogEvent("found multipart/mixed " + raw_subject);
      break;
    case BodyKind::kOther:
      break;
  }
}

// Writes the body to the account's temporary file, runs the section decoder on it into the
// attach folder and removes the file again. The decoder's result.
SectionSplit SplitAttachments(std::string_view body, int account_number, std::vector<std::string>& names) {
  const std::string temp_path = SplitTempFilePath(account_number);
  if (FileHandle temp{OpenPrivateFile(temp_path, "wb")}) WriteAll(temp.get(), body);
  LogEvent("Launching MIME decoder");
  const SectionSplit split = DecodeBase64Sections(temp_path, AttachFolder(account_number), names);
  std::remove(temp_path.c_str());
  return split;
}

// The message of a row listed earlier cannot be fetched without a connection.
DownloadResult NotConnected() {
  constexpr const char* kConnectFirst = "Connect first to download this message.";
  return {kDownloadNotConnected,
          false,
          true,
          {{DownloadNotice::Kind::kStatus, kConnectFirst},
           {DownloadNotice::Kind::kMessageBox, kConnectFirst, "ConnectFirst"}}};
}

// A connected server that does not know the message's size any more.
DownloadResult SizeRefused(const CPop3Client& client) {
  return {kDownloadNotConnected,
          false,
          true,
          {{DownloadNotice::Kind::kStatus, "Error GetMessageSize: " + QuotedServerText(client.LastReply())}}};
}

// What follows the header lines of a stored message: its text and what became of its attachments.
struct StoredBody {
  std::string text;
  SectionSplit split;
};

// Classic: the seed's choice of text with its quoted-printable escapes decoded by the table, and
// the base64 sections of a multipart/mixed body split by the section decoder.
StoredBody ClassicBody(const CPop3Text& message, HeaderRow& row, int account_number) {
  const std::string_view body = BodyOf(message);
  StoredTextChoice choice = ChooseStoredText(message.HeaderField("Content-Type"), body);
  LogChoice(choice.kind, message.HeaderField("Subject"));
  StoredBody stored;
  if (choice.split_attachments) stored.split = SplitAttachments(body, account_number, row.attachments);
  DecodeQuotedPrintable(choice.text);
  stored.text = std::move(choice.text);
  return stored;
}

// Modern: the message read as a MIME tree, every leaf but the text an attachment file.
StoredBody ModernBody(const CPop3Text& message, HeaderRow& row, int account_number) {
  StoredMimeParts parts = StoreMimeParts(ReadMimeTree(message.Text()), AttachFolder(account_number));
  row.attachments = std::move(parts.attachments);
  return {std::move(parts.text), {static_cast<int>(row.attachments.size()), parts.whole}};
}

// Steps from the open message file on: header lines, the chosen text, the attachments.
DownloadResult StoreMessage(const CPop3Text& message, HeaderRow& row, int account_number, TextEncoding encoding) {
  const std::string path = row.local_file;
  FileHandle file{OpenPrivateFile(path, "wb")};
  if (!file) {
    // The message stays on the server only: the row can be downloaded again.
    row.local_file.clear();
    return {0, false, true, {{DownloadNotice::Kind::kMessageBox, "Error: Open file for writing: " + path}}};
  }
  bool written = WriteAll(file.get(), StoredHeaderLines(StoredHeaderOf(CMailHeader(std::string(message.HeaderText())), encoding)));
  const StoredBody body = encoding == TextEncoding::kUtf8 ? ModernBody(message, row, account_number)
                                                          : ClassicBody(message, row, account_number);
  written = WriteAll(file.get(), body.text) && written;
  if (body.split.count > 0) written = WriteAll(file.get(), AttachmentLine(row.attachments)) && written;
  written = std::fclose(file.release()) == 0 && written;
  // A message file that could not be written completely is removed again, so that the message
  // does not count as downloaded.
  if (!written) {
    std::remove(path.c_str());
    row.local_file.clear();
    return {0, false, true, {{DownloadNotice::Kind::kMessageBox, "Error: Writing file: " + path}}};
  }
  return {body.split.count, true, body.split.whole, {}};
}

// The id of the message's date file: the row's, or from the message's own Date for a row listed
// without its header (one too large to read); in Modern mode a message without a
// Date is named from its number and the time of download instead, so such messages do not all
// compete for one name.
std::string DateFileId(const DownloadRequest& request, const CPop3Text& message) {
  const std::string date = message.HeaderField("Date");
  if (request.text_encoding == TextEncoding::kUtf8 && date.empty()) {
    const std::tm now = LocalNow();
    return FormatText("_nodate_%d_%02d_%02d_%04d_%02d_%02d_%02d", request.row->message_number, now.tm_mday,
                      now.tm_mon + 1, now.tm_year + 1900, now.tm_hour, now.tm_min, now.tm_sec);
  }
  if (request.row->file_id.empty()) return MakeFileId(SplitMailDate(date, request.text_encoding));
  return request.row->file_id;
}

// The stored list learns which message the new file holds; a list that cannot be written costs no
// mail (the message file is there), so it is only logged.
void RecordStoredFile(CStoredMessages& stored, const HeaderRow& row, const CPop3Text& message) {
  if (!stored.Record(row.identity, LastReference(message.HeaderField("References")), row.local_file))
    LogEvent("Error: could not write " + StoredListPath(row.account_number));
}
}  // namespace

DownloadResult DownloadMessage(CPop3Client& client, const DownloadRequest& request) {
  HeaderRow* row = request.row;
  if (row == nullptr || !row->local_file.empty()) return {kDownloadSkipped, false, true, {}};
  if (!request.skip_check) {
    uint32_t size = 0;
    if (!client.GetMessageSize(row->message_number, size))
      return client.IsConnected() ? SizeRefused(client) : NotConnected();
  }
  CPop3Text message;
  if (!client.Retrieve(row->message_number, message))
    return {0, false, true, {{DownloadNotice::Kind::kStatus, "Error: Retrieving message"}}};
  // The MIME tree reads the message's bytes whole: a part that runs to the end keeps its last line end.
  if (request.text_encoding == TextEncoding::kUtf8) message.RestoreFinalLineEnd();
  CStoredMessages stored(request.account_number);
  row->local_file = stored.FreeFile(MessageFilePath(request.account_number, DateFileId(request, message)));
  DownloadResult result = StoreMessage(message, *row, request.account_number, request.text_encoding);
  if (result.stored) RecordStoredFile(stored, *row, message);
  return result;
}

}  // namespace larkspin
