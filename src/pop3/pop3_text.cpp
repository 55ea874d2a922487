#include "pop3/pop3_text.h"

#include "mime/mail_header.h"

namespace larkspin {

namespace {
constexpr const char* kEmptyLine = "\r\n\r\n";
}  // namespace

std::string_view CPop3Text::HeaderText() const { return std::string_view(text_).substr(0, text_.find(kEmptyLine)); }

std::string CPop3Text::BodyText() const {
  const size_t at = text_.find(kEmptyLine);
  return at == std::string::npos ? std::string() : text_.substr(at + 4);
}

std::string CPop3Text::HeaderField(std::string_view name) const { return HeaderFieldValue(HeaderText(), name); }

void CPop3Text::RestoreFinalLineEnd() {
  if (!text_.empty()) text_ += "\r\n";
}

}  // namespace larkspin
