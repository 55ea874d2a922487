#pragma once
// One message or message header as received from the server (without its status line and
// without the terminating line), and the header fields in it.
#include <string>
#include <string_view>

namespace larkspin {

class CPop3Text {
 public:
  void SetText(std::string text) { text_ = std::move(text); }
  const std::string& Text() const { return text_; }
  // Gives a text that is not empty back the line end of its last line, which the reply's
  // terminating line ("\r\n.\r\n") took with it, so it holds the message's bytes as sent.
  void RestoreFinalLineEnd();

  // The text up to the first empty line ("\r\n\r\n"), or the whole text.
  std::string_view HeaderText() const;
  // The text after the first empty line, or empty.
  std::string BodyText() const;
  // The unfolded value of the first header field with that name (case ignored), or empty
  // (mime/mail_header.h).
  std::string HeaderField(std::string_view name) const;

 private:
  std::string text_;
};

}  // namespace larkspin
