#include "mime/mail_address.h"

#include "common/string_tools.h"

namespace larkspin {

namespace {
constexpr std::string_view kBlanks = " \t\r\n";

bool IsBlank(char c) { return kBlanks.find(c) != std::string_view::npos; }

// Appends c to text, a run of blanks as one blank.
void AppendCollapsed(std::string& text, char c) {
  if (!IsBlank(c)) {
    text += c;
  } else if (!text.empty() && text.back() != ' ') {
    text += ' ';
  }
}

std::string WithoutBlanks(std::string_view text) {
  std::string kept;
  for (const char c : text)
    if (!IsBlank(c)) kept += c;
  return kept;
}

// One entry of the list as it is read.
struct Entry {
  std::string phrase;        // the words outside quotes, comments and "<>", quotes removed
  std::string raw;           // the same without blanks outside quotes, quotes kept: a bare address
  std::string angle;         // between "<" and ">"
  std::string comment;       // the first comment's text
  bool has_angle = false;
};

class CAddressReader {
 public:
  explicit CAddressReader(std::string_view value) : value_(value) {}

  std::vector<MailAddress> Read() {
    for (at_ = 0; at_ < value_.size(); ++at_) ReadByte(value_[at_]);
    EndEntry();
    return addresses_;
  }

 private:
  void ReadByte(char c) {
    switch (c) {
      case '"': ReadQuoted(); break;
      case '(': ReadComment(); break;
      case '<': ReadAngle(); break;
      case ',': EndEntry(); break;
      case ';': EndEntry(); break;
      case ':':  // a group's name: its members follow
        if (!entry_.has_angle) entry_ = {};
        break;
      default:
        AppendCollapsed(entry_.phrase, c);
        if (!IsBlank(c)) entry_.raw += c;
    }
  }

  // The text up to the closing quote; a backslash quotes the byte after it.
  void ReadQuoted() {
    entry_.raw += '"';
    for (++at_; at_ < value_.size() && value_[at_] != '"'; ++at_) {
      if (value_[at_] == '\\' && at_ + 1 < value_.size()) entry_.raw += value_[at_++];
      AppendCollapsed(entry_.phrase, value_[at_]);
      entry_.raw += value_[at_];
    }
    entry_.raw += '"';
  }

  // A comment, nested ones within it; its text is kept when it is the entry's first.
  void ReadComment() {
    std::string text;
    int depth = 1;
    for (++at_; at_ < value_.size(); ++at_) {
      const char c = value_[at_];
      if (c == '\\' && at_ + 1 < value_.size()) {
        AppendCollapsed(text, value_[++at_]);
        continue;
      }
      if (c == '(') ++depth;
      if (c == ')' && --depth == 0) break;
      AppendCollapsed(text, c);
    }
    if (entry_.comment.empty()) entry_.comment = std::string(Trimmed(text, " "));
  }

  void ReadAngle() {
    const size_t end = value_.find('>', at_);
    std::string_view inside = value_.substr(at_ + 1, end == std::string_view::npos ? end : end - at_ - 1);
    if (inside.starts_with('@') && inside.find(':') != std::string_view::npos) inside.remove_prefix(inside.find(':') + 1);
    entry_.angle = WithoutBlanks(inside);
    entry_.has_angle = true;
    at_ = end == std::string_view::npos ? value_.size() : end;
  }

  void EndEntry() {
    MailAddress address;
    const std::string phrase(Trimmed(entry_.phrase, " "));
    if (entry_.has_angle) {
      address = {entry_.angle, phrase};
    } else {
      address = {entry_.raw, entry_.comment};
    }
    if (!address.address.empty() || !address.display_name.empty()) addresses_.push_back(address);
    entry_ = {};
  }

  std::string_view value_;
  size_t at_ = 0;
  Entry entry_;
  std::vector<MailAddress> addresses_;
};
}  // namespace

std::vector<MailAddress> ParseAddressList(std::string_view value) { return CAddressReader(value).Read(); }

}  // namespace larkspin
