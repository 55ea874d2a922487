#pragma once
// Reading a message as the lines of its MIME parts. A line ends with CR LF, a lone LF or a lone
// CR and includes its line end. A part ends where a delimiter line of any multipart around it
// begins ("--" and the boundary, or the close delimiter with "--" after it, followed only by
// blanks and tabs), or at the end of the text: the same reading as Python's email package.
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

enum class DelimiterKind { kNone, kOpen, kClose };

// The kind of delimiter line of boundary that line is (line end included or not).
DelimiterKind DelimiterOf(std::string_view line, std::string_view boundary);

// The length of the line end at the end of text (CR LF, CR or LF), 0 when it has none.
size_t TrailingLineEnd(std::string_view text);

class CMimeLineCursor {
 public:
  explicit CMimeLineCursor(std::string_view text) : text_(text) {}

  std::string_view Text() const { return text_; }
  size_t Position() const { return at_; }
  // The line at the cursor with its line end; empty at the end of the text.
  std::string_view Line() const;
  void Advance() { at_ += Line().size(); }

  // True at the end of the text or on a delimiter line of a boundary in the stack.
  bool AtPartEnd() const;
  // Moves to the end of the current part and returns what lies between.
  std::string_view SkipToPartEnd();

  // The boundaries of the multiparts whose parts are being read, innermost last.
  void PushBoundary(std::string boundary) { boundaries_.push_back(std::move(boundary)); }
  void PopBoundary() { boundaries_.pop_back(); }
  size_t Nesting() const { return boundaries_.size(); }

 private:
  std::string_view text_;
  size_t at_ = 0;
  std::vector<std::string> boundaries_;
};

}  // namespace larkspin
