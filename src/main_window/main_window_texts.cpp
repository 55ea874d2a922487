#include "main_window/main_window_texts.h"

#include "res/control_ids.h"
#include "res/resources.h"
#include "ui/dialog.h"
#include "ui/list_model.h"

namespace larkspin {

const std::vector<MainWindowButton>& MainWindowButtons() {
  static const std::vector<MainWindowButton> buttons = {
      {kConnectButton, "Connect", kIconConnect},       {kDeleteButton, "Delete", kIconDelete},
      {kResetButton, "Reset", kIconReset},             {kDisconnectButton, "Disconnect", kIconDisconnect},
      {kDownloadButton, "Download", kIconDownload},    {kCloseButton, "Close", 0},
      {kComposeButton, "Compose", kIconCompose},       {kReplyToButton, "ReplyTo", kIconReplyTo},
      {kForwardButton, "Forward", kIconForward},
  };
  return buttons;
}

const std::vector<MainWindowColumn>& MainWindowColumns() {
  static const std::vector<MainWindowColumn> columns = {
      {"From", 150, kAlignLeft},     {"Subject", 180, kAlignLeft}, {"Date", 70, kAlignLeft},
      {"Account", 80, kAlignCentre}, {"Size", 50, kAlignRight},  {"Signals", 110, kAlignLeft},
  };
  return columns;
}

const char* MailboxViewName(MailboxView view) {
  switch (view) {
    case MailboxView::kOnline: return "Online";
    case MailboxView::kOffline: return "Offline";
    case MailboxView::kSent: return "Sent";
    case MailboxView::kDrafts: return "Drafts";
    case MailboxView::kDeleted: return "Deleted";
  }
  return "";
}

std::optional<MailboxView> MailboxViewNamed(const std::string& name) {
  for (const MailboxView view : kMailboxViews)
    if (name == MailboxViewName(view)) return view;
  return std::nullopt;
}

void ApplyMenuTexts(CDialog& window, const CLanguageTable& language) {
  for (const MenuTextEntry& entry : MenuTextEntries()) {
    const std::string text = language.Text("Menu", entry.key, entry.default_text);
    if (entry.command_id != 0) window.SetMenuItemText(entry.command_id, text);
    else if (entry.top_position >= 0) window.SetTopMenuText(static_cast<size_t>(entry.top_position), text);
  }
}

int GreetingStringId(const std::string& language) {
  if (language == "de") return kStringGreetingGerman;
  if (language == "es") return kStringGreetingSpanish;
  return kStringGreetingEnglish;
}

}  // namespace larkspin
