#include "main_window/dlg_main.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "admin/program_lock.h"
#include "platform/editor_start.h"
#include "config/config_privacy.h"
#include "config/language_file.h"
#include "config/log.h"
#include "config/startup_settings.h"
#include "config/working_files.h"
#include "common/format.h"
#include "common/message_box.h"
#include "main_window/dlg_about.h"
#include "main_window/log_opening.h"
#include "main_window/main_window_texts.h"
#include "platform/file_system.h"
#include "res/resources.h"
#include "ui/backend.h"

namespace larkspin {

namespace {
constexpr int kProgressBlue = 255;

// The column width keys of the profile, by column.
constexpr const char* kColumnWidthKeys[] = {"Col_WHO", "Col_SUBJECT", "Col_DATE", "Col_ACCOUNT", "Col_SIZE", "Col_SIGNALS"};
// The labels 1049 and 1060 show at most this many characters.
constexpr size_t kLabelLength = 30;
// The default column widths are pixels at the original's small font, 1.5 pixels per dialog
// unit horizontally; this many dialog units make kOriginalPixels pixels there.
constexpr int kReferenceUnits = 600;
constexpr int kOriginalPixels = 900;
// The Date column's default fits the widest date the Online view writes, with the cell's blanks
// and the header's own margin.
constexpr const char* kWidestDateText = " 00.00.0000 00:00:00 +0000 ";
constexpr int kColumnMargin = 12;

// The controls that draw the state's commands, enabled as the state allows.
constexpr std::pair<MainWindowAction, int> kStateControls[] = {
    {MainWindowAction::kConnect, kConnectButton},          {MainWindowAction::kDisconnect, kDisconnectButton},
    {MainWindowAction::kClose, kCloseButton},              {MainWindowAction::kAccountSelector, kAccountSelector},
    {MainWindowAction::kFolderSelector, kFolderSelector}};

std::string VersionText() { return LoadResourceString(kStringVersion); }

void EndProcessAtOnce() { std::_Exit(0); }
}  // namespace

bool CDlgMain::CUiThreadPrompt::Ask(const InputRequest& request, InputAnswer& answer) {
  bool confirmed = false;
  RunOnUiThread([&] {
    if (!request.notice.empty()) window_.SetStatusText(request.notice);
    confirmed = inner_.Ask(request, answer);
  });
  return confirmed;
}

CDlgMain::CDlgMain(MainWindowServices services)
    : CSizingDialog(kDialogMain, nullptr, services.profile),
      services_(std::move(services)),
      sound_(services_.sound ? *services_.sound : desktop_sound_),
      input_(this),
      message_view_(this, services_.profile) {
  if (!services_.end_process) services_.end_process = EndProcessAtOnce;
  AnchorControls();
  RegisterCommands();
}

CDlgMain::~CDlgMain() {
  if (worker_.joinable()) worker_.join();
  if (!start_refused_ && log_opened_) {
    LogEvent("- - - Larkspin closed - - -");
    CloseLog();
  }
}

void CDlgMain::OnUi(const std::function<void()>& work) { RunOnUiThread(work); }

void CDlgMain::AnchorControls() {
  AnchorControl(kAccountSelector, kAnchorMoveRight);
  AnchorControl(kCloseButton, kAnchorMoveRight);
  AnchorControl(kProgressBar, kAnchorStretchRight | kAnchorMoveDown);
  AnchorControl(kAccountLabel, kAnchorMoveRight);
  AnchorControl(kStatusLine, kAnchorMoveDown);
  AnchorControl(kHeaderList, kAnchorStretchRight | kAnchorStretchDown);
  AnchorControl(kPreviewPane, kAnchorStretchRight | kAnchorMoveDown);
  AnchorControl(kComposeButton, kAnchorMoveDown);
  AnchorControl(kReplyToButton, kAnchorMoveDown);
  AnchorControl(kForwardButton, kAnchorMoveDown);
  AnchorControl(kFolderSelector, kAnchorMoveRight);
  AnchorControl(kFolderLabel, kAnchorMoveRight);
}

void CDlgMain::RegisterCommands() {
  CCommandMap& map = Commands();
  map.OnCommand(kConnectButton, [this] { StartManualPeek(); });
  map.OnCommand(kDownloadButton, [this] { MarkForDownload(); });
  map.OnCommand(kDeleteButton, [this] { MarkForDeletion(); });
  map.OnCommand(kResetButton, [this] { ResetMail(); });
  map.OnCommand(kDisconnectButton, [this] { Disconnect(); });
  map.OnCommand(kCloseButton, [this] { Close(); });
  map.OnCommand(kAboutButton, [this] { ShowAbout(); });
  map.OnCommand(kCommandMarkForDeletion, [this] { MarkForDeletion(); });
  map.OnCommand(kCommandResetMail, [this] { ResetMail(); });
  map.OnCommand(kCommandMarkForDownload, [this] { MarkForDownload(); });
  map.OnCommand(kCommandAddSender, [this] { AddSenderToAddressBook(); });
  map.OnCommand(kCommandExit, [this] { Close(); });
  map.OnCommand(kCommandInfo, [this] { ShowAbout(); });
  map.OnCommand(kCommandProperties, [this] { OpenInEditor(kConfigFile); });
  map.OnCommand(kCommandAccounts, [this] { OpenAccountDialog(); });
  map.OnCommand(kCommandReloadSettings, [this] {
    if (!Refused(MainWindowAction::kSettings)) ReloadSettings();
  });
  map.OnCommand(kCommandAddressBook, [this] { OpenInEditor("address.txt"); });
  map.OnCommand(kCommandSignature, [this] { OpenInEditor("signature.txt"); });
  map.OnCommand(kCommandDownloadAll, [this] { ToggleDownloadAll(); });
  map.OnCommand(kCommandLockScreen, [this] { ToggleScreenLock(); });
  map.OnCommand(kCommandResetLogin, [this] { ResetCredentialCommand(StoredCredential::kLogin); });
  map.OnCommand(kCommandResetPassword, [this] { ResetCredentialCommand(StoredCredential::kPassword); });
  map.OnCommand(kCommandUnlockAccount, [this] { UnlockAccountCommand(); });
  map.OnCommand(kCommandOnline, [this] { SelectView(MailboxView::kOnline); });
  map.OnCommand(kCommandOffline, [this] { SelectView(MailboxView::kOffline); });
  map.OnCommand(kCommandSent, [this] { SelectView(MailboxView::kSent); });
  map.OnCommand(kCommandDrafts, [this] { SelectView(MailboxView::kDrafts); });
  map.OnCommand(kCommandDeleted, [this] { SelectView(MailboxView::kDeleted); });
  map.OnCommand(kCommandRules, [this] { OpenRuleFile(); });
  map.OnCommand(kCommandBlockSender, [this] { AddSenderRule(SenderRule::kBlockSender); });
  map.OnCommand(kCommandBlockDomain, [this] { AddSenderRule(SenderRule::kBlockDomain); });
  map.OnCommand(kCommandAllowSender, [this] { AddSenderRule(SenderRule::kAllowSender); });
  map.OnCommand(kCommandWhy, [this] { ExplainVerdict(); });
  map.OnCommand(kCommandPreview, [this] { ShowPreviewPane(!IsMenuItemChecked(kCommandPreview)); });
  map.OnCommand(kCommandLogfile, [this] { ShowLogfile(); });
  map.OnCommand(kCommandEmptyLogfile, [this] { EmptyLogfile(); });
  map.OnCommand(kCommandAttachments, [this] { PickAttachment(); });
  map.OnCommand(kCommandOpenMessage, [this] { OpenSelectedMessage(); });
  map.OnNotify(kAccountSelector, NotifyCode::kSelectionChange, [this](const Notification&) { SwitchAccount(); });
  map.OnNotify(kFolderSelector, NotifyCode::kSelectionChange, [this](const Notification&) {
    const auto view = MailboxViewNamed(ComboEntry(kFolderSelector, ComboSelection(kFolderSelector)));
    if (view) ShowView(*view);
  });
  map.OnNotify(kHeaderList, NotifyCode::kRightClick,
               [this](const Notification& notification) { ShowListMenu(notification.screen_point); });
  map.OnNotify(kHeaderList, NotifyCode::kSelectionChange, [this](const Notification&) { ShowPreview(); });
  map.OnNotify(kHeaderList, NotifyCode::kDoubleClick, [this](const Notification&) { OpenSelectedMessage(); });
  RegisterComposeCommands();
}

bool CDlgMain::OnInitDialog() {
  CSizingDialog::OnInitDialog();
  language_ = CLanguageTable(LanguageFilePath());
  SetIcon(kIconApplication);
  SetMenu(kMenuMain);
  ApplyMenuTexts(*this, language_);
  ShowGreeting();
  working_directory_ = WorkingDirectory();
  log_opened_ = OpenLogOrShowFailure();
  LogEvent("+ + + " + VersionText() + " started + + +");
  SetUpButtons();
  SetUpColumns();
  InitDropDowns();
  SelectComboEntry(kAccountSelector, 0);
  SetUpLabels();
  if (!PassProgramLock()) return false;
  ReadStartupValues();
  SelectRememberedAccount();
  countdown_.ForgetUserConnection();
  progress_.Attach(*this, kProgressBar);
  progress_.SetBarColours(Rgb(0, 0, kProgressBlue), Rgb(0, 0, kProgressBlue));
  progress_.SetShowText(true);
  SetUpSelectors();
  CreateMessageView();
  ReadScreening();
  SetUpPreviewPane();
  config_watch_.Rebase();
  SetTimer(kSettingsTimer, kSettingsCheckMs);
  WarnOfReadablePassword();
  return true;
}

void CDlgMain::WarnOfReadablePassword() {
  const std::string warning = ReadablePasswordWarning(working_directory_ + kConfigFile);
  if (warning.empty()) return;
  LogEvent(warning);
  SetStatusText(warning);
}

void CDlgMain::OnShown() {
  if (services_.offer_account_setup && !start_refused_ && account_count_ == 0) {
    services_.offer_account_setup = false;
    OpenAccountDialog();
  }
  if (!services_.connect_when_shown || start_refused_) return;
  services_.connect_when_shown = false;
  StartManualPeek();
}

void CDlgMain::ShowGreeting() {
  const std::string version = VersionText();
  if (Profile().GetString(kMainWindowSection, "info", "") != version) {
    const int greeting = GreetingStringId(language_.Text("System", "Language", "en"));
    MessageBox(LoadResourceString(greeting), kBoxOk | kBoxIconInformation);
  }
  Profile().WriteString(kMainWindowSection, "info", version);
}

void CDlgMain::SetUpButtons() {
  buttons_.assign(MainWindowButtons().size(), CIconButton());
  for (size_t i = 0; i < MainWindowButtons().size(); ++i) {
    const MainWindowButton& button = MainWindowButtons()[i];
    buttons_[i].Attach(*this, button.id);
    if (button.icon != 0) buttons_[i].SetIcon(button.icon);
    buttons_[i].SetTipText(language_.TextOrNa("Tooltips", button.key));
    SetItemText(button.id, language_.TextOrNa("Buttons", button.key));
  }
  about_button_.Attach(*this, kAboutButton);
}

// A default column width grown with the font, as dialog units grow with it.
int CDlgMain::ScaledColumnWidth(int original_width) const {
  const int pixels = DialogUnitsToPixels({kReferenceUnits, 0}).width;
  return (original_width * pixels + kOriginalPixels / 2) / kOriginalPixels;
}

void CDlgMain::SetUpColumns() {
  list_.Attach(*this, kHeaderList);
  const std::string section = GeometrySectionName();
  for (size_t i = 0; i < MainWindowColumns().size(); ++i) {
    const MainWindowColumn& column = MainWindowColumns()[i];
    int default_width = ScaledColumnWidth(column.default_width);
    if (i == kDateColumn)
      default_width = std::max(default_width, TextSize(kHeaderList, kWidestDateText).width + kColumnMargin);
    const int width = Profile().GetInt(section, kColumnWidthKeys[i], default_width);
    // A language.ini of earlier versions has no title for the screening's column.
    const std::string title = i == kSignalsColumn ? language_.Text("Headers", column.key, column.key)
                                                  : language_.TextOrNa("Headers", column.key);
    list_.AddColumn(title, column.alignment, width);
  }
  list_.EnableSort(true);
  list_.SetAfterSort([this] { StripeRows(); });
}

void CDlgMain::SetUpLabels() {
  SetItemText(kWebLink, language_.Text("Labels", "VisitLS", kDefaultVisitText));
  link_.SetLinkAddress(kProductWebAddress);
  link_.Attach(*this, kWebLink);
  SetItemText(kFolderLabel, language_.Text("Labels", "Folder", "Folder:").substr(0, kLabelLength));
  SetItemText(kAccountLabel, language_.Text("Labels", "ActiveAccount", "Active Account:").substr(0, kLabelLength));
  countdown_text_ = language_.Template("Messages", "Peeking", "Ready: %d min. until %d. larkspin");
}

bool CDlgMain::PassProgramLock() {
  if (CheckProgramPassword(prompt_, Profile())) return true;
  start_refused_ = true;
  MessageBox(language_.Text("Messages", "BadPasswordLS", "The password you have entered is incorrect."), kBoxOk);
  services_.end_process();
  EndDialog(kIdCancel);
  return false;
}

void CDlgMain::ReadStartupValues() {
  const StartupSettings settings = ReadStartupSettings();
  SetWindowText("Larkspin-" + account_.display_name);
  ApplySettingValues(settings);
  countdown_.Restart(settings.peek_minutes);
  if (countdown_.Runs()) SetTimer(kCountdownTimer, kTimerPeriodMs);
}

void CDlgMain::ApplySettingValues(const StartupSettings& settings) {
  mail_threshold_kb_ = settings.mail_threshold_kb;
  notify_ = settings.notify;
  timeout_seconds_ = settings.timeout_seconds;
  session_.Client().read_timeout_ms = settings.ReplyTimeoutMs();
  session_.Client().max_message_bytes = settings.MaxMessageBytes();
  session_.text_encoding = settings.text_encoding;
  new_mail_by_ = settings.new_mail_by;
  fast_peek_ = settings.fast_peek;
  preview_lines_ = settings.preview_lines;
  parallel_accounts_ = settings.parallel_accounts;
}

void CDlgMain::SelectRememberedAccount() {
  int entry = Profile().GetInt(GeometrySectionName(), "account", 0);
  if (entry < 0 || entry >= ComboCount(kAccountSelector)) entry = 0;  // the configuration lost accounts
  SelectComboEntry(kAccountSelector, entry);
  SwitchAccount();
}

void CDlgMain::SetUpSelectors() {
  ResetCombo(kFolderSelector);
  for (const MailboxView view : kMailboxViews) AddComboEntry(kFolderSelector, MailboxViewName(view));
  SelectComboEntry(kFolderSelector, 0);
  folder_view_ = MailboxView::kOnline;
}

void CDlgMain::OnDestroy() {
  if (!start_refused_) {
    const std::string section = GeometrySectionName();
    if (const CListModel* model = List(kHeaderList)) {
      for (size_t i = 0; i < model->Columns().size() && i < std::size(kColumnWidthKeys); ++i)
        Profile().WriteInt(section, kColumnWidthKeys[i], model->Columns()[i].width);
    }
    Profile().WriteInt(section, "account", ComboSelection(kAccountSelector));
    CSizingDialog::OnDestroy();
  }
  message_view_.DestroyWindow();
  RemoveAllRows();
}

void CDlgMain::OnOK() { Close(); }

// Escape leaves the window open: only Close, Exit and the close box end the program.
void CDlgMain::OnCancel() {}

// The close box follows the Close button: nothing while Close is disabled.
void CDlgMain::OnCloseBox() {
  if (IsItemEnabled(kCloseButton)) Close();
}

// During a peek the worker still uses the window: the window ends when the peek has finished.
// Once ended, further Exit commands are ignored.
void CDlgMain::Close() {
  if (model_.State() == MainWindowState::kClosed) return;
  ApplyState(MainWindowEvent::kCloseAsked);
  if (model_.State() == MainWindowState::kClosed) EndWindow();
}

void CDlgMain::EndWindow() {
  RemoveAllRows();
  EndDialog(kIdOk);
}

void CDlgMain::PeekFinished() {
  ApplyState(MainWindowEvent::kPeekEnded);
  if (model_.State() == MainWindowState::kClosed) EndWindow();
}

void CDlgMain::SetStatusText(const std::string& text) { SetItemText(kStatusLine, text); }

void CDlgMain::TitleWithRowCount() {
  const std::string name = all_accounts_ ? "All Accounts" : account_.display_name;
  SetWindowText(FormatText("(%d) Larkspin-%s", list_.RowCount(), name.c_str()));
}

void CDlgMain::TitleWithoutCount() { SetWindowText("Larkspin-" + account_.display_name); }

void CDlgMain::ApplyState(MainWindowEvent event) {
  model_.Apply(event);
  for (const auto& [action, control] : kStateControls) EnableItem(control, model_.Allows(action));
}

void CDlgMain::ToggleDownloadAll() {
  const bool checked = IsMenuItemChecked(kCommandDownloadAll);
  CheckMenuItem(kCommandDownloadAll, !checked);
  download_all_ = !checked;
}

void CDlgMain::ShowAbout() {
  CDlgAbout about(this, Profile());
  about.DoModal();
}

void CDlgMain::OpenInEditor(const std::string& file) {
  const bool started = services_.open_in_editor ? services_.open_in_editor(file) : OpenFileInEditor(file);
  if (!started)
    MessageBox("No editor could be started for " + working_directory_ + file +
                   ".\nInstall xdg-open, or name an editor in VISUAL or EDITOR.",
               kBoxIconWarning);
}

// The header list while it is shown; the dialog's choice otherwise.
int CDlgMain::FocusFallback() const {
  return IsUsableFocus(kHeaderList) ? kHeaderList : CSizingDialog::FocusFallback();
}

void CDlgMain::OnTimer(int id) {
  if (id == kCountdownTimer) CountdownStep();
  else if (id == kIdleTimer) IdleClose();
  else if (id == kSettingsTimer) CheckSettingsFile();
}

}  // namespace larkspin
