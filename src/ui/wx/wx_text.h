#pragma once
// Where the program's bytes meet the toolkit's strings: bytes that are valid UTF-8 are shown as
// they are, anything else is read as Windows-1252; typed text goes back as Windows-1252.
#include <string>

#include <wx/string.h>

namespace larkspin {

wxString ToWx(const std::string& bytes);
std::string FromWx(const wxString& text);
// File system paths keep the system's own encoding.
std::string PathFromWx(const wxString& path);

}  // namespace larkspin
