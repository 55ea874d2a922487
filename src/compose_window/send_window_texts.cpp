#include "compose_window/send_window_texts.h"

#include "compose/send_mail.h"
#include "config/language_table.h"
#include "res/control_ids.h"
#include "ui/dialog.h"

namespace larkspin {

const std::vector<SendWindowButton>& SendWindowButtons() {
  static const std::vector<SendWindowButton> buttons = {
      {kSendButton, "Send", nullptr, "Send", "Send"},
      {kSendNewButton, "New", nullptr, "New", "New"},
      {kSendPrintButton, "Print", "Print", "Print", "Print"},
      {kSendCloseButton, "CloseSend", nullptr, "CloseSend", "Close"},
      {kSendToAddressButton, "To", "To", nullptr, nullptr},
      {kSendCcAddressButton, "Cc", "Cc", nullptr, nullptr},
      {kSendBccAddressButton, "Bcc", "Bcc", nullptr, nullptr},
      {kSendAttachButton, "Attach", "Attach", nullptr, nullptr},
  };
  return buttons;
}

const std::vector<SendWindowLabel>& SendWindowLabels() {
  static const std::vector<SendWindowLabel> labels = {
      {kSendIdentityLabel, "IdentitySend"}, {kSendToLabel, "ToSend"},           {kSendCcLabel, "CcSend"},
      {kSendBccLabel, "BccSend"},           {kSendSubjectLabel, "SubjectSend"}, {kSendAttachLabel, "AttachSend"},
  };
  return labels;
}

void FillPrioritySelector(CDialog& window, const CLanguageTable& language) {
  window.ResetCombo(kSendPrioritySelector);
  window.AddComboEntry(kSendPrioritySelector, language.Text("Priority", "PriorityHigh", "High"));
  window.AddComboEntry(kSendPrioritySelector, language.Text("Priority", "PriorityNormal", "Normal"));
  window.AddComboEntry(kSendPrioritySelector, language.Text("Priority", "PriorityLow", "Low"));
  window.SelectComboEntry(kSendPrioritySelector, kPriorityNormal);
}

}  // namespace larkspin
