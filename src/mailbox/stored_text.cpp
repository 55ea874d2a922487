#include "mailbox/stored_text.h"

#include <algorithm>

#include "common/string_tools.h"
#include "mailbox/html_text.h"

namespace larkspin {

namespace {
// Where a text cut at every occurrence of a separator (left to right, case-sensitive) has its
// occurrences: the first two and the last two, and how many there are.
struct Occurrences {
  size_t count = 0;
  size_t first[2] = {};
  size_t last[2] = {};  // last[1] is the last occurrence, last[0] the one before it
};

Occurrences FindOccurrences(std::string_view text, std::string_view separator) {
  Occurrences found;
  for (size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, at + separator.size())) {
    if (found.count < 2) found.first[found.count] = at;
    found.last[0] = found.last[1];
    found.last[1] = at;
    ++found.count;
  }
  return found;
}

// Field n of the cut text: the piece after the n-th occurrence up to the next one or the end.
// Only the fields the choice needs are reachable: 1 and 2 from the front, and the one between
// the last two occurrences (field 0 when there is only one).
std::string_view FieldOne(std::string_view text, std::string_view separator, const Occurrences& found) {
  const size_t start = found.first[0] + separator.size();
  const size_t end = found.count >= 2 ? found.first[1] : text.size();
  return text.substr(start, end - start);
}

std::string_view FieldBeforeLast(std::string_view text, std::string_view separator, const Occurrences& found) {
  if (found.count == 1) return text.substr(0, found.last[1]);
  const size_t start = found.last[0] + separator.size();
  return text.substr(start, found.last[1] - start);
}

std::string_view FirstPart(std::string_view body, std::string_view boundary) {
  const Occurrences found = FindOccurrences(body, boundary);
  return found.count == 0 ? body : FieldOne(body, boundary, found);
}

std::string_view ShorterOfFirstAndLastPart(std::string_view body, std::string_view boundary) {
  const Occurrences found = FindOccurrences(body, boundary);
  if (found.count == 0) return body;
  const std::string_view first = FieldOne(body, boundary, found);
  const std::string_view last = FieldBeforeLast(body, boundary, found);
  return first.size() < last.size() ? first : last;
}

// A part that is itself multipart: its first sub-part, which is field 2 when the part is cut at
// its own boundary (the first occurrence is the boundary parameter itself).
std::string_view FirstNestedPart(std::string_view part) {
  const std::string nested = QuotedBoundary(part);
  if (nested.empty()) return part;
  const Occurrences found = FindOccurrences(part, nested);
  if (found.count < 2) return part;
  const size_t start = found.first[1] + nested.size();
  const size_t next = part.find(nested, start);
  return part.substr(start, (next == std::string_view::npos ? part.size() : next) - start);
}
}  // namespace

std::string QuotedBoundary(std::string_view text) {
  std::string boundary = Between(text, "Boundary=\"", "\"");
  if (boundary.empty()) boundary = Between(text, "boundary=\"", "\"");
  return boundary;
}

StoredTextChoice ChooseStoredText(std::string_view content_type, std::string_view body) {
  StoredTextChoice choice;
  choice.boundary = QuotedBoundary(content_type);
  const std::string type = LowercaseAscii(content_type);
  if (type.find("text/html") != std::string::npos) {
    choice.kind = BodyKind::kHtml;
    choice.text = StripHtml(body);
  } else if (type.find("multipart/alternative") != std::string::npos) {
    choice.kind = BodyKind::kAlternative;
    choice.text = choice.boundary.empty() ? body : FirstPart(body, choice.boundary);
  } else if (type.find("multipart/mixed") != std::string::npos) {
    choice.kind = BodyKind::kMixed;
    choice.text = choice.boundary.empty() ? body : FirstNestedPart(ShorterOfFirstAndLastPart(body, choice.boundary));
    choice.split_attachments = !choice.boundary.empty();
  } else {
    choice.text = body;
  }
  return choice;
}

}  // namespace larkspin
