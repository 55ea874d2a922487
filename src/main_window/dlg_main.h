#pragma once
// The main window (template 102): the header list with one row per message, the buttons that
// peek, mark, delete and disconnect, the account and folder selectors, the status line and the
// progress bar, the countdown to the next automatic peek, and the program lock.
//
// Everything runs on the UI thread except the peek: the window turns its state into a peek plan
// and runs it on its mailbox session on a worker thread. The session reports back through the
// window's CMailboxEvents (mailbox_events.h); each event is applied on the UI thread while the
// worker waits, the way a synchronous window message is. The worker never reads the window.
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <optional>

#include "admin/account_admin.h"
#include "admin/account_settings.h"
#include "common/text_encoding.h"
#include "compose_window/compose_host.h"
#include "dialogs/dlg_input.h"
#include "file_view/dlg_file_view.h"
#include "config/current_account.h"
#include "config/language_table.h"
#include "config/startup_settings.h"
#include "config/working_files.h"
#include "main_window/main_window_model.h"
#include "main_window/main_window_texts.h"
#include "main_window/new_mail_notice.h"
#include "main_window/new_mail_sound.h"
#include "main_window/peek_countdown.h"
#include "main_window/screen_lock_memory.h"
#include "main_window/session_status.h"
#include "peek/header_row.h"
#include "peek/mailbox_session.h"
#include "platform/file_watch.h"
#include "res/control_ids.h"
#include "screening/rule_lines.h"
#include "screening/screening_inputs.h"
#include "widgets/icon_button.h"
#include "widgets/link_label.h"
#include "widgets/percent_progress.h"
#include "widgets/sizing_dialog.h"
#include "widgets/sorting_list.h"

namespace larkspin {

inline constexpr int kCountdownTimer = 10000;
inline constexpr int kIdleTimer = 10001;
// Looks whether config.ini was changed by hand.
inline constexpr int kSettingsTimer = 10002;
inline constexpr int kSettingsCheckMs = 2000;
inline constexpr int kTimerPeriodMs = 60000;
// The Compose button's account menu in all-accounts mode: entry n of the account selector.
inline constexpr int kFirstComposeAccountCommand = 2200;
inline constexpr int kLastComposeAccountCommand = 2300;

struct ComposeRequest;

// What the message view is handed when a row is opened.
struct MessageViewRequest {
  std::string attachment_folder;
  int attachment_count = 0;
  std::string subject;
  std::string sender;
  std::string file_name;
};

// What the window uses from outside; tests replace these.
struct MainWindowServices {
  CProfileStore profile;
  PeekWaits waits;
  CSoundOutput* sound = nullptr;  // nullptr: the desktop's sound
  // Opens a text file in the desktop's editor (Properties, Address Book, Signature); false when
  // no editor could be started.
  std::function<bool(const std::string& path)> open_in_editor;
  // Ends the process after a refused program password (exit code 0, nothing cleaned up).
  std::function<void()> end_process;
  // Shows a stored message; unset: the window's own message view.
  std::function<void(const MessageViewRequest&)> show_message;
  // Hands a file to the desktop's associated program; unset: the desktop's opener.
  std::function<void(const std::string& path)> open_with_desktop;
  // Press Connect as soon as the window is shown (the demo's first look).
  bool connect_when_shown = false;
  // Open the account dialog when the window is shown without any account.
  bool offer_account_setup = true;
};

class CDlgMain : public CSizingDialog, private CSessionStatus, private CComposeHost {
 public:
  explicit CDlgMain(MainWindowServices services = {});
  ~CDlgMain() override;

  // State for the program and for tests.
  bool PeekRunning() const { return model_.PeekRuns(); }
  bool Busy() const { return model_.KeepsConnection(); }
  bool Connected() const { return session_.Connected(); }
  bool AllAccounts() const { return all_accounts_; }
  bool DownloadAll() const { return download_all_; }
  bool AutomaticPeek() const { return countdown_.Automatic(); }
  bool ManualConnection() const { return countdown_.UserConnection(); }
  int PreviousTotal() const { return previous_total_; }
  int MinutesLeft() const { return countdown_.MinutesLeft(); }
  int PeekNumber() const { return countdown_.PeekNumber(); }
  MailboxView FolderView() const { return folder_view_; }
  const CCurrentAccount& Account() const { return account_; }
  CPop3Client& Client() { return session_.Client(); }
  const CSortingList& HeaderList() const { return list_; }
  CDlgFileView& MessageView() { return message_view_; }
  // The record of the row at position; nullptr for none.
  HeaderRow* RowRecord(int position);
  const HeaderRow* RowRecord(int position) const;

  // Who ends a connection: the user's Disconnect, or the window itself (the idle close, the end
  // of an automatic or all-accounts peek), while the user may be typing elsewhere.
  enum class DisconnectCause { kUser, kWindow };
  // Asks when rows are marked for deletion, deletes them on Yes, logs out, returns to idle. The
  // user's own Disconnect asks with Yes as the default, and No keeps the connection; the window's
  // asks with No as the default, and No logs out all the same and keeps the marks for the next
  // peek. It talks to the server on the calling thread and to the window on the UI thread.
  void Disconnect(DisconnectCause cause = DisconnectCause::kUser);

