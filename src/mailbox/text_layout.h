#pragma once
// Plain text laid out from the pieces of a rendered document: runs of white space collapse to one
// blank (except in preformatted text), blocks start on a line of their own and paragraphs after
// an empty line, and breaks never pile up: no empty line at the start or the end, never two empty
// lines in a row outside preformatted text, no collapsed blank at either end of a line. Lines end
// with CR LF.
#include <algorithm>
#include <string>
#include <string_view>

namespace larkspin {

class CTextLayout {
 public:
  // Text whose white space (blank, tab, CR, LF, form feed) collapses; U+00A0 (no-break space) is
  // a blank that does not collapse, shown only before later text on its line.
  void AddText(std::string_view utf8);
  // Text kept as it is, its line ends (CR LF, CR, LF) made CR LF; none at the very start.
  void AddPreformatted(std::string_view utf8);
  // The next text starts a new line.
  void BreakLine();
  // The next text starts after an empty line.
  void BreakParagraph();
  // A forced line end (<br>): one more line end than there is, up to one empty line.
  void AddLineEnd();

  // The text laid out so far, without line ends or blanks at its end.
  std::string Text() const;
  // The length laid out so far, and what was laid out from a length on.
  size_t Length() const { return text_.size(); }
  std::string_view Since(size_t length) const { return std::string_view(text_).substr(std::min(length, text_.size())); }

 private:
  void Flush();
  void Append(char c);

  std::string text_;
  int line_ends_wanted_ = 0;  // line ends the text must end with before the next character
  int trailing_line_ends_ = 0;
  size_t blanks_ = 0;  // blanks waiting before the next character on this line
};

}  // namespace larkspin
