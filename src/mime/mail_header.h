#pragma once
// A received message header as RFC 5322 writes it: fields "Name: value", the name made of
// printable bytes other than blank and ":" and matched ignoring case, the value folded over the
// lines that follow it when they begin with a blank or tab. Lines end with CRLF; a line that is
// neither a field nor a continuation is passed over. The caller hands in the header alone (the
// text before the first empty line).
//
// A value is read unfolded: every CRLF removed, every tab a blank, blanks at both ends trimmed.
// A name that occurs more than once is found at its first occurrence, or at all of them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace larkspin {

// The length of the name of a "Name:" line, or npos for any other line. The line may run on
// past its end: the name stops at the first byte that is not a name byte.
size_t HeaderFieldNameLength(std::string_view line);

// The unfolded value of the first field called name, or empty; read in place.
std::string HeaderFieldValue(std::string_view header, std::string_view name);

// A header read once into its fields, for asking one header many names. Copies keep their fields.
class CMailHeader {
 public:
  CMailHeader() = default;
  explicit CMailHeader(std::string header);

  const std::string& Text() const { return text_; }
  // The unfolded value of the first field called name, or empty.
  std::string First(std::string_view name) const;
  // The unfolded values of every field called name, in header order.
  std::vector<std::string> All(std::string_view name) const;
  bool Has(std::string_view name) const;

 private:
  struct Field {
    size_t name_start = 0;
    size_t name_length = 0;
    size_t value_start = 0;  // after the colon
    size_t value_end = 0;    // the line end that ends the field, or the end of the header
  };
  const Field* Find(std::string_view name, size_t from) const;
  std::string ValueOf(const Field& field) const;

  std::string text_;
  std::vector<Field> fields_;
};

}  // namespace larkspin
