#pragma once
// Which message each downloaded message file of an account holds, kept in the account's
// "mailbox<N>/stored.list" (not ".txt": the Offline view lists those as stored messages). One line
// per message file, its fields separated by tabs:
//
//   UIDL id <TAB> Message-ID <TAB> last id of References <TAB> size <TAB> file name
//
// Any field but the size and the file name may be empty. The file name is that of the message
// file inside the account folder. The list is read whole and written whole through a temporary
// file, so a crash leaves the old list or the new one.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

struct StoredListEntry {
  std::string unique_id;       // from UIDL, empty where the server has none
  std::string message_id;      // the Message-ID field as received
  std::string last_reference;  // the last id of the References field
  uint32_t size = 0;           // the message's size from LIST
  std::string file;            // the message file's name inside the account folder
};

class CStoredList {
 public:
  // Reads the list of account account_number. A missing list has no entries; a line that is not
  // an entry, or whose file is gone, is dropped. A list that exists but cannot be read is never
  // written over (Record fails).
  explicit CStoredList(int account_number);

  const std::vector<StoredListEntry>& Entries() const { return entries_; }
  // The entry of the message file named file, or nullptr.
  const StoredListEntry* EntryOfFile(std::string_view file) const;
  // Records entry, replacing the one of the same file, and writes the list; false when it could
  // not be written (the list on disk then stays as it was).
  bool Record(StoredListEntry entry);

 private:
  int account_number_;
  std::vector<StoredListEntry> entries_;
  bool readable_ = true;
};

// The last message id ("<...>") of a References field, or empty.
std::string LastReference(std::string_view references);

}  // namespace larkspin
