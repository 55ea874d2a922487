#pragma once
// The local mailbox: one folder per account in the working directory, with "sent" and "attach"
// sub-folders, and the names of the files in them. Paths are relative to the working directory.
#include <string>

namespace larkspin {

// "mailbox<N>"
std::string AccountFolder(int account_number);
// "mailbox<N>/sent"
std::string SentFolder(int account_number);
// "mailbox<N>/attach/": attachment files lie directly in it.
std::string AttachFolder(int account_number);
// "mailbox<N>/msg<file id>.txt": a downloaded message.
std::string MessageFilePath(int account_number, const std::string& file_id);
// "mailbox<N>/larkspin.tmp": exists only while a message's attachments are being split.
std::string SplitTempFilePath(int account_number);
// "mailbox<N>/stored.list": which message each message file holds (mailbox/stored_list.h).
std::string StoredListPath(int account_number);
// "mailbox<N>/seen-ids.list": the UIDL ids earlier peeks listed (peek/seen_ids.h); not ".txt",
// which the Offline view would list as a stored message.
std::string SeenIdsFilePath(int account_number);

}  // namespace larkspin
