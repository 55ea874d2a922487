#include "ui/wx/wx_text.h"

#include "common/windows_1252.h"

namespace larkspin {

wxString ToWx(const std::string& bytes) { return wxString::FromUTF8(AsUtf8(bytes)); }

wxString ToWx(const std::string& bytes, TextEncoding encoding) {
  return wxString::FromUTF8(TextAsUtf8(bytes, encoding));
}

std::string FromWx(const wxString& text) { return TypedTextToAnsi(PathFromWx(text)); }

std::string FromWx(const wxString& text, TextEncoding encoding) {
  return encoding == TextEncoding::kUtf8 ? PathFromWx(text) : FromWx(text);
}

std::string PathFromWx(const wxString& path) {
  const wxScopedCharBuffer utf8 = path.utf8_str();
  return std::string(utf8.data(), utf8.length());
}

}  // namespace larkspin