 protected:
  bool OnInitDialog() override;
  void OnShown() override;
  void OnOK() override;
  void OnCancel() override;
  void OnCloseBox() override;
  void OnTimer(int id) override;
  void OnDestroy() override;
  int FocusFallback() const override;

 private:
  // Runs work on the UI thread and waits for it (at once on the UI thread itself).
  void OnUi(const std::function<void()>& work);

  // The session's events, each applied on the UI thread (main_window_events.cpp).
  void OnStatus(const std::string& text) override;
  void OnLeaveBusy() override;
  void OnLoginFailed(const LoginFailure& failure) override;
  void OnRowsCleared() override;
  void OnProgressRange(int count) override;
  void OnProgressStep() override;
  void OnHeaderRow(const PeekedRow& row) override;
  void OnDownloadStarted() override;
  void OnDownloadResult(const DownloadOutcome& outcome) override;
  void OnMessageDeleted(RowId row_id) override;
  void OnDeleteRefused(const ServerFailure& failure) override;
  void OnMarkDropped(RowId row_id) override;
  void OnLoggedOut() override;
  void OnPeekFinished(const PeekSummary& summary) override;
  void OnAccountsAtWork(const AccountsAtWork& work) override;
  void SortAndTitle(const PeekSummary& summary);
  std::vector<NewMessageLine> NewMessageLines(const std::vector<RowId>& rows) const;
  // Unless Notify=0, the desktop notification naming the new messages and the accounts that
  // could not be checked; nothing when there is neither.
  void ShowPeekNotice(const std::vector<NewMessageLine>& messages, const std::string& failed_accounts);
  void ShowInBold(const std::vector<RowId>& rows);
  // The end of a peek: Connect and the selectors come back unless a connection is kept, and a
  // Close asked meanwhile ends the window.
  void PeekFinished();

  // Start-up.
  void RegisterCommands();
  void AnchorControls();
  void ShowGreeting();
  // Tells the log and the status line when config.ini shows a password to other users.
  void WarnOfReadablePassword();
  void SetUpButtons();
  void SetUpColumns();
  int ScaledColumnWidth(int original_width) const;
  void SetUpLabels();
  bool PassProgramLock();
  void ReadStartupValues();
  // The values that a reload of config.ini applies as they are.
  void ApplySettingValues(const StartupSettings& settings);
  void SelectRememberedAccount();
  void SetUpSelectors();

  // Scheduling and account selection.
  void InitDropDowns();
  void SwitchAccount();
  void CountdownStep();
  void IdleClose();
  void StartManualPeek();
  bool StartPeek();
  PeekPlan MakePeekPlan() const;
  SessionTexts MakeSessionTexts() const;

  // Window state.
  void SetStatusText(const std::string& text);
  // Moves the model's state on and gives the drawn commands' controls what the new state allows.
  void ApplyState(MainWindowEvent event);
  void RemoveAllRows();
  // Alternate backgrounds for the rows in their present order.
  void StripeRows();
  // Adds a row for record; its position, or -1.
  int InsertRow(const std::vector<std::string>& texts, const HeaderRow& record, int icon,
                TextEncoding encoding = TextEncoding::kClassic);
  void RemoveRow(int position);
  int PositionOfRow(RowId row_id) const;
  // Downloads the row at position on the calling thread; the engine's result code.
  int DownloadRow(int position, bool skip_check);
  // The window's part of a logout: idle state, progress, timers.
  void ReturnToIdle();
  void SetRowIcon(int position, int icon);
  // The title counts the rows the list shows, "(2) Larkspin-Home"; without a count while the
  // list waits for a peek.
  void TitleWithRowCount();
  void TitleWithoutCount();

  // Marks and the list's notifications.
  void MarkForDeletion();
  void ResetMail();
  void UnmarkRow(int position);
  void MarkForDownload();
  void AddSenderToAddressBook();
  void ShowListMenu(Point screen_point);
  void OpenSelectedMessage();

  // Menu commands.
  void Close();
  void EndWindow();
  void ToggleDownloadAll();
  void ToggleScreenLock();
  void LockControls();
  // Gives every locked control the enabled state the window last chose for it.
  void UnlockControls();
  // Hides the dialog's own: while the screen is locked, the choice is kept for the unlock
  // (screen_lock_memory.h). A button's item in the Message menu follows the button.
  void EnableItem(int id, bool enable);
  void ShowView(MailboxView view);
  // The View menu's check mark on the view's command alone.
  void CheckViewCommand(MailboxView view);
  void SelectView(MailboxView view);
  void FillFolderView(MailboxView view);
  AccountSelection Selection() const;
  // A command the state does not allow sounds the warning beep instead (main_window_state.h).
  bool Refused(MainWindowAction action);
  void ResetCredentialCommand(StoredCredential credential);
  void UnlockAccountCommand();
  void ShowAbout();
  void OpenInEditor(const std::string& file) override;

