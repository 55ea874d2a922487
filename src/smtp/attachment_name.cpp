#include "smtp/attachment_name.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/format.h"
#include "common/windows_1252.h"
#include "mime/header_word.h"

namespace larkspin {

namespace {
// " filename=\"...\"" on a line of its own stays within 78 characters.
constexpr size_t kLongestPlainName = 60;
// The percent-encoded bytes of one filename* piece.
constexpr size_t kPieceLength = 50;

bool IsPlainName(std::string_view name) {
  return name.size() <= kLongestPlainName && std::ranges::all_of(name, [](char c) {
           return c >= 0x20 && c <= 0x7E && c != '"' && c != '\\';
         });
}

// A MIME token: no blank, control or special character, so it needs no quotes.
bool IsToken(std::string_view name) {
  return !name.empty() && std::ranges::all_of(name, [](char c) {
    return c > 0x20 && c <= 0x7E && std::strchr("()<>@,;:\\\"/[]?=", c) == nullptr;
  });
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

bool IsAttributeChar(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         std::strchr("!#$&+-.^_`|~", c) != nullptr;
}

// The UTF-8 name percent-encoded in pieces of at most kPieceLength, each of whole characters.
std::vector<std::string> EncodedPieces(const std::string& utf8) {
  std::vector<std::string> pieces(1);
  for (size_t start = 0; start < utf8.size();) {
    size_t end = start + 1;
    while (end < utf8.size() && IsUtf8Continuation(static_cast<unsigned char>(utf8[end]))) ++end;
    std::string character;
    for (size_t i = start; i < end; ++i) {
      const auto c = static_cast<unsigned char>(utf8[i]);
      character += IsAttributeChar(c) ? std::string(1, static_cast<char>(c)) : FormatText("%%%02X", c);
    }
    if (!pieces.back().empty() && pieces.back().size() + character.size() > kPieceLength) pieces.emplace_back();
    pieces.back() += character;
    start = end;
  }
  return pieces;
}
}  // namespace

std::string NameParameter(std::string_view name) {
  if (IsPlainName(name)) return "name=" + (IsToken(name) ? std::string(name) : Quoted(name));
  return "name=" + Quoted(EncodeHeaderText(AsUtf8(name), "utf-8", TextEncoding::kUtf8));
}

std::string FilenameParameters(std::string_view name) {
  if (IsPlainName(name)) return "filename=" + Quoted(name);
  const std::vector<std::string> pieces = EncodedPieces(AsUtf8(name));
  if (pieces.size() == 1) return "filename*=UTF-8''" + pieces[0];
  std::string parameters;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) parameters += "; ";
    parameters += FormatText("filename*%zu*=", i) + (i == 0 ? "UTF-8''" : "") + pieces[i];
  }
  return parameters;
}

}  // namespace larkspin
