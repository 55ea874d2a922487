#include "main_window/peek_worker.h"

#include <cstdint>

#include "config/log.h"
#include "common/format.h"
#include "common/message_box.h"
#include "main_window/dlg_main.h"
#include "peek/row_texts.h"
#include "res/resources.h"

namespace larkspin {

namespace {
constexpr int kRemovedFromServerString = 146;
constexpr int kDateColumn = 2;
constexpr int kAccountColumn = 3;
constexpr Colour kLargeMessageColour = Rgb(170, 10, 10);
constexpr Colour kEvenRowBackground = Rgb(245, 245, 245);
constexpr Colour kOddRowBackground = Rgb(230, 230, 230);
}  // namespace

// One run of GetHeadersThread, step by step; it reaches into the window as the worker of the
// window's own design does (see peek_worker.h for what it may touch and how).
class CPeekWorker {
 public:
  explicit CPeekWorker(CDlgMain& window) : window_(window), account_(window.account_), client_(window.client_) {}

  void Run() {
    LoadTexts();
    all_accounts_ = window_.all_accounts_;
    if (all_accounts_) {
      for (int n = 1; n <= window_.account_count_; ++n) VisitAccount(n);
    } else {
      VisitAccount(account_.account_number);
    }
    Finish();
  }

 private:
  void LoadTexts() {
    const CLanguageTable& language = window_.language_;
    status_fetch_ = language.Template("Messages", "StatusFetch", "Reading header %d of %d   Total Size %.2lf kBytes");
    status_total_ =
        language.Template("Messages", "StatusTotal", "Total messages: %d     Total size: %.2lf kbyte (%d byte)");
    connecting_ = language.Template("Messages", "Connecting", "connecting to '%s'...");
  }

  void Report(int code, const std::string& text) {
    window_.OnUi([&] { window_.OnWorkerReport(code, text); });
  }
  void Pause(int milliseconds) const { window_.Pause(milliseconds); }
  const PeekWaits& Waits() const { return window_.services_.waits; }

  // Step 2 for account n.
  void VisitAccount(int n) {
    const std::string section = AccountSection(n);
    if (all_accounts_) {
      account_.account_number = n;
      account_.ClearCredentials();
    }
    account_name_ = window_.account_names_.at(static_cast<size_t>(n - 1));
    const PeekScope scope = all_accounts_ ? PeekScope::kAllAccounts : PeekScope::kOneAccount;
    if (account_.EnsureCredentials(section, scope) != 1 && all_accounts_) return;
    account_.LoadCurrentAccount(section);
    Report(kReportStatus, FormatText(connecting_.c_str(), account_.pop3_host.c_str()));
    if (!LogIn()) {
      ReportFailedLogin();
      return;
    }
    window_.connected_ = true;
    DownloadMarkedRows();
    if (!CarryOutDeletions()) return;
    ClearListOnce();
    FetchHeaders();
  }

  bool LogIn() {
    client_.tls = account_.pop3_tls;
    return client_.Connect(account_.pop3_host, account_.login, account_.password, account_.pop3_port);
  }

  // Step 2.5.
  void ReportFailedLogin() {
    const std::string& host = account_.pop3_host;
    if (!all_accounts_) window_.OnUi([&] { window_.RemoveAllRows(); });
    window_.Disconnect();
    const std::string failure = FormatText("Error connecting to %s: %s", host.c_str(), client_.LastReply().c_str());
    Report(kReportStatusLeaveBusy, failure);
    LogEvent(failure);
    if (!all_accounts_) {
      const std::string box = FormatText("Error connecting to %s: %s\nUser: %s", host.c_str(),
                                         client_.LastReply().c_str(), account_.login.c_str());
      window_.OnUi([&] { window_.MessageBox(box, kBoxOk | kBoxIconWarning); });
    }
  }

  // Step 2.6: the rows marked for download, in list order.
  void DownloadMarkedRows() {
    int rows = 0;
    window_.OnUi([&] { rows = window_.list_.RowCount(); });
    for (int position = 0; position < rows; ++position) {
      int offset = -1;
      window_.OnUi([&] {
        const HeaderRow* row = window_.RowRecord(position);
        if (row && row->download_mark) offset = row->row_offset;
      });
      if (offset >= 0) window_.DownloadMessage(position - offset, true, kIconRowStored);
    }
  }

  // Step 2.7; false when the new login after the deletions failed.
  bool CarryOutDeletions() {
    const int deleted = window_.DeleteLoop();
    if (deleted <= 0) return true;
    LogEvent(FormatText(LoadResourceString(kRemovedFromServerString).c_str(), deleted));
    client_.Disconnect();  // the server commits the deletions at QUIT
    window_.connected_ = false;
    Pause(Waits().before_new_login);
    if (!LogIn()) {
      const std::string failure =
          FormatText("Error connecting to %s: %s", account_.pop3_host.c_str(), client_.LastReply().c_str());
      Report(kReportStatusLeaveBusy, failure);
      LogEvent(failure);
      return false;
    }
    window_.connected_ = true;
    return true;
  }

