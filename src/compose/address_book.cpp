#include "compose/address_book.h"

#include <algorithm>
#include <cstdio>

#include "common/windows_1252.h"
#include "platform/file_system.h"

namespace larkspin {

namespace {
// A line is read in pieces of this many characters at most (a 100-byte buffer with its zero).
constexpr size_t kPieceLength = 99;

// The file's text with CR LF read as LF, as a text-mode stream gives it.
bool ReadAsText(const std::string& path, std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  for (int c; (c = std::fgetc(file)) != EOF;) {
    if (c == '\n' && !text.empty() && text.back() == '\r') {
      text.back() = '\n';
    } else {
      text += static_cast<char>(c);
    }
  }
  std::fclose(file);
  return true;
}

// The pieces a line reader of kPieceLength characters returns: up to and including a line feed,
// or kPieceLength characters, or what is left at the end.
std::vector<std::string> LinePieces(const std::string& text) {
  std::vector<std::string> pieces;
  for (size_t start = 0; start < text.size();) {
    const size_t line_feed = text.find('\n', start);
    const size_t line_end = line_feed == std::string::npos ? text.size() : line_feed + 1;
    const size_t end = std::min(line_end, start + kPieceLength);
    pieces.push_back(text.substr(start, end - start));
    start = end;
  }
  return pieces;
}
}  // namespace

bool ReadAddressBook(const std::string& path, std::vector<std::string>& entries, TextEncoding encoding) {
  entries.clear();
  std::string text;
  if (!ReadAsText(path, text)) return false;
  for (std::string piece : LinePieces(text)) {
    piece.pop_back();
    if (piece.find('@') == std::string::npos) continue;
    std::replace(piece.begin(), piece.end(), '*', '\t');
    entries.push_back(encoding == TextEncoding::kUtf8 ? AsUtf8(piece) : piece);
  }
  std::sort(entries.begin(), entries.end());  // std::string compares its bytes as unsigned char
  return true;
}

std::string AddressOfEntry(const std::string& entry) {
  const size_t tab = entry.find('\t');
  return tab == std::string::npos ? entry : entry.substr(tab + 1);
}

std::string AppendAddress(const std::string& field, const std::string& address) {
  return field.empty() ? address : field + "; " + address;
}

bool AppendToAddressBook(const std::string& path, const std::string& line) {
  std::FILE* file = OpenPrivateFile(path, "ab");
  if (file == nullptr) return false;
  const std::string content = line + "\r\n";
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace larkspin
