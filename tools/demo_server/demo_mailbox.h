#pragma once
// The demo server's one mailbox: the messages read from a folder at start, shared by every
// session. Deleting a message takes it out of the mailbox until the server restarts; the files
// themselves are never touched.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace larkspin::demo {

struct DemoMessage {
  std::string unique_id;  // stable across restarts: derived from the file name
  std::string text;       // CRLF line ends, ending in CRLF
};

using DemoMessageList = std::vector<std::shared_ptr<const DemoMessage>>;

class CDemoMailbox {
 public:
  // Reads every regular file of the folder whose name does not begin with "." as one message, in
  // the order of the names. Bare LF line ends become CRLF. False, with the reason in error, when
  // the folder cannot be read.
  bool Load(const std::string& folder, std::string& error);

  // The messages still in the mailbox, in order; a session works on such a copy.
  DemoMessageList Messages() const;
  // Takes the messages out of the mailbox (those already gone are skipped).
  void Remove(const DemoMessageList& messages);

 private:
  mutable std::mutex mutex_;
  DemoMessageList messages_;
};

// The message with every line end made CRLF, ending in CRLF.
std::string WithCrlfLineEnds(const std::string& text);

}  // namespace larkspin::demo
