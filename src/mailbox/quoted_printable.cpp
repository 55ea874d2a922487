#include "mailbox/quoted_printable.h"

#include <array>
#include <string_view>

#include "common/string_tools.h"

namespace larkspin {

namespace {
struct Escape {
  std::string_view pattern;
  std::string_view replacement;
};

// The order matters: "=3D" comes after the letter rows, so "=3DC4" ends as "=C4".
constexpr std::array<Escape, 36> kEscapes = {{
    {"=C4", "\xC4"}, {"=D6", "\xD6"}, {"=DC", "\xDC"}, {"=E4", "\xE4"}, {"=F6", "\xF6"}, {"=FC", "\xFC"},
    {"=DF", "\xDF"}, {"=E9", "\xE9"}, {"=E1", "\xE1"}, {"=FA", "\xFA"}, {"=ED", "\xED"}, {"=F3", "\xF3"},
    {"=A9", "\xA9"}, {"=AE", "\xAE"}, {"=F1", "\xF1"}, {"=B2", "\xB2"}, {"=B3", "\xB3"}, {"=D0", " "},
    {"=20", " "},    {"=2D", "-"},    {"=2E", "."},    {"=3D", "="},    {"=B4", "'"},    {"=28", "("},
    {"=29", ")"},    {"=3C", "<"},    {"=3E", ">"},    {"=2C", ","},    {"=26", "&"},    {"=3A", ":"},
    {"=2F", "/"},    {"=B7", "\xB7"}, {"=3F", "?"},    {"=0D=0A", "\r\n"}, {"=\r\n", "\r\n"}, {"&nbsp;", " "},
}};
}  // namespace

void DecodeQuotedPrintable(std::string& text) {
  for (const Escape& escape : kEscapes) ReplaceAll(text, escape.pattern, escape.replacement, ReplaceScope::kAll);
}

}  // namespace larkspin
