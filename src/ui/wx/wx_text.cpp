#include "ui/wx/wx_text.h"

#include "common/windows_1252.h"

namespace larkspin {

wxString ToWx(const std::string& bytes) {
  return wxString::FromUTF8(IsValidUtf8(bytes) ? bytes : AnsiToUtf8(bytes));
}

std::string FromWx(const wxString& text) { return TypedTextToAnsi(PathFromWx(text)); }

std::string PathFromWx(const wxString& path) {
  const wxScopedCharBuffer utf8 = path.utf8_str();
  return std::string(utf8.data(), utf8.length());
}

}  // namespace larkspin
