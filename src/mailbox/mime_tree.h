#pragma once
// A downloaded message read as a MIME tree: its leaves in order, each with its body decoded, and
// which of them are the message's plain and HTML text.
//
// The project's own walker over src/mime/ rather than GMime: it gives the exact bytes of each
// part as received (which a message/rfc822 attachment must keep), reuses the project's fuzzed
// codecs, and keeps GLib out of the engine.
//
// Parts are split as Python's email package splits them: a delimiter line is "--" and the boundary
// (the close delimiter with "--" after it) followed only by blanks and tabs; the line end before a
// delimiter belongs to it; a delimiter of any enclosing multipart ends a part too; the preamble and
// the epilogue are no leaves; lines right after a delimiter that are delimiters of the same
// boundary start no parts; a part running to the end of the text (no close delimiter) ends there.
// Every input may be hostile: nesting, the number of leaves and header field sizes are limited,
// and what lies past a limit is kept, undecoded, in a leaf of its own and named in problems.
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

inline constexpr size_t kMaxMimeNesting = 32;     // multiparts inside each other that are split
inline constexpr size_t kMaxMimeLeaves = 10'000;  // leaves before the rest is kept whole

struct MimeLeaf {
  // Lower-case "type/subtype": text/plain when absent (message/rfc822 directly inside a
  // multipart/digest), and text/plain when the value is not "type/subtype".
  std::string content_type;
  std::string charset;    // the Content-Type's charset parameter as written; empty when none
  // The Content-Disposition filename, else the Content-Type name, in any RFC 2231 or RFC 2047
  // form, as UTF-8; empty when there is none. Not made safe for a file system.
  std::string file_name;
  bool is_attachment = false;  // the Content-Disposition is "attachment"
  int position = 0;            // 1-based, in the order of the message
  // The body as received, a view into the message read (which must outlive the leaf), and how
  // it is encoded: its Content-Transfer-Encoding, empty for a body kept as received (message/rfc822,
  // and what lies past a limit). LeafBytes decodes it (mailbox/transfer_decoding.h).
  std::string_view body;
  std::string transfer_encoding;
};

struct MimeMessage {
  std::vector<MimeLeaf> leaves;
  int plain_text = -1;  // index of the text/plain leaf Python's get_body(('plain',)) returns, else -1
  int html_text = -1;   // the same for ('html',)
  // One line for each kind of trouble met (each once), for the log: nesting or leaves past their
  // limit, a header field cut, a multipart that could not be split.
  std::vector<std::string> problems;
};

// Reads a whole message: header block, an empty line, the body, with CR LF line ends (lone LF and
// CR end lines too). Never fails:
// - a single-part message is one leaf of its whole body;
// - a multipart without a boundary parameter, or whose boundary has no delimiter line before its
//   end, is one text/plain leaf of its body (line end before the next delimiter included, as
//   Python keeps it), decoded by its own transfer encoding;
// - a close delimiter before any part makes the multipart one such leaf of its whole body (Python
//   keeps only the preamble and drops the rest; nothing is dropped here);
// - a multipart nested deeper than kMaxMimeNesting levels is one leaf of its body as received,
//   with its own content type;
// - once kMaxMimeLeaves leaves exist, the rest of each open multipart (from its next delimiter
//   line to its end) is one leaf as received with the multipart's content type, so there are at
//   most kMaxMimeLeaves + kMaxMimeNesting leaves.
// The leaves' bodies together never exceed the message's size. The leaves point into message.
MimeMessage ReadMimeTree(std::string_view message);
// A temporary text would leave the leaves pointing nowhere.
MimeMessage ReadMimeTree(std::string&& message) = delete;

// The leaf's bytes: its body with its transfer encoding undone; as received for message/rfc822.
std::string LeafBytes(const MimeLeaf& leaf);

}  // namespace larkspin
