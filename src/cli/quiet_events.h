#pragma once
// A mailbox session's receiver that shows nothing: the command line's receivers derive from it
// and print only the events their command reports.
#include <string>

#include "peek/mailbox_events.h"

namespace larkspin {

class CQuietEvents : public CMailboxEvents {
 public:
  void OnConnecting(const std::string&) override {}
  void OnAccountSkipped(const std::string&, const std::string&) override {}
  void OnConnectFailed(const std::string&, const std::string&) override {}
  void OnServerFailure(const ServerFailure&) override {}
  void OnFetchingHeader(int, int, int) override {}
  void OnDeleting(int) override {}
  void OnMessagesRemoved(int) override {}
  void OnMarksDropped(int) override {}
  void OnDisconnecting() override {}
  void OnDisconnected() override {}
  void OnPeekTotal(const PeekTotal&) override {}
  void OnConnectionLost(const LostConnection&) override {}
  void OnLeaveBusy() override {}
  void OnLoginFailed(const LoginFailure&) override {}
  void OnRowsCleared() override {}
  void OnProgressRange(int) override {}
  void OnProgressStep() override {}
  void OnHeaderRow(const PeekedRow&) override {}
  void OnDownloadStarted() override {}
  void OnDownloadResult(const DownloadOutcome&) override {}
  void OnMessageDeleted(RowId) override {}
  void OnDeleteRefused(const ServerFailure&) override {}
  void OnMarkDropped(RowId) override {}
  void OnLoggedOut() override {}
  void OnPeekFinished(const PeekSummary&) override {}
};

}  // namespace larkspin
