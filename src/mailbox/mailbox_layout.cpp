#include "mailbox/mailbox_layout.h"

namespace larkspin {

std::string AccountFolder(int account_number) { return "mailbox" + std::to_string(account_number); }

std::string SentFolder(int account_number) { return AccountFolder(account_number) + "/sent"; }

std::string AttachFolder(int account_number) { return AccountFolder(account_number) + "/attach/"; }

std::string MessageFilePath(int account_number, const std::string& file_id) {
  return AccountFolder(account_number) + "/msg" + file_id + ".txt";
}

std::string SplitTempFilePath(int account_number) { return AccountFolder(account_number) + "/larkspin.tmp"; }

std::string StoredListPath(int account_number) { return AccountFolder(account_number) + "/stored.list"; }

std::string SeenIdsFilePath(int account_number) { return AccountFolder(account_number) + "/seen-ids.list"; }

}  // namespace larkspin
