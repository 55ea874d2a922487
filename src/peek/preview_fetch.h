#pragma once
// A listed message's preview fetched without downloading it: TOP n k on the session's open
// connection, or, when it has none, on a short connection of its own (login, TOP, QUIT); first the
// message is checked to be the one listed, as a mark is (message_identity.h). Nothing is stored.
// It runs on the calling thread and reports no events, so a worker thread may run it while no
// peek runs on the session.
#include <string>

#include "config/current_account.h"
#include "mailbox/message_preview.h"
#include "peek/header_row.h"
#include "peek/mailbox_session.h"

namespace larkspin {

struct PreviewResult {
  bool fetched = false;
  std::string failure;  // why not, on one line, when not fetched
  MessagePreview preview;
};

// lines: [System] PreviewLines. account: the row's account with its credentials, for the short
// connection.
PreviewResult FetchPreview(CMailboxSession& session, const CCurrentAccount& account, const HeaderRow& row, int lines);

}  // namespace larkspin