  // Accounts and settings changed while the program runs (settings_reload.cpp).
  struct TypedCredentials {
    int account_number = 0;
    std::string login;
    std::string password;
  };
  void OpenAccountDialog();
  // Reads config.ini again: the System values and the account list, keeping the selected account
  // (and its credentials) when it still exists.
  void ReloadSettings();
  void CheckSettingsFile();
  void ApplyPeekMinutes(int minutes);
  // Fills the account selector again; typed names the account whose credentials were just typed.
  void RefreshAccounts(const std::optional<TypedCredentials>& typed);
  int EntryToSelectAfterRefresh(int old_count, int old_number, bool was_all,
                                const std::optional<TypedCredentials>& typed) const;
  // Puts credentials typed in the account dialog in place of the ones SwitchAccount cleared.
  void TakeTypedCredentials();

  // Screening (row_screening.cpp): the working folder's rules, addresses and address book, read
  // at the start and at each peek.
  void ReadScreening();
  void ReportRuleFile();
  void CheckRuleFile();
  ScreeningVerdict VerdictOf(const PeekedRow& row) const;
  // Marks and colours the row at position as its verdict says.
  void ApplyVerdict(int position, const ScreeningVerdict& verdict);
  // The status line and the log say what each rule did at the peek.
  void ShowRuleCounts();
  void OpenRuleFile();
  // Appends the rule for the selected row's sender to rules.txt.
  void AddSenderRule(SenderRule rule);
  void ExplainVerdict();
  void FillDeletedView();

  // The preview pane (preview_pane.cpp).
  void SetUpPreviewPane();
  void ShowPreviewPane(bool shown);
  // Shows the selected row's preview, fetching it now.
  void ShowPreview();

  // Compose, Reply To, Forward and drafts (compose_openers.cpp).
  void RegisterComposeCommands();
  void OnCompose();
  void OnComposeFromAccount(int id);
  // The selected row and the account it is answered from; the box no_selection_text and
  // nullptr when no row is selected.
  const HeaderRow* RowToAnswer(int no_selection_text, int& position, ComposeRequest& request);
  void OnReply();
  void OnForward();
  std::string ForwardedAttachments(const std::string& text, int account_number) const;
  void OpenDraft(const std::string& path);
  void OpenComposeWindow(const ComposeRequest& request);
  void ShowDraftsAgain();
  void SwitchToSendingAccount(int account_number);
  int CurrentAccountNumber() const override;
  std::string CurrentDisplayName() const override;
  int TimeoutSeconds() const override;
  TextEncoding TextEncodingOfTexts() const override { return session_.text_encoding; }
  void LoadAccountRecord(int account_number, AccountRecord& record) override;

  // Reading stored files (message_view.cpp).
  void CreateMessageView();
  void ShowMessageView(const MessageViewRequest& request);
  void ShowLogfile();
  void EmptyLogfile();
  void PickAttachment();

  MainWindowServices services_;
  CDesktopSound desktop_sound_;
  CSoundOutput& sound_;
  CLanguageTable language_;
  CDlgInput input_;
  // Asks on the UI thread; a request's notice goes to the status line first.
  class CUiThreadPrompt : public CInputPrompt {
   public:
    CUiThreadPrompt(CDlgMain& window, CInputPrompt& inner) : window_(window), inner_(inner) {}
    bool Ask(const InputRequest& request, InputAnswer& answer) override;

   private:
    CDlgMain& window_;
    CInputPrompt& inner_;
  } prompt_{*this, input_};
  CCurrentAccount account_{prompt_};
  CMailboxSession session_;

  CSortingList list_;
  CMainWindowModel model_;
  std::optional<ScreeningInputs> screening_;  // the records of the list's rows, by row key, and the connection and peek state
  std::vector<CIconButton> buttons_;
  CIconButton about_button_;
  CDlgFileView message_view_;
  CLinkLabel link_;
  CPercentProgress progress_;

  std::vector<std::string> account_names_;
  int account_count_ = 0;
  MailboxView folder_view_ = MailboxView::kOnline;
  std::string countdown_text_;
  std::string working_directory_;
  int mail_threshold_kb_ = 100;
  bool notify_ = true;
  bool notification_service_missed_ = false;  // logged once
  int timeout_seconds_ = 60;
  NewMailRule new_mail_by_ = NewMailRule::kCount;
  CPeekCountdown countdown_;
  int preview_lines_ = 40;
  int parallel_accounts_ = 1;  // ParallelAccounts: accounts an All Accounts peek visits at once
  int preview_gap_ = 0;  // pixels between the list and the preview pane
  bool fast_peek_ = false;  // FastPeek: the peek pipelines without a wait before each header

  bool all_accounts_ = false;
  bool download_all_ = false;
  int previous_total_ = 0;
  CScreenLockMemory lock_memory_;
  bool start_refused_ = false;
  bool log_opened_ = false;
  CFileWatch config_watch_{kConfigFile};
  bool reload_pending_ = false;  // config.ini changed while the window was busy
  std::optional<TypedCredentials> typed_credentials_;
  std::thread worker_;
};

}  // namespace larkspin
