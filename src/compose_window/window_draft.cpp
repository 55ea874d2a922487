// The compose window's drafts: what counts as a change, the question at Close, writing the
// draft, and removing it once the message is sent.
#include <cstdio>

#include "common/message_box.h"
#include "compose/draft_file.h"
#include "compose_window/dlg_send.h"
#include "platform/local_time.h"
#include "res/control_ids.h"
#include "ui/window_peer.h"

namespace larkspin {

namespace {
bool SameContent(const ComposedMail& a, const ComposedMail& b) {
  return a.to == b.to && a.cc == b.cc && a.bcc == b.bcc && a.subject == b.subject && a.text == b.text &&
         a.attachments == b.attachments;
}
}  // namespace

void CDlgSend::SetDraft(const std::string& path, const ComposedMail& mail) {
  draft_path_ = path;
  draft_ = mail;
}

ComposedMail CDlgSend::TypedFields() const {
  const TextEncoding encoding = host_.TextEncodingOfTexts();
  ComposedMail mail;
  mail.to = TypedItemText(kSendToField, encoding);
  mail.cc = TypedItemText(kSendCcField, encoding);
  mail.bcc = TypedItemText(kSendBccField, encoding);
  mail.subject = TypedItemText(kSendSubjectField, encoding);
  mail.text = TypedItemText(kSendMessageText, encoding);
  mail.attachments = TypedItemText(kSendAttachField, encoding);
  return mail;
}

void CDlgSend::ShowDraft() {
  if (!draft_) return;
  SetItemText(kSendToField, draft_->to);
  SetItemText(kSendCcField, draft_->cc);
  SetItemText(kSendBccField, draft_->bcc);
  SetItemText(kSendSubjectField, draft_->subject);
  SetItemText(kSendAttachField, draft_->attachments);
  SetItemText(kSendMessageText, draft_->text);
  draft_.reset();
}

void CDlgSend::RememberFields() {
  remembered_fields_ = TypedFields();
  remembered_identity_ = identity_.account_number;
}

bool CDlgSend::FieldsChanged() const {
  return identity_.account_number != remembered_identity_ || !SameContent(TypedFields(), remembered_fields_);
}

bool CDlgSend::SettledBeforeClose() {
  if (!FieldsChanged()) return true;
  const int focus = Peer()->FocusedControl();
  switch (MessageBox("Save this message as a draft?", kBoxYesNoCancel | kBoxIconQuestion)) {
    case kButtonYes: return SaveDraft();
    case kButtonNo: return true;
    default:
      SetFocusItem(focus != 0 ? focus : FirstFocus());
      return false;
  }
}

// A draft of this message in the identity's folder is written over; otherwise a new file is made.
bool CDlgSend::SaveDraft() {
  const int account = identity_.account_number;
  const std::tm now = LocalNow();
  const std::string path = IsDraftOfAccount(draft_path_, account) ? draft_path_ : NewDraftPath(account, now);
  if (!WriteDraft(path, TypedFields(), now)) {
    MessageBox("The draft could not be written to '" + path + "'.", kBoxOk);
    return false;
  }
  if (!draft_path_.empty() && draft_path_ != path) std::remove(draft_path_.c_str());
  draft_path_ = path;
  return true;
}

void CDlgSend::OnMessageSent() {
  if (!draft_path_.empty()) std::remove(draft_path_.c_str());
  draft_path_.clear();
  RememberFields();
}

}  // namespace larkspin
