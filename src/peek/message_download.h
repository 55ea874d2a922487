#pragma once
// Downloading one message of the header list: RETR, the stored message file of its own, the
// choice of the text to store, the attachments split into the account's attach folder, the
// attachment line that closes the file, and the stored list's entry for it.
//
// The window and the command line share it. The caller passes the row's record, its Date column
// text and the current account; the result tells what to do with the row and what to show. The
// window shows the wait cursor around the call, replays the notices in order (status line texts
// and message boxes), and gives the row its requested icon and selects it again when the message
// file was written.
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "peek/header_row.h"
#include "pop3/pop3_client.h"

namespace larkspin {

// The row has no record or is already downloaded; also when the split-out body could not be
// read back.
inline constexpr int kDownloadSkipped = -1;
// The connection check failed: the user has to connect first.
inline constexpr int kDownloadNotConnected = -10;

struct DownloadNotice {
  enum class Kind { kStatus, kMessageBox };
  Kind kind;
  std::string text;  // in English
  // The key of the text in language.ini's [Messages] where the window shows it translated; empty
  // for a text that has none.
  std::string language_key = {};
};

struct DownloadResult {
  // kDownloadSkipped, kDownloadNotConnected, or the number of attachment files split out (0 also
  // when the download failed).
  int code = 0;
  // The message file was written: the row takes its new icon.
  bool stored = false;
  // Every part of the message was stored; false when an attachment could not be written or the
  // splitting stopped early (the log says which).
  bool whole = true;
  // What to show, in order.
  std::vector<DownloadNotice> notices;
};

struct DownloadRequest {
  // Its local file, message number, identity and attachments are used and set; the local file is
  // the message's own (stored_messages.h), named from the row's file id.
  HeaderRow* row = nullptr;
  int account_number = 0;    // the current account: the mailbox folder the message goes to
  bool skip_check = false;   // skip the connection check (the caller knows it is connected)
  // Classic stores the texts as received and decoded into Windows-1252, with the seed's choice of
  // text and its base64 sections split; UTF-8 reads the message as a MIME tree and stores every
  // header field and the text as UTF-8 and every other part as a file (mailbox/mime_parts_store.h).
  TextEncoding text_encoding = TextEncoding::kClassic;
};

DownloadResult DownloadMessage(CPop3Client& client, const DownloadRequest& request);

}  // namespace larkspin
