#pragma once
// The mailbox session's status events as the main window's status line says them: each event
// that only changes the status line becomes a text of the window's language and reaches the
// window through OnStatus; the deletions a peek carried out are written to the log.
#include <string>

#include "peek/mailbox_events.h"

namespace larkspin {

// The language's texts the status line shows for a session.
struct SessionTexts {
  std::string connecting;           // "connecting to '%s'..."
  std::string fetching;             // "Reading header %d of %d   Total Size %.2lf kBytes"
  std::string total;                // "Total messages: %d     Total size: %.2lf kbyte (%d byte)"
  std::string removed_from_server;  // the log line after the deletions of a peek, "%d"
  std::string disconnecting;        // "Disconnecting from server..."
  std::string accounts_at_work;     // "Reading headers from: ", the names follow
};

class CSessionStatus : public CMailboxEvents {
 public:
  // Called on the UI thread before the session runs; the session's thread reads them meanwhile.
  void SetSessionTexts(SessionTexts texts) { texts_ = std::move(texts); }

 protected:
  // Called on the session's thread.
  virtual void OnStatus(const std::string& text) = 0;
  // "Reading headers from: Home, Club": the accounts a side-by-side peek is visiting.
  std::string AccountsAtWorkText(const AccountsAtWork& work) const;

 private:
  void OnConnecting(const std::string& host) override;
  void OnAccountSkipped(const std::string& account_name, const std::string& reason) override;
  void OnConnectFailed(const std::string& host, const std::string& reply) override;
  void OnServerFailure(const ServerFailure& failure) override;
  void OnFetchingHeader(int number, int count, int total_size) override;
  void OnDeleting(int list_position) override;
  void OnMessagesRemoved(int count) override;
  void OnMarksDropped(int count) override;
  void OnDisconnecting() override;
  void OnDisconnected() override;
  void OnPeekTotal(const PeekTotal& total) override;
  void OnConnectionLost(const LostConnection& lost) override;

  SessionTexts texts_;
};

}  // namespace larkspin
