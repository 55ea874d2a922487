// Send: the window's fields handed to the outgoing engine on a thread of its own, its boxes
// shown as they arise, its failures logged.
#include "common/message_box.h"
#include "compose_window/dlg_send.h"
#include "config/log.h"
#include "res/control_ids.h"
#include "ui/backend.h"

namespace larkspin {

void CDlgSend::OnSend() {
  if (sending_) return;
  const ComposedMail mail = FieldsOfWindow();
  if (mail.to.empty()) {
    MessageBox("No recipient has been entered.", kBoxOk);
    SetFocusItem(kSendToField);
    return;
  }
  SendSettings settings = settings_;
  settings.timeout_seconds = host_.TimeoutSeconds();
  settings.text_encoding = host_.TextEncodingOfTexts();
  const NoticeSink show_notice = [this](const SendNotice& notice) {
    const unsigned style = notice.kind == SendNotice::Kind::kSent ? kBoxIconInformation : kBoxOk;
    RunOnUiThread([&] { MessageBox(notice.text, style); });
  };
  SendOutcome outcome;
  CWaitCursor wait;
  sending_ = true;
  UiBackend().RunWhileResponsive(Peer(), [&] {
    outcome = SendComposedMail(identity_, mail, settings, connection_, show_notice);
  });
  sending_ = false;
  ReportOutcome(outcome);
}

// The typed texts in the encoding the program holds its texts in: in Modern mode UTF-8, so a
// character outside ISO-8859-1 reaches the engine, which sends such a mail in UTF-8.
ComposedMail CDlgSend::FieldsOfWindow() {
  ComposedMail mail = TypedFields();
  to_ = mail.to;
  cc_ = mail.cc;
  subject_ = mail.subject;
  bcc_ = mail.bcc;
  attachments_ = mail.attachments;
  mail.priority = ComboSelection(kSendPrioritySelector);
  mail.in_reply_to = in_reply_to_;
  mail.references = references_;
  return mail;
}

// The boxes were shown during the send; what remains is the log and the subject as sent.
void CDlgSend::ReportOutcome(const SendOutcome& outcome) {
  for (const std::string& entry : outcome.log_entries) LogEvent(entry);
  if (!outcome.subject.empty()) subject_ = outcome.subject;
  if (outcome.sent) OnMessageSent();
}

}  // namespace larkspin
