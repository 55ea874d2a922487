#pragma once
// Which text of a downloaded message is stored: the body with its HTML tags stripped, the first
// part of a multipart/alternative body, the shorter of the first and last part of a
// multipart/mixed body (or the first sub-part of a nested multipart in it), or the body as it is.
// A chosen part keeps its own header lines; nothing is decoded here.
#include <string>
#include <string_view>

namespace larkspin {

enum class BodyKind { kHtml, kAlternative, kMixed, kOther };

struct StoredTextChoice {
  BodyKind kind = BodyKind::kOther;
  std::string boundary;  // from the Content-Type value; empty when none was found
  std::string text;      // the text to store, before quoted-printable decoding
  // A multipart/mixed body with a boundary: its attachments are to be split out.
  bool split_attachments = false;
};

// The boundary parameter as written with double quotes: the text after the first
// "Boundary=\"" up to the next double quote, else the same after "boundary=\"" (both spellings
// matched exactly).
std::string QuotedBoundary(std::string_view text);

// The choice for a body under a Content-Type value (as received; tested ignoring case).
StoredTextChoice ChooseStoredText(std::string_view content_type, std::string_view body);

}  // namespace larkspin
