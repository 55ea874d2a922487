#pragma once
// Where the program's bytes meet the toolkit's strings: bytes that are valid UTF-8 are shown as
// they are, anything else is read as Windows-1252; typed text goes back as Windows-1252.
#include <string>

#include <wx/string.h>

#include "common/text_encoding.h"

namespace larkspin {

wxString ToWx(const std::string& bytes);
// Bytes whose encoding is known: UTF-8 ones are shown as UTF-8, Classic ones as ToWx reads them.
wxString ToWx(const std::string& bytes, TextEncoding encoding);
std::string FromWx(const wxString& text);
// Typed text in encoding: Windows-1252 bytes for Classic (as FromWx), UTF-8 for UTF-8.
std::string FromWx(const wxString& text, TextEncoding encoding);
// File system paths keep the system's own encoding.
std::string PathFromWx(const wxString& path);

}  // namespace larkspin