  // Step 2.8.
  void ClearListOnce() {
    if (list_cleared_) return;
    list_cleared_ = true;
    window_.OnUi([&] { window_.RemoveAllRows(); });
  }

  // Steps 2.9 to 2.12.
  void FetchHeaders() {
    int count = 0;
    int size = 0;
    if (!client_.Statistics(count, size)) {
      const std::string failure = "Error Statistics: " + client_.LastReply();
      Report(kReportStatus, failure);
      LogEvent(failure);
      return;
    }
    window_.server_count_ = count;
    const int offset = all_accounts_ ? total_count_ : 0;
    window_.OnUi([&] {
      window_.progress_.SetRange(0, count);
      window_.progress_.SetStep(1);
    });
    if (all_accounts_) {
      total_count_ += count;
      total_size_ += size;
    } else {
      total_count_ = count;
      total_size_ = size;
    }
    const double total_kb = static_cast<double>(total_size_) * (1.0 / 1024);
    for (int i = 1; i <= count; ++i) FetchHeader(i, count, total_kb, offset);
    if (all_accounts_) {
      Pause(Waits().around_disconnect);
      window_.Disconnect();
      Pause(Waits().around_disconnect);
    }
  }

  // Step 2.11 for message i.
  void FetchHeader(int i, int count, double total_kb, int offset) {
    Pause(Waits().before_header);
    Report(kReportStatus, FormatText(status_fetch_.c_str(), i, count, total_kb));
    CPop3Text header;
    if (!client_.GetMessageHeader(i, header)) {
      Report(kReportStatus, "Error GetMessageHeader: " + client_.LastReply());
      return;
    }
    uint32_t size = 0;
    if (!client_.GetMessageSize(i, size)) {
      Report(kReportStatus, "Error GetMessageSize: " + client_.LastReply());
      return;
    }
    const RowTexts texts = MakeRowTexts(header, size, account_.account_number, account_name_);
    auto* record = new HeaderRow;
    record->local_file = texts.local_file;
    record->message_number = i;
    record->sender_address = texts.sender_address;
    record->account = account_name_;
    record->account_number = account_.account_number;
    record->row_offset = offset;
    const bool large = size > static_cast<uint32_t>(window_.mail_threshold_kb_) * 1024u;
    int position = -1;
    window_.OnUi([&] {
      const int icon = texts.local_file.empty() ? kIconRowOnServer : kIconRowStored;
      position = window_.list_.InsertRow({texts.from, texts.subject, texts.date, texts.account, texts.size}, record, icon);
      if (position < 0) delete record;
      else if (large) window_.list_.SetRowTextColour(position, kLargeMessageColour);
    });
    if (position >= 0 && !large && window_.download_all_) {
      window_.DownloadMessage(position, true, kIconRowDownloadedAutomatically);
      window_.OnUi([&] { window_.list_.DeselectAll(); });
    }
    Report(kReportProgressStep, "");
  }

  // Steps 3 to 10.
  void Finish() {
    const int previous = window_.previous_total_.exchange(total_count_);
    const double total_kb = static_cast<double>(total_size_) * (1.0 / 1024);
    Report(kReportStatus, FormatText(status_total_.c_str(), total_count_, total_kb, total_size_));
    window_.OnUi([&] { SortAndTitle(); });
    if (window_.automatic_peek_ || all_accounts_) window_.Disconnect();
    if (total_count_ > previous) PlayNewMailSound(window_.sound_);
    window_.OnUi([&] {
      if (window_.manual_connection_) window_.SetTimer(kIdleTimer, kTimerPeriodMs);
      window_.PeekFinished();
    });
  }

  // Steps 5 to 7, on the UI thread.
  void SortAndTitle() {
    CSortingList& list = window_.list_;
    list.Sort(kDateColumn, false);
    if (all_accounts_) {
      list.Sort(kAccountColumn, true);
      for (const int id : {kDownloadButton, kDeleteButton, kResetButton, kFolderSelector}) window_.EnableItem(id, false);
    } else {
      window_.EnterBusyState();
    }
    for (int position = 0; position < list.RowCount(); ++position)
      list.SetRowBackground(position, position % 2 == 0 ? kEvenRowBackground : kOddRowBackground);
    const std::string name = all_accounts_ ? "All Accounts" : account_.display_name;
    window_.SetWindowText(FormatText("(%d) Larkspin-%s", total_count_, name.c_str()));
  }

  CDlgMain& window_;
  CCurrentAccount& account_;
  CPop3Client& client_;
  std::string status_fetch_;
  std::string status_total_;
  std::string connecting_;
  std::string account_name_;
  bool all_accounts_ = false;
  bool list_cleared_ = false;
  int total_count_ = 0;
  int total_size_ = 0;
};

int GetHeadersThread(CDlgMain& window) {
  CPeekWorker(window).Run();
  return 1;
}

}  // namespace larkspin
