#pragma once
// A draft: a composed mail kept in the sending account's drafts folder until it is sent. Its file
// is laid out as a sent copy (compose/sent_copy.h), with the fields as typed: the recipient texts
// keep their blanks and ";" (each "," gets a blank after it, which reading takes off again), the
// "Sent: " line holds the time the draft was saved, and the attachments line is always there.
// Reading gives back every field exactly as written, except that a line break inside a
// one-line field (which the layout cannot hold) was written as a blank. The priority is not kept.
#include <ctime>
#include <string>
#include <string_view>

#include "compose/send_mail.h"

namespace larkspin {

// "<working directory>mailbox<N>/drafts/"
std::string DraftFolderPath(int account_number);

// A path in the account's drafts folder that no file has: "msg<stamp>.txt" for the local time,
// or "msg<stamp>_2.txt", "_3", ... when that is taken.
std::string NewDraftPath(int account_number, const std::tm& local);

// True when path lies directly in the account's drafts folder.
bool IsDraftOfAccount(const std::string& path, int account_number);

// The draft file's bytes for mail saved at local.
std::string RenderDraft(const ComposedMail& mail, const std::tm& local);

// Writes (or replaces) the file whole or not at all; false when it cannot be written.
bool WriteDraft(const std::string& path, const ComposedMail& mail, const std::tm& local);

// The fields of a draft file's bytes; a missing label or attachments line gives empty fields,
// and then the text is all that follows the header lines.
ComposedMail ReadDraft(std::string_view content);

}  // namespace larkspin
