#pragma once
// The UIDL ids of one account's messages that earlier peeks listed, kept between program runs in
// the account's "mailbox<N>/seen-ids.list", one id per line. A peek reads the file before it lists
// the account's messages; a listed message whose id is not in it is new mail. Once the rows were
// listed the file is written again with the ids seen before that are still on the server plus
// every id the peek listed: it never holds more ids than the mailbox, and a peek cut off
// mid-list neither forgets an id it had nor remembers one it did not list.
#include <set>
#include <string>
#include <vector>

namespace larkspin {

class CSeenIds {
 public:
  // Reads the file at path; a missing file knows no ids. Blank lines and a line's trailing
  // blanks and CR (an editor's doing) are ignored. A file that exists but cannot be read makes
  // no id new and is never written over (Readable() is false).
  explicit CSeenIds(std::string path);

  bool Readable() const { return readable_; }
  const std::string& Path() const { return path_; }

  // Notes id as listed by this peek; true when no earlier peek had listed it. An id that is no
  // valid UIDL id (empty, longer than 70 bytes, or with bytes outside "!".."~") is neither new
  // nor remembered: it could not be told again next time.
  bool NoteListed(const std::string& id);
  // Keeps the seen ids that are among server_ids (the server's whole UIDL list) together with
  // the listed ones, and writes them to the file through a temporary file. False when the file
  // could not be written; the old one then stays.
  bool Save(const std::vector<std::string>& server_ids);

 private:
  std::string path_;
  std::set<std::string> seen_;
  std::set<std::string> listed_;
  bool readable_ = true;
};

}  // namespace larkspin
