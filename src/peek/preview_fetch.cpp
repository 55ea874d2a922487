#include "peek/preview_fetch.h"

namespace larkspin {

namespace {
PreviewResult Failed(std::string why) { return {false, std::move(why), {}}; }

PreviewResult PreviewOnConnection(CMailboxSession& session, const HeaderRow& row, int lines) {
  if (!session.StillTheSameMessage(row.message_number, row.identity, row.connection))
    return Failed(session.Client().IsConnected() ? "the mailbox changed since the message was listed"
                                                 : session.QuotedReply());
  CPop3Text top;
  if (!session.Client().GetMessageTop(row.message_number, lines, top)) return Failed(session.QuotedReply());
  top.RestoreFinalLineEnd();
  return {true, "", PreviewOfTop(top.Text())};
}
}  // namespace

PreviewResult FetchPreview(CMailboxSession& session, const CCurrentAccount& account, const HeaderRow& row, int lines) {
  if (session.Connected() && session.Client().IsConnected()) return PreviewOnConnection(session, row, lines);
  if (!session.LogIn(account)) return Failed(ConnectFailureText(account.pop3_host, session.QuotedReply()));
  PreviewResult result = PreviewOnConnection(session, row, lines);
  session.Client().Disconnect();
  session.SetConnected(false);
  return result;
}

}  // namespace larkspin
