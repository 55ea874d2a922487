#pragma once
// Reads the rich text that CRtfStream writes (and the common subset around it): font and colour
// tables, \plain, \f, \fs, \cf, \par, the escapes \\ \{ \} and \'hh, nested groups. Rich
// text controls of both backends are fed through it. Text stays in the document's bytes.
#include <string>
#include <string_view>
#include <vector>

#include "ui/geometry.h"

namespace larkspin {

struct RichTextRun {
  std::string text;  // paragraph ends as "\r\n"
  std::string face;
  int half_points = 24;
  Colour colour = Rgb(0, 0, 0);
  bool operator==(const RichTextRun&) const = default;
};

// Runs in document order; neighbouring text with equal attributes shares one run.
std::vector<RichTextRun> ReadRtf(std::string_view rtf);

// The runs' text joined.
std::string PlainTextOf(const std::vector<RichTextRun>& runs);

}  // namespace larkspin
